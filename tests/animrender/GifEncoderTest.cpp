// The animated GIF through WIC, under Wine as on Windows.
#include "animrender/GifEncoder.h"
#include "animrender/GifTiming.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <windows.h>
#include <wincodec.h>

namespace {

// A `width` x `height` 24-bit BMP of one colour.
void writeBmp(const std::string& path, int width, int height, std::uint32_t rgb) {
    int row = (width * 3 + 3) & ~3;
    std::uint32_t size = 54 + std::uint32_t(row * height);
    unsigned char header[54] = {'B', 'M'};
    auto put = [&header](int at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            header[at + i] = (unsigned char)(value >> (8 * i));
    };
    put(2, size), put(10, 54), put(14, 40), put(18, std::uint32_t(width));
    put(22, std::uint32_t(height)), put(26, 1 | 24 << 16);
    std::string pixels(std::size_t(row * height), '\0');
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                pixels[std::size_t(y * row + 3 * x + c)] = char(rgb >> (8 * c));
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<char*>(header), 54);
    out << pixels;
}

TEST(GifEncoder, FramesDelaysAndLoopReadBack) {
    const std::uint32_t colours[] = {0xFF0000u, 0x0000FFu, 0x00FF00u};
    std::vector<std::string> frames;
    for (std::uint32_t colour : colours) {
        frames.push_back("gif-frame-" + std::to_string(frames.size()) + ".bmp");
        writeBmp(frames.back(), 33, 25, colour);
    }
    std::string error;
    ASSERT_TRUE(writeAnimatedGif(frames, {3, 4, 300}, "frames.gif", error)) << error;
    GifTiming timing;
    ASSERT_TRUE(readGifTiming(fileBytes("frames.gif"), timing));
    EXPECT_EQ(timing.delays, (std::vector<int>{3, 4, 300}));
    EXPECT_TRUE(timing.loops);

    // WIC reads back each frame in about its colour.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    ASSERT_EQ(factory->CreateDecoderFromFilename(L"frames.gif", nullptr, GENERIC_READ,
                                                 WICDecodeMetadataCacheOnDemand, &decoder),
              S_OK);
    UINT count = 0;
    decoder->GetFrameCount(&count);
    EXPECT_EQ(count, 3u);
    for (UINT i = 0; i < count; ++i) {
        IWICBitmapFrameDecode* frame = nullptr;
        IWICFormatConverter* converter = nullptr;
        decoder->GetFrame(i, &frame);
        factory->CreateFormatConverter(&converter);
        converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                              0.0, WICBitmapPaletteTypeCustom);
        std::uint32_t pixel = 0;
        WICRect corner = {32, 24, 1, 1};
        converter->CopyPixels(&corner, 4, 4, reinterpret_cast<BYTE*>(&pixel));
        // A palette of one colour comes out a few steps off.
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(int(pixel >> shift & 0xFF), int(colours[i] >> shift & 0xFF), 8)
                << "frame " << i;
        converter->Release();
        frame->Release();
    }
    decoder->Release();
    factory->Release();
    CoUninitialize();
}

} // namespace
