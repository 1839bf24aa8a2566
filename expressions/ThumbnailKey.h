// The name a thumbnail render is cached under. Needs no platform.
#pragma once

#include <string>

// A file name made from the pose file's bytes and the picture's size, such
// as "thumb-0f3a...-96x72.bmp": files with the same bytes share one render
// whatever they are called, and any change of a byte gives a new name.
std::string thumbnailKey(const std::string& fileBytes, int width, int height);
