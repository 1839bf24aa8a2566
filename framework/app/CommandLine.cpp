#include "framework/app/CommandLine.h"

#include <cstring>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool endsLine(char c) {
    return c == '\0' || c == '\r' || c == '\n';
}

} // namespace

int splitCommandLine(char* line, int argc, char** argv) {
    char* p = line;
    int words = 0;
    while (p && words < MaxCommandWords) {
        while (isBlank(*p))
            ++p;
        if (endsLine(*p)) break;
        bool quoted = *p == '"';
        if (quoted) ++p;
        argv[argc++] = p;
        ++words;
        while (!endsLine(*p) && (quoted ? *p != '"' : !isBlank(*p)))
            ++p;
        char end = *p;
        if (end == '\0') break;
        *p = '\0';
        p = (end == '\r' || end == '\n') ? nullptr : p + 1;
    }
    argv[argc] = nullptr;
    return argc;
}

int removeDebugOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-vDebug") != 0) continue;
        int removed = (i + 1 < argc) ? 2 : 1;
        for (int k = i; k + removed <= argc; ++k)
            argv[k] = argv[k + removed];
        return argc - removed;
    }
    return argc;
}
