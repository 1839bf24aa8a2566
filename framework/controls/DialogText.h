// Text widths in dialog units, from a fixed table of character widths, for
// sizing controls before any window exists. Needs no platform.
#pragma once

// Widths of the characters 32 (space) to 126 (~).
extern const unsigned char charWidthTable[95];

// The sum of the characters' widths; characters outside 32..126 count 4.
int dialogTextWidth(const char* text);
// The number of characters that are not the mnemonic marker '&'.
int visibleLength(const char* text);
