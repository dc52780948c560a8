#pragma once
// Reference counting for the OpenGL Direct3D objects: a new object holds one reference and is
// deleted when the last one goes.

#include "platform/d3d9.h"

namespace platform {

template <class Interface>
class GLRefCounted : public Interface {
public:
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

private:
    ULONG refs_ = 1;
};

// Points `slot` at `object`, holding a reference on it as Direct3D does for bound objects.
template <class T>
void holdBinding(T*& slot, T* object) {
    if (object != nullptr) object->AddRef();
    if (slot != nullptr) slot->Release();
    slot = object;
}

}  // namespace platform
