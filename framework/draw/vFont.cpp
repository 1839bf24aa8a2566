#include "framework/draw/vFont.h"

#include "framework/draw/GdiTally.h"

vFont::vFont(int family, int pointSize, int style, int weight, int underline, int angle)
    : family(family), style(style), weight(weight), pointSize(pointSize), underline(underline),
      angle(angle) {}

vFont::vFont(const vFont& other) {
    copyDescription(other);
}

vFont& vFont::operator=(const vFont& other) {
    if (this == &other) return *this;
    dropNative();
    copyDescription(other);
    return *this;
}

vFont::~vFont() {
    dropNative();
}

void vFont::copyDescription(const vFont& other) {
    family = other.family;
    style = other.style;
    weight = other.weight;
    pointSize = other.pointSize;
    underline = other.underline;
    angle = other.angle;
    textColor = other.textColor;
    logicalFont = other.logicalFont;
}

void vFont::dropNative() {
    if (native && !isStock) GdiTally::deleteObject(native);
    native = nullptr;
    isStock = 0;
}

HFONT vFont::createNamed(HDC device, int forPrinter, const char* face, int pitchAndFamily,
                         int characterSet) {
    int cellHeight =
        forPrinter ? pointSize * 12 / 10 : GetDeviceCaps(device, LOGPIXELSY) * pointSize / 72;
    int platformWeight = weight == FontNormal ? FW_NORMAL : weight == FontBold ? FW_BOLD : 0;
    return GdiTally::made(CreateFontA(cellHeight, 0, angle * 10, 0, platformWeight,
                                      style == FontItalic, DWORD(underline != 0), FALSE,
                                      DWORD(characterSet), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                      PROOF_QUALITY, DWORD(pitchAndFamily), face));
}

HFONT vFont::nativeFont(HDC device, int forPrinter) {
    if (native) return native;
    isStock = 0;
    auto stock = [this](int which) {
        isStock = 1;
        return static_cast<HFONT>(GetStockObject(which));
    };
    switch (family) {
    case FontSystem:
        native = forPrinter ? createNamed(device, 1, "Arial", FF_SWISS, ANSI_CHARSET)
                            : stock(SYSTEM_FONT);
        break;
    case FontSerif:
        native = createNamed(device, forPrinter, "Times New Roman", FF_ROMAN, ANSI_CHARSET);
        break;
    case FontSans: native = createNamed(device, forPrinter, "Arial", FF_SWISS, ANSI_CHARSET); break;
    case FontMono:
        native = createNamed(device, forPrinter, "Courier New", FF_MODERN, ANSI_CHARSET);
        break;
    case FontSymbol:
        native = createNamed(device, forPrinter, "Wingdings", FF_DECORATIVE, SYMBOL_CHARSET);
        break;
    case FontDescribed:
        if (forPrinter) logicalFont.lfHeight = pointSize * 12 / 10;
        native = GdiTally::made(CreateFontIndirectA(&logicalFont));
        if (!native) angle = 0;
        break;
    default:
        if (forPrinter) {
            native = createNamed(device, 1, "Courier New", FF_MODERN, ANSI_CHARSET);
        } else {
            native = stock(SYSTEM_FIXED_FONT);
            angle = 0;
        }
        break;
    }
    if (!native) native = stock(SYSTEM_FONT);
    return native;
}
