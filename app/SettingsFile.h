// The settings file "TavokF.ini" beside the program: its path, its first
// line (the directory last used) and its whole text; paths and the
// directory are UTF-8. Needs no platform.
#pragma once

constexpr int SettingsTextSize = 256;

// The settings file beside `program`, the program's own full path or its
// folder ending in a backslash. False,
// with `path` empty, when it does not fit: a cut path would be another file.
bool settingsPathBeside(const char* program, char (&path)[SettingsTextSize]);

// Reads the first line of the file at `path` into `directory`: at most 255
// characters, without its line end. False when the file cannot be opened.
bool readSettingsDirectory(const char* path, char (&directory)[SettingsTextSize]);

// Writes the whole file for `directory`, with CR LF line ends, beside the old
// one and then in its place. False when it cannot be written.
bool writeSettingsFile(const char* path, const char* directory);
