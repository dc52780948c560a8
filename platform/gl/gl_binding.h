#pragma once
// Bindings hold a reference on the bound object, so nothing released is ever drawn from.

#include "platform/d3d9.h"

namespace platform {

// Points `slot` at `object`, holding a reference on it as Direct3D does for bound objects.
template <class T>
void holdBinding(T*& slot, T* object) {
    if (object != nullptr) object->AddRef();
    if (slot != nullptr) slot->Release();
    slot = object;
}

}  // namespace platform
