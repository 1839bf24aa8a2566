#include "app/FileDialogState.h"

char lastFileName[FileNameSize] = "Default";
char lastDirectory[FileNameSize] = "C:\\";
char settingsPath[FileNameSize] = "";
const char* fileFilters[] = {"*.txt", "*.bas", "*", nullptr};
int filterIndex = 0;
