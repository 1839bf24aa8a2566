// Text between UTF-8, the program's own form for names and paths, and the
// wide characters the platform takes. Windows only.
#pragma once

#include <string>

// `text` as wide characters. Text that is no UTF-8 (a settings file of an
// older version, a command line in the code page) is read in the ANSI code
// page instead.
std::wstring wideText(const std::string& text);
std::string utf8Text(const std::wstring& text);
