// The record registered with each application window.
#pragma once

class vAppWinInfo {
  public:
    vAppWinInfo(const char* name, int data);
    virtual ~vAppWinInfo();
    vAppWinInfo(const vAppWinInfo&) = delete;
    vAppWinInfo& operator=(const vAppWinInfo&) = delete;

    virtual const char* infoName() { return name; }
    virtual int infoData() { return data; }

  private:
    char* name;
    int data;
};
