// Asks for a file name through the platform's open and save dialogs. Names
// and paths are UTF-8, wide in the dialogs: any name the file system holds.
#pragma once

#include "framework/app/vBaseWindow.h"

#include <commdlg.h>
#include <windows.h>

#include <string>

class vFileSelect {
  public:
    // The name is not shown: the prompt is the dialog's caption.
    vFileSelect(vBaseWindow* owner, const char* name);
    // The request refers to the object's own start folder.
    vFileSelect(const vFileSelect&) = delete;
    vFileSelect& operator=(const vFileSelect&) = delete;

    // `file` holds the name shown first and, on success, the chosen path.
    // `filters` is a list of patterns ended by a null or empty one, or null;
    // `filterIndex` is the 0-based filter, in and out. 1 when a file was
    // chosen; 0 when cancelled, failed, or the path does not fit in `file`,
    // which is then left as it was.
    int fileSelect(const char* prompt, char* file, int size, const char* const* filters,
                   int& filterIndex);
    // As fileSelect for a path of any characters and length: `file` holds
    // the name shown first and, when one was chosen (1), the chosen path.
    int fileSelectWide(const char* prompt, std::wstring& file, const char* const* filters);
    // As fileSelect, but a failure leaves `file` empty. With `directoryOnly`
    // the chosen path is cut back to its folder; `directory` (may be null)
    // is where the dialog starts.
    int fileSelectSave(const char* prompt, char* file, int size, const char* const* filters,
                       int& filterIndex, int directoryOnly, const char* directory);

    // The platform's filter text (description/pattern pairs, each ended by
    // NUL, the list ended by an empty one) for `filters`; its 1-based index.
    static int filterText(const char* const* filters, int filterIndex, char (&text)[256]);
    // The folder the next dialogs start in (null: the platform chooses).
    void startIn(const char* folder);

    HWND ownerHandle;
    OPENFILENAMEW request;
    // Given (without its "."), a name typed without an extension takes the
    // chosen filter's, or this one, and a replace question names that file.
    const char* defaultExtension = nullptr;
    // 1 when the last request failed because the path chosen was too long
    // for the caller's buffer or for the platform; 0 otherwise.
    int pathTooLong = 0;

  private:
    std::wstring directory; // the start folder, kept for later requests
    // Ends the dialog as cancelled before the platform handles a path longer
    // than it can: its own OK handling would overrun a fixed buffer.
    static UINT_PTR CALLBACK watchDialog(HWND child, UINT code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK guardOk(HWND box, UINT code, WPARAM wParam, LPARAM lParam);
    // Runs the dialog on a name buffer larger than any path it gives, then
    // copies the result into `file` only when it fits there whole.
    int run(bool save, const char* prompt, char* file, int size, const char* const* filters,
            int& filterIndex, int directoryOnly);
};
