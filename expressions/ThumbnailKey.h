// The name a thumbnail render is cached under. Needs no platform.
#pragma once

#include <cstdint>
#include <string>

// A hash of a pose file's bytes (64-bit FNV-1a): cheap, and collisions
// among a few hundred files are vanishingly unlikely.
std::uint64_t bytesHash(const std::string& bytes);

// A file name made from the hash of the pose file's bytes and the picture's
// size, such as "thumb-0f3a...-96x72.bmp": files with the same bytes share
// one render whatever they are called, and any change of a byte gives a new
// name.
std::string thumbnailKey(std::uint64_t bytesHash, int width, int height);
