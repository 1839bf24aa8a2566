#include "app/FileDialogState.h"

#include "framework/app/WideText.h"

#include <cstring>
#include <string>
#include <windows.h>

char lastFileName[FileNameSize] = "Default";
char lastDirectory[FileNameSize] = "C:\\";
char settingsPath[FileNameSize] = "";
const char* fileFilters[] = {"*.txt", "*.bas", "*", nullptr};
int filterIndex = 0;

namespace {

// The current folder in UTF-8; empty when the platform gives none.
std::string currentFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    DWORD length = GetCurrentDirectoryW(DWORD(folder.size()), &folder[0]);
    if (length >= folder.size()) {
        folder.resize(length);
        length = GetCurrentDirectoryW(DWORD(folder.size()), &folder[0]);
    }
    folder.resize(length < folder.size() ? length : 0);
    return utf8Text(folder);
}

} // namespace

const char* dialogFolder(char (&folder)[MAX_PATH]) {
    std::string current = currentFolder();
    if (current.empty() || current.size() >= MAX_PATH) return nullptr;
    std::memcpy(folder, current.c_str(), current.size() + 1);
    return folder;
}

void rememberDirectory() {
    // A current directory longer than the buffer is not remembered cut short.
    std::string current = currentFolder();
    if (!current.empty() && current.size() < FileNameSize)
        std::memcpy(lastDirectory, current.c_str(), current.size() + 1);
}

bool enterRememberedDirectory() {
    // A folder in the ANSI code page (an older settings file) is UTF-8 from now on.
    std::wstring folder = wideText(lastDirectory);
    std::string text = utf8Text(folder);
    if (text.size() < FileNameSize) std::memcpy(lastDirectory, text.c_str(), text.size() + 1);
    return SetCurrentDirectoryW(folder.c_str()) != 0;
}
