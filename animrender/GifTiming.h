// The timing blocks of a GIF file: each image's delay in its graphic
// control extension, and the NETSCAPE2.0 application block that makes it
// loop. The platform's GIF encoder may write the images without them (Wine's
// metadata writers refuse both), so they are set on the finished bytes.
// Needs no platform.
#pragma once

#include <string>
#include <vector>

struct GifTiming {
    std::vector<int> delays; // hundredths of a second, one per image
    bool loops = false;      // a NETSCAPE2.0 block asking for endless loops
};

// Reads the timing of the GIF `bytes`; false when they are no whole GIF.
bool readGifTiming(const std::string& bytes, GifTiming& timing);

// Gives image i the delay delays[i] (a graphic control extension before it
// when it has none) and adds the endless-loop block after the header when
// there is none; false, leaving `bytes` alone, when they are no whole GIF
// or the number of images is not the number of delays.
bool setGifTiming(std::string& bytes, const std::vector<int>& delays);
