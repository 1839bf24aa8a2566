#include "render/WicImage.h"

#include "render/ChildStart.h"

#include <wincodec.h>
#include <windows.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace {

// Larger pictures than any render are refused before memory is reserved.
constexpr UINT MaxSide = 16384;

// Imaging objects are COM objects: the thread joins COM for as long as they
// live, whatever it had joined before.
class ComScope {
  public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    HRESULT result_;
};

ComPtr<IWICImagingFactory> makeFactory() {
    ComPtr<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                     IID_PPV_ARGS(&factory));
    return factory;
}

// Swaps the first and third byte of every pixel: RGB to BGR and back.
void swapRedBlue(std::vector<std::uint8_t>& pixels) {
    for (std::size_t i = 0; i + 2 < pixels.size(); i += 3)
        std::swap(pixels[i], pixels[i + 2]);
}

bool decodeWith(IWICImagingFactory* factory, const std::string& bytes, RgbImage& image) {
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    auto* data = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()));
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(data, DWORD(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat24bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
        width > MaxSide || height > MaxSide)
        return false;
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 3);
    if (FAILED(converter->CopyPixels(nullptr, width * 3, UINT(pixels.size()), pixels.data())))
        return false;
    swapRedBlue(pixels);
    image.width = int(width);
    image.height = int(height);
    image.rgb = std::move(pixels);
    return true;
}

std::string encodeWith(IWICImagingFactory* factory, const RgbImage& image, REFGUID container) {
    ComPtr<IStream> memory;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    std::vector<std::uint8_t> pixels = image.rgb;
    swapRedBlue(pixels);
    STATSTG written = {};
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &memory)) ||
        FAILED(factory->CreateEncoder(container, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(memory.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &options)) ||
        FAILED(frame->Initialize(options.Get())) ||
        FAILED(frame->SetSize(UINT(image.width), UINT(image.height))) ||
        FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR ||
        FAILED(frame->WritePixels(UINT(image.height), UINT(image.width) * 3, UINT(pixels.size()),
                                  pixels.data())) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()) ||
        FAILED(memory->Stat(&written, STATFLAG_NONAME)) || written.cbSize.QuadPart > 0x7FFFFFFF)
        return "";
    std::string bytes(std::size_t(written.cbSize.QuadPart), '\0');
    LARGE_INTEGER start = {};
    ULONG read = 0;
    if (FAILED(memory->Seek(start, STREAM_SEEK_SET, nullptr)) ||
        FAILED(memory->Read(&bytes[0], ULONG(bytes.size()), &read)) || read != bytes.size())
        return "";
    return bytes;
}

} // namespace

bool WicImage::decode(const std::string& bytes, RgbImage& image) {
    image = RgbImage();
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF) return false;
    ComScope com;
    ComPtr<IWICImagingFactory> factory = makeFactory();
    return factory && decodeWith(factory.Get(), bytes, image);
}

bool WicImage::read(const std::string& path, RgbImage& image) {
    std::string bytes;
    HANDLE file = CreateFileW(wideText(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size = {};
    DWORD got = 0;
    if (file != INVALID_HANDLE_VALUE && GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF) {
        bytes.resize(std::size_t(size.QuadPart));
        if (!ReadFile(file, &bytes[0], DWORD(bytes.size()), &got, nullptr)) got = 0;
        bytes.resize(got);
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return decode(bytes, image);
}

std::string WicImage::encode(const RgbImage& image, Format format) {
    if (image.rgb.empty() || image.rgb.size() != std::size_t(image.width) * image.height * 3)
        return "";
    ComScope com;
    ComPtr<IWICImagingFactory> factory = makeFactory();
    if (!factory) return "";
    return encodeWith(factory.Get(), image,
                      format == Png ? GUID_ContainerFormatPng : GUID_ContainerFormatBmp);
}
