#include "framework/app/vAppWinInfo.h"

#include "framework/app/TextCopy.h"

vAppWinInfo::vAppWinInfo(const char* name, int data) : name_(copyText(name)), data_(data) {}

vAppWinInfo::~vAppWinInfo() {
    delete[] name_;
}
