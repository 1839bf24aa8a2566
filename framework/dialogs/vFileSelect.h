// Asks for a file name through the platform's open and save dialogs.
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
    // As fileSelect, but a failure leaves `file` empty. With `directoryOnly`
    // the chosen path is cut back to its folder; `directory` (may be null)
    // is where the dialog starts.
    int fileSelectSave(const char* prompt, char* file, int size, const char* const* filters,
                       int& filterIndex, int directoryOnly, const char* directory);

    // The platform's filter text (description/pattern pairs, each ended by
    // NUL, the list ended by an empty one) for `filters`; its 1-based index.
    static int filterText(const char* const* filters, int filterIndex, char (&text)[256]);

    HWND ownerHandle;
    OPENFILENAMEA request;

  private:
    std::string directory; // the save dialog's start, kept for later requests
    // Runs the dialog on a name buffer larger than any path it gives, then
    // copies the result into `file` only when it fits there whole.
    int run(bool save, const char* prompt, char* file, int size, const char* const* filters,
            int& filterIndex, int directoryOnly);
};
