#include "framework/app/WideText.h"

#include <windows.h>

namespace {

std::wstring widen(unsigned codePage, unsigned long flags, const std::string& text) {
    int size = MultiByteToWideChar(codePage, flags, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(std::size_t(size), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), int(text.size()), &out[0], size);
    return out;
}

} // namespace

std::wstring wideText(const std::string& text) {
    std::wstring out = widen(CP_UTF8, MB_ERR_INVALID_CHARS, text);
    return out.empty() && !text.empty() ? widen(CP_ACP, 0, text) : out;
}

std::string utf8Text(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string out(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}
