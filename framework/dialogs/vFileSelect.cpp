#include "framework/dialogs/vFileSelect.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Longer than any path the platform's dialogs give back.
constexpr int NameRoom = 4096;
constexpr DWORD OpenFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
constexpr DWORD SaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_CREATEPROMPT;

int append(char (&text)[256], int used, const char* part) {
    int length = int(std::strlen(part));
    std::memcpy(text + used, part, std::size_t(length));
    text[used + length] = '\0';
    return used + length + 1;
}

} // namespace

vFileSelect::vFileSelect(vBaseWindow* owner, const char*)
    : ownerHandle(owner ? owner->nativeWindow : nullptr), request() {
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    request.hwndOwner = ownerHandle;
}

int vFileSelect::filterText(const char* const* filters, int filterIndex, char (&text)[256]) {
    std::memset(text, 0, sizeof text);
    int used = 0;
    for (const char* const* pattern = filters; pattern && *pattern && **pattern; ++pattern) {
        // Each pattern is its own description.
        if (2 * int(std::strlen(*pattern)) + 2 + used >= int(sizeof text)) break;
        used = append(text, used, *pattern);
        used = append(text, used, *pattern);
    }
    if (used > 0) return filterIndex + 1;
    used = append(text, 0, "All files(*.*)");
    append(text, used, "*.*");
    return 1;
}

int vFileSelect::fileSelect(const char* prompt, char* file, int size, const char* const* filters,
                            int& filterIndex) {
    return run(false, prompt, file, size, filters, filterIndex, 0);
}

int vFileSelect::fileSelectSave(const char* prompt, char* file, int size,
                                const char* const* filters, int& filterIndex, int directoryOnly,
                                const char* startDirectory) {
    directory = startDirectory ? startDirectory : "";
    request.lpstrInitialDir = startDirectory ? directory.c_str() : nullptr;
    int chosen = run(true, prompt, file, size, filters, filterIndex, directoryOnly);
    if (!chosen && file && size > 0) file[0] = '\0';
    return chosen;
}

int vFileSelect::run(bool save, const char* prompt, char* file, int size,
                     const char* const* filters, int& filterIndex, int directoryOnly) {
    if (!file || size <= 0) return 0;
    char filter[256];
    std::vector<char> name(std::size_t(std::max(size, NameRoom)), '\0');
    std::memcpy(name.data(), file, std::size_t(strnlen(file, std::size_t(size - 1))));
    request.nFilterIndex = DWORD(filterText(filters, filterIndex, filter));
    request.lpstrFilter = filter;
    request.lpstrFile = name.data();
    request.nMaxFile = DWORD(name.size());
    request.lpstrTitle = prompt;
    request.Flags = save ? SaveFlags | (directoryOnly ? OFN_NOTESTFILECREATE : 0) : OpenFlags;
    BOOL chosen = save ? GetSaveFileNameA(&request) : GetOpenFileNameA(&request);
    // The record outlives these buffers.
    request.lpstrFilter = request.lpstrFile = nullptr;
    if (!chosen) return 0;
    std::size_t length = strnlen(name.data(), name.size());
    if (save && directoryOnly)
        for (std::size_t at = length; at-- > 1;)
            if (name[at] == '\\') {
                name[at] = '\0';
                length = at;
                break;
            }
    // A path that filled the room may have been cut by the platform; one
    // longer than the caller's buffer would be: neither names the chosen file.
    if (length + 1 >= name.size() || length + 1 > std::size_t(size)) return 0;
    std::memcpy(file, name.data(), length + 1);
    filterIndex = int(request.nFilterIndex) - 1;
    return 1;
}
