// Texts placed on command lines: one quoting rule for each kind of line, so
// that no name (a folder holding ', ", $(...), a backquote) can become part
// of the command. Needs no platform.
#pragma once

#include <string>
#include <vector>

// One word of a POSIX sh command line: in single quotes, each ' as '\''.
std::string shellQuoted(const std::string& text);

// One argument of a Windows command line, quoted so that the C runtime of the
// started program (and Wine, starting a Unix program) splits it back into
// the same text.
std::string windowsArgument(const std::string& text);
// A Windows command line of `args`, each quoted as above.
std::string windowsLine(const std::vector<std::string>& args);
