// Reading a WAV file into a clip through the platform: winmm's multimedia
// file calls in the Windows builds (sound/win/), libsndfile natively
// (sound/native/). 8-, 16- and 24-bit integer and 32- and 64-bit float
// samples, one or two channels, 8 to 48 kHz.
#pragma once

#include "sound/SoundClip.h"

#include <new>
#include <stdexcept>
#include <string>

class SoundFileReader {
  public:
#ifdef _WIN32
    using Path = std::wstring;
#else
    using Path = std::string;
#endif

    // The whole file into `clip`; false, leaving `clip` alone, when the file
    // cannot be read, is not such a sound or holds less than its header
    // says. error() then says why.
    bool read(const Path& path, SoundClip& clip) {
        // A long sound may not fit in memory, above all in the 32-bit program.
        try {
            return readFile(path, clip);
        } catch (const std::bad_alloc&) {
            return fail("too long to hold in memory");
        } catch (const std::length_error&) {
            return fail("too long to hold in memory");
        }
    }
    const std::string& error() const {
        return error_;
    }

  private:
    bool readFile(const Path& path, SoundClip& clip);
    bool fail(const std::string& why);

    std::string error_;
};
