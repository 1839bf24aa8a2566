// The layout of a contact sheet: rendered poses in a grid, each with its
// name on a strip below it, and the POV-Ray scene that puts the tiles
// together with their labels.
#pragma once

#include <string>
#include <vector>

class ContactSheet {
  public:
    // `count` tiles of `tileWidth` x `tileHeight` pixels.
    ContactSheet(int count, int tileWidth, int tileHeight);

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    int width() const { return columns_ * tileWidth_; }
    int height() const { return rows_ * (tileHeight_ + labelHeight_); }

    // The scene showing the images "tile-0.png", "tile-1.png", ... of the
    // current folder with `labels` under them.
    std::string scene(const std::vector<std::string>& labels) const;

    // A name as a POV-Ray string can show it in the width of one tile.
    std::string label(const std::string& name) const;

  private:
    int count_;
    int tileWidth_;
    int tileHeight_;
    int labelHeight_;
    int columns_;
    int rows_;
};
