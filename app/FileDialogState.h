// What the pose and settings file flows remember between file dialogs.
#pragma once

constexpr int FileNameSize = 256;

// The file last saved or loaded; it pre-fills the dialog's name field.
extern char lastFileName[FileNameSize];
// The current directory after the last successful save or load.
extern char lastDirectory[FileNameSize];
// The full path of the settings file.
extern char settingsPath[FileNameSize];
// Name filters of the file dialogs, ended by a null entry.
extern const char* fileFilters[];
// The filter the file dialog shows first.
extern int filterIndex;
