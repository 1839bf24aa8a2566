// A native drawing object made on demand and kept until its description
// changes: the cache of vPen and vBrush.
#pragma once

#include "framework/draw/GdiTally.h"

template <class Handle> class CachedHandle {
  public:
    CachedHandle() = default;
    // A copy never shares the native object; assignment drops its own.
    CachedHandle(const CachedHandle&) {}
    CachedHandle& operator=(const CachedHandle& other) {
        if (this != &other) drop();
        return *this;
    }
    ~CachedHandle() { drop(); }

    // The native object, made by `make` first if there is none.
    template <class Make> Handle get(Make make) {
        if (!handle) handle = GdiTally::made(make());
        return handle;
    }
    void drop() {
        GdiTally::deleteObject(handle);
        handle = nullptr;
    }
    bool exists() const { return handle != nullptr; }
    operator Handle() const { return handle; }

  private:
    Handle handle = nullptr;
};
