// A font description, with its native font made on demand for a device.
#pragma once

#include <cstdint>
#include <windows.h>

// Families: 0, 1 and codes above 7 are fixed pitch; 7 takes `logicalFont`.
enum FontFamily {
    FontFixed = 0,
    FontSystem = 2,
    FontSerif = 3,
    FontSans = 4,
    FontMono = 5,
    FontSymbol = 6,
    FontDescribed = 7
};
enum FontStyle { FontNormal = 8, FontBold = 9, FontItalic = 10 };

class vFont {
  public:
    vFont(int family = FontFixed, int pointSize = 10, int style = FontNormal,
          int weight = FontNormal, int underline = 0, int angle = 0);
    // Copies describe the same font; each makes its own native font.
    vFont(const vFont& other);
    vFont& operator=(const vFont& other);
    ~vFont();

    // Creates the native font for `device` unless there is one; a printer
    // sizes it from the point size alone.
    HFONT nativeFont(HDC device, int forPrinter);

    int family;
    int style;
    int weight;
    int pointSize;
    int underline;
    int angle;
    int isStock = 0;        // the native font is shared and never deleted
    uint32_t textColor = 0; // 0: text takes the pen's colour
    HFONT native = nullptr;
    LOGFONTA logicalFont = {};

  private:
    void copyDescription(const vFont& other);
    void dropNative();
    HFONT createNamed(HDC device, int forPrinter, const char* face, int pitchAndFamily,
                      int characterSet);
};
