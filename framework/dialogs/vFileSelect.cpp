#include "framework/dialogs/vFileSelect.h"

#include "framework/app/WideText.h"

#include <dlgs.h>

#include <algorithm>
#include <cstring>

namespace {

// Longer than any path the platform's dialogs give back.
constexpr int NameRoom = 4096;
// The hook lets guardOk see the OK press before the platform does.
constexpr DWORD Guarded = OFN_EXPLORER | OFN_ENABLEHOOK;
constexpr DWORD OpenFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | Guarded;
constexpr DWORD SaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_CREATEPROMPT | Guarded;
const char* const GuardProperty = "vFileSelect";
const char* const PlatformProcProperty = "vFileSelectProc";

// The length of the path the name field names, seen from the dialog's folder.
std::size_t typedPathLength(HWND box) {
    HWND field = GetDlgItem(box, cmb13) ? GetDlgItem(box, cmb13) : GetDlgItem(box, edt1);
    wchar_t name[NameRoom] = L"", folder[NameRoom] = L"";
    GetWindowTextW(field, name, NameRoom);
    std::size_t length = wcslen(name);
    if ((name[0] && name[1] == L':') || (name[0] == L'\\' && name[1] == L'\\')) return length;
    if (name[0] == L'\\') return length + 2; // on the folder's drive
    SendMessageW(box, CDM_GETFOLDERPATH, NameRoom, reinterpret_cast<LPARAM>(folder));
    return wcslen(folder) + 1 + length;
}

int append(char (&text)[256], int used, const char* part) {
    int length = int(std::strlen(part));
    std::memcpy(text + used, part, std::size_t(length));
    text[used + length] = '\0';
    return used + length + 1;
}

} // namespace

vFileSelect::vFileSelect(vBaseWindow* owner, const char*)
    : ownerHandle(owner ? owner->nativeWindow : nullptr), request() {
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    request.hwndOwner = ownerHandle;
    request.lpfnHook = watchDialog;
}

void vFileSelect::startIn(const char* folder) {
    directory = wideText(folder ? folder : "");
    request.lpstrInitialDir = folder ? directory.c_str() : nullptr;
}

UINT_PTR CALLBACK vFileSelect::watchDialog(HWND child, UINT code, WPARAM, LPARAM lParam) {
    if (code != WM_INITDIALOG) return 0;
    HWND box = GetParent(child);
    auto* request = reinterpret_cast<OPENFILENAMEW*>(lParam);
    SetPropA(box, GuardProperty, reinterpret_cast<HANDLE>(request->lCustData));
    SetPropA(box, PlatformProcProperty,
             reinterpret_cast<HANDLE>(
                 SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(guardOk))));
    return 0;
}

LRESULT CALLBACK vFileSelect::guardOk(HWND box, UINT code, WPARAM wParam, LPARAM lParam) {
    auto platform = reinterpret_cast<WNDPROC>(GetPropA(box, PlatformProcProperty));
    if (code == WM_COMMAND && LOWORD(wParam) == IDOK && typedPathLength(box) >= MAX_PATH) {
        static_cast<vFileSelect*>(GetPropA(box, GuardProperty))->pathTooLong = 1;
        wParam = IDCANCEL;
    }
    if (code == WM_NCDESTROY) {
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(platform));
        RemovePropA(box, GuardProperty);
        RemovePropA(box, PlatformProcProperty);
    }
    return CallWindowProcW(platform, box, code, wParam, lParam);
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

int vFileSelect::fileSelectWide(const char* prompt, std::wstring& file,
                                const char* const* filters) {
    // Room for the platform's longest path in UTF-8.
    std::string name = utf8Text(file);
    name.resize(std::max(name.size() + 1, std::size_t(32768 * 3)), '\0');
    int filterIndex = 0;
    if (!run(false, prompt, &name[0], int(name.size()), filters, filterIndex, 0)) return 0;
    file = wideText(name.c_str());
    return 1;
}

int vFileSelect::fileSelectSave(const char* prompt, char* file, int size,
                                const char* const* filters, int& filterIndex, int directoryOnly,
                                const char* startDirectory) {
    startIn(startDirectory);
    int chosen = run(true, prompt, file, size, filters, filterIndex, directoryOnly);
    if (!chosen && file && size > 0) file[0] = '\0';
    return chosen;
}

int vFileSelect::run(bool save, const char* prompt, char* file, int size,
                     const char* const* filters, int& filterIndex, int directoryOnly) {
    pathTooLong = 0;
    if (!file || size <= 0) return 0;
    char filter[256];
    request.nFilterIndex = DWORD(filterText(filters, filterIndex, filter));
    // The filter text holds NULs: all of it is widened.
    std::wstring wideFilter = wideText(std::string(filter, sizeof filter));
    std::wstring title = wideText(prompt ? prompt : "");
    std::wstring extension = wideText(defaultExtension ? defaultExtension : "");
    std::wstring name = wideText(std::string(file, strnlen(file, std::size_t(size - 1))));
    name.resize(std::max(name.size() + 1, std::size_t(NameRoom)), L'\0');
    request.lpstrFilter = wideFilter.c_str();
    request.lpstrFile = &name[0];
    request.nMaxFile = DWORD(name.size());
    request.lpstrTitle = prompt ? title.c_str() : nullptr;
    request.lpstrDefExt = defaultExtension ? extension.c_str() : nullptr;
    request.lCustData = reinterpret_cast<LPARAM>(this);
    request.Flags = save ? SaveFlags | (directoryOnly ? OFN_NOTESTFILECREATE : 0) : OpenFlags;
    BOOL chosen = save ? GetSaveFileNameW(&request) : GetOpenFileNameW(&request);
    // The record outlives these texts.
    request.lpstrFilter = request.lpstrFile = nullptr;
    request.lpstrTitle = request.lpstrDefExt = nullptr;
    if (!chosen) return 0;
    std::size_t length = wcsnlen(name.data(), name.size());
    // A path that filled the room may have been cut by the platform.
    if (length + 1 >= name.size()) {
        pathTooLong = 1;
        return 0;
    }
    name.resize(length);
    if (save && directoryOnly) {
        std::size_t slash = name.find_last_of(L'\\');
        if (slash != std::wstring::npos && slash > 0) name.resize(slash);
    }
    // One longer than the caller's buffer would be cut: it names no file.
    std::string chosenPath = utf8Text(name);
    if (chosenPath.size() + 1 > std::size_t(size)) {
        pathTooLong = 1;
        return 0;
    }
    std::memcpy(file, chosenPath.c_str(), chosenPath.size() + 1);
    filterIndex = int(request.nFilterIndex) - 1;
    return 1;
}
