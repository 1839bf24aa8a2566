// The framework's key codes and shift bits. Needs no platform.
#pragma once

enum FrameworkKey {
    KeyShiftTab = 0xFF09,
    KeyHome = 0xFF50,
    KeyLeft = 0xFF51,
    KeyUp = 0xFF52,
    KeyRight = 0xFF53,
    KeyDown = 0xFF54,
    KeyPageUp = 0xFF55,
    KeyPageDown = 0xFF56,
    KeyEnd = 0xFF57,
    KeyInsert = 0xFF58,
    KeyDelete = 0x7F,
    KeyF1 = 0xFFC1,
    KeyF16 = 0xFFD0
};

// RepeatKeyBit: the key was down already, the platform repeats it; menu
// accelerators never see it.
enum ShiftBits { ShiftKeyBit = 1, ControlKeyBit = 4, RepeatKeyBit = 8 };

// The framework code of a platform virtual key, or 0 for a key it drops.
int frameworkKey(int virtualKey);

// Non-zero when a key-down of this platform virtual key becomes a key event;
// the keys of characters (letters, digits, Return, Tab, ...) come back as
// characters instead.
int isKeyDownDelivered(int virtualKey);

// Applies the rules shared by all keys: Tab with Shift becomes KeyShiftTab;
// control characters keep only the Shift bit.
void adjustKeyShift(int& key, int& shift);
