#pragma once
// The reference count behind AddRef/Release: a new object holds one reference and is
// deleted when the last one goes.

#include "platform/d3d9.h"

namespace platform {

template <class Interface>
class RefCounted : public Interface {
public:
    ULONG AddRef() override { return ++references_; }

    ULONG Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

private:
    ULONG references_ = 1;
};

}  // namespace platform
