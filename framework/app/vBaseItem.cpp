#include "framework/app/vBaseItem.h"

#include "framework/app/TextCopy.h"

vBaseItem::vBaseItem(const char* text) : name(copyText(text)), handle(nullptr) {}

vBaseItem::~vBaseItem() {
    delete[] name;
}
