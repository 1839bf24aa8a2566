// What the pose and settings file flows remember between file dialogs. Names
// and paths are UTF-8.
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

// Where the file dialogs start: the current folder, which start-up made the
// remembered one, rather than the platform's own last folder. Null when
// unknown or too long.
const char* dialogFolder(char (&folder)[260]);
// After a successful save or load: the current folder is the one remembered.
void rememberDirectory();
// Makes the remembered folder the current one again; false when it is gone.
bool enterRememberedDirectory();
