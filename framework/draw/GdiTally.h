// Counts the native drawing objects the framework holds, so that repeated
// drawing can be shown not to grow them (the platform's own count is not
// reported everywhere).
#pragma once

#include <windows.h>

class GdiTally {
  public:
    // Counts a newly created object (nothing for a null handle) and returns it.
    template <class Handle> static Handle made(Handle handle) {
        if (handle) ++live;
        return handle;
    }
    static void deleteObject(HGDIOBJ object);

    static int live;
};
