// Dialogs built from CommandObject tables.
#pragma once

#include <windows.h>

// Offers a queued message to the keyboard handling of every open dialog;
// non-zero when one of them took it.
int filterDialogMessage(MSG* message);
