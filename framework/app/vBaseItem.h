// A named item: the root of the framework's windows and of the application.
#pragma once

class vBaseItem {
  public:
    explicit vBaseItem(const char* name);
    virtual ~vBaseItem();
    vBaseItem(const vBaseItem&) = delete;
    vBaseItem& operator=(const vBaseItem&) = delete;

    char* name;   // owned copy
    void* handle; // a platform handle; cleared when a window closes
    int flags = 0;
};
