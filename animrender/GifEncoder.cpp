#include "animrender/GifEncoder.h"

#include "animrender/GifTiming.h"
#include "render/ChildStart.h"

#include <cstdio>
#include <windows.h>
#include <wincodec.h>

namespace {

// Holds one COM interface and releases it once.
template <class T> struct Com {
    T* p = nullptr;
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
};

class Encoding {
  public:
    // False, with `error` set, once a step failed; later steps do nothing.
    bool step(HRESULT result, const char* what) {
        if (failed_ || SUCCEEDED(result)) return !failed_;
        char code[16];
        std::snprintf(code, sizeof code, "%08lX", (unsigned long)result);
        error = std::string("cannot ") + what + " (WIC error 0x" + code + ")";
        failed_ = true;
        return false;
    }
    bool failed() const { return failed_; }
    std::string error;

  private:
    bool failed_ = false;
};

bool addFrame(Encoding& encoding, IWICImagingFactory* factory, IWICBitmapEncoder* encoder,
              const std::string& file) {
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> source;
    Com<IWICPalette> palette;
    Com<IWICFormatConverter> converter;
    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> properties;
    UINT width = 0, height = 0;
    WICPixelFormatGUID format = GUID_WICPixelFormat8bppIndexed;
    std::string reading = "read " + file;
    return encoding.step(
               factory->CreateDecoderFromFilename(wideText(file).c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder.p),
               reading.c_str()) &&
           encoding.step(decoder->GetFrame(0, &source.p), reading.c_str()) &&
           encoding.step(source->GetSize(&width, &height), reading.c_str()) &&
           encoding.step(factory->CreatePalette(&palette.p), "make a palette") &&
           encoding.step(palette->InitializeFromBitmap(source.p, 256, FALSE), "make a palette") &&
           encoding.step(factory->CreateFormatConverter(&converter.p), "convert a frame") &&
           encoding.step(converter->Initialize(source.p, GUID_WICPixelFormat8bppIndexed,
                                               WICBitmapDitherTypeNone, palette.p, 0.0,
                                               WICBitmapPaletteTypeCustom),
                         "convert a frame") &&
           encoding.step(encoder->CreateNewFrame(&frame.p, &properties.p), "add a frame") &&
           encoding.step(frame->Initialize(properties.p), "add a frame") &&
           encoding.step(frame->SetSize(width, height), "add a frame") &&
           encoding.step(frame->SetPixelFormat(&format), "add a frame") &&
           encoding.step(frame->SetPalette(palette.p), "add a frame") &&
           encoding.step(frame->WriteSource(converter.p, nullptr), "write a frame") &&
           encoding.step(frame->Commit(), "write a frame");
}

// The GIF WIC encodes, in memory.
std::string encode(Encoding& encoding, const std::vector<std::string>& frames,
                   const std::atomic<bool>* stop) {
    Com<IWICImagingFactory> factory;
    Com<IStream> stream;
    Com<IWICBitmapEncoder> encoder;
    if (!encoding.step(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IWICImagingFactory,
                                        reinterpret_cast<void**>(&factory.p)),
                       "start the imaging component") ||
        !encoding.step(CreateStreamOnHGlobal(nullptr, TRUE, &stream.p), "make a stream") ||
        !encoding.step(factory->CreateEncoder(GUID_ContainerFormatGif, nullptr, &encoder.p),
                       "make a GIF encoder") ||
        !encoding.step(encoder->Initialize(stream.p, WICBitmapEncoderNoCache),
                       "make a GIF encoder"))
        return {};
    for (const std::string& file : frames)
        if ((stop && *stop) || !addFrame(encoding, factory.p, encoder.p, file)) return {};
    ULARGE_INTEGER size = {};
    LARGE_INTEGER start = {};
    if (!encoding.step(encoder->Commit(), "finish the GIF") ||
        !encoding.step(stream->Seek(start, STREAM_SEEK_END, &size), "finish the GIF") ||
        !encoding.step(stream->Seek(start, STREAM_SEEK_SET, nullptr), "finish the GIF"))
        return {};
    std::string bytes(std::size_t(size.QuadPart), '\0');
    ULONG read = 0;
    encoding.step(stream->Read(&bytes[0], ULONG(bytes.size()), &read), "finish the GIF");
    return bytes;
}

} // namespace

bool writeAnimatedGif(const std::vector<std::string>& frames, const std::vector<int>& delays,
                      const std::string& output, std::string& error,
                      const std::atomic<bool>* stop) {
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Encoding encoding;
    std::string bytes = encode(encoding, frames, stop);
    if (SUCCEEDED(com)) CoUninitialize();
    if (stop && *stop) {
        error = "cancelled";
        return false;
    }
    if (encoding.failed()) {
        error = encoding.error;
        return false;
    }
    if (!setGifTiming(bytes, delays)) {
        error = "the imaging component wrote no whole GIF";
        return false;
    }
    std::wstring written = wideText(output + ".new");
    HANDLE file = CreateFileW(written.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD put = 0;
    bool whole = file != INVALID_HANDLE_VALUE &&
                 WriteFile(file, bytes.data(), DWORD(bytes.size()), &put, nullptr) &&
                 put == bytes.size();
    if (file != INVALID_HANDLE_VALUE) whole = CloseHandle(file) && whole;
    if (whole && MoveFileExW(written.c_str(), wideText(output).c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileW(written.c_str());
    error = "cannot write " + output;
    return false;
}
