#include "framework/app/vAppWinInfo.h"

#include "framework/app/TextCopy.h"

vAppWinInfo::vAppWinInfo(const char* name, int data) : name(copyText(name)), data(data) {}

vAppWinInfo::~vAppWinInfo() {
    delete[] name;
}
