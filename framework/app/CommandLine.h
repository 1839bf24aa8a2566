// Splitting of the program's command line into words. Needs no platform.
#pragma once

// Room in the argument array: the program path, 48 words and the final null.
constexpr int MaxArguments = 50;
constexpr int MaxCommandWords = MaxArguments - 2;

// Splits `line` in place into words stored from argv[argc] on, at most
// MaxCommandWords of them: blanks separate words, a word that starts with a
// double quote runs to the next one (the quotes are dropped), and a carriage
// return or line feed ends the line. Returns the new argc; argv[argc] is null.
int splitCommandLine(char* line, int argc, char** argv);

// Removes the first "-vDebug" argument and the word after it (only itself
// when it is the last). Returns the new argc.
int removeDebugOption(int argc, char** argv);
