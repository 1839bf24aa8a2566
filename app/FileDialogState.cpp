#include "app/FileDialogState.h"

#include <cstring>
#include <windows.h>

char lastFileName[FileNameSize] = "Default";
char lastDirectory[FileNameSize] = "C:\\";
char settingsPath[FileNameSize] = "";
const char* fileFilters[] = {"*.txt", "*.bas", "*", nullptr};
int filterIndex = 0;

const char* dialogFolder(char (&folder)[MAX_PATH]) {
    DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    return length > 0 && length < MAX_PATH ? folder : nullptr;
}

void rememberDirectory() {
    // A current directory longer than the buffer is not remembered cut short.
    char directory[FileNameSize];
    DWORD length = GetCurrentDirectoryA(FileNameSize, directory);
    if (length > 0 && length < FileNameSize) std::memcpy(lastDirectory, directory, length + 1);
}
