#include "framework/app/KeyCodes.h"

namespace {

struct KeyMapping {
    int virtualKey;
    int key;
};

// Platform virtual key codes (Home 0x24 ... F16 0x7F) and their framework codes.
const KeyMapping keyTable[] = {
    {0x24, KeyHome},   {0x25, KeyLeft},     {0x26, KeyUp},  {0x27, KeyRight},  {0x28, KeyDown},
    {0x21, KeyPageUp}, {0x22, KeyPageDown}, {0x23, KeyEnd}, {0x2D, KeyInsert}, {0x2E, KeyDelete},
    {0x70, 0xFFC1},    {0x71, 0xFFC2},      {0x72, 0xFFC3}, {0x73, 0xFFC4},    {0x74, 0xFFC5},
    {0x75, 0xFFC6},    {0x76, 0xFFC7},      {0x77, 0xFFC8}, {0x78, 0xFFC9},    {0x79, 0xFFCA},
    {0x7A, 0xFFCB},    {0x7B, 0xFFCC},      {0x7C, 0xFFCD}, {0x7D, 0xFFCE},    {0x7E, 0xFFCF},
    {0x7F, 0xFFD0},
};

} // namespace

int frameworkKey(int virtualKey) {
    for (const KeyMapping& mapping : keyTable)
        if (mapping.virtualKey == virtualKey) return mapping.key;
    return 0;
}

int isKeyDownDelivered(int virtualKey) {
    // F1 to F16.
    if (virtualKey >= 0x70 && virtualKey <= 0x7F) return 1;
    // Digits, letters and the rest above '/' come back as characters.
    if (virtualKey > 0x2F) return 0;
    switch (virtualKey) {
    case 0x03:           // Break
    case 0x08:           // Backspace
    case 0x09:           // Tab
    case 0x0D:           // Return
    case 0x10:           // Shift
    case 0x11:           // Control
    case 0x1B:           // Escape
    case 0x20: return 0; // Space
    default: return 1;
    }
}

void adjustKeyShift(int& key, int& shift) {
    if (key == 9 && (shift & ShiftKeyBit))
        key = KeyShiftTab;
    else if (key < 32)
        shift &= ShiftKeyBit;
}
