#include "tools/tavokpose/ContactSheet.h"

#include <algorithm>
#include <cmath>

ContactSheet::ContactSheet(int count, int tileWidth, int tileHeight)
    : count_(count), tileWidth_(tileWidth), tileHeight_(tileHeight),
      labelHeight_(std::max(12, tileHeight / 8)) {
    // Near square: 12 tiles make 4 x 3.
    columns_ = std::max(1, int(std::ceil(std::sqrt(double(count)))));
    rows_ = (count + columns_ - 1) / columns_;
}

std::string ContactSheet::label(const std::string& name) const {
    // The built-in font's letters are about half as wide as they are high.
    double letterWidth = 0.55 * 0.7 * labelHeight_;
    std::size_t fits = std::size_t(std::max(3.0, (tileWidth_ - 4) / letterWidth));
    std::string shown;
    for (unsigned char c : name)
        if ((c & 0xC0) != 0x80) // a mark for each letter beyond the font, not each byte
            shown += (c < 32 || c > 126 || c == '"' || c == '\\') ? '?' : char(c);
    if (shown.size() > fits) shown = shown.substr(0, fits - 2) + "..";
    return shown;
}

std::string ContactSheet::scene(const std::vector<std::string>& labels) const {
    // One unit is one pixel; y runs down the sheet as negative POV-Ray y.
    std::string w = std::to_string(width());
    std::string h = std::to_string(height());
    std::string text = "#version 3.7;\n"
                       "global_settings { assumed_gamma 1.0 }\n"
                       "camera { orthographic location <" +
                       w + "/2, -" + h + "/2, -10> right x*" + w + " up y*" + h + " look_at <" + w +
                       "/2, -" + h +
                       "/2, 0> }\n"
                       "background { rgb 1 }\n"
                       "#declare Flat = finish { ambient 0 emission 1 diffuse 0 };\n";
    for (int i = 0; i < count_ && i < int(labels.size()); ++i) {
        int x = (i % columns_) * tileWidth_;
        int y = (i / columns_) * (tileHeight_ + labelHeight_);
        std::string tile = "tile-" + std::to_string(i) + ".png";
        text += "box { 0, <1, 1, 0.01> pigment { image_map { png \"" + tile +
                "\" once } } finish { Flat } scale <" + std::to_string(tileWidth_) + ", " +
                std::to_string(tileHeight_) + ", 1> translate <" + std::to_string(x) + ", -" +
                std::to_string(y + tileHeight_) + ", 0> }\n";
        text += "text { internal 1 \"" + label(labels[i]) + "\" 0.01, 0 pigment { rgb 0 } " +
                "finish { Flat } scale " + std::to_string(0.7 * labelHeight_) + " translate <" +
                std::to_string(x + 2) + ", -" +
                std::to_string(y + tileHeight_ + 0.8 * labelHeight_) + ", -0.1> }\n";
    }
    return text;
}
