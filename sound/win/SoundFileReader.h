// Reading a WAV file into a clip through winmm's multimedia file calls:
// 8-, 16- and 24-bit and float samples, one or two channels, 8 to 48 kHz.
// Windows builds only.
#pragma once

#include "sound/SoundClip.h"

#include <string>

class SoundFileReader {
  public:
    // The whole file into `clip`; false, leaving `clip` alone, when the file
    // cannot be read, is not such a sound or holds less than its header
    // says. error() then says why, in the native reader's words.
    bool read(const std::wstring& path, SoundClip& clip);
    const std::string& error() const { return error_; }

  private:
    bool fail(const std::string& why);

    std::string error_;
};
