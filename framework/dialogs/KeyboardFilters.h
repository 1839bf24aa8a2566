// The message loop offers every queued message to the keyboard handling of
// the open dialogs, then of the bars, before it dispatches the message.
#pragma once

#include <windows.h>

// Non-zero when one of the open modeless dialogs took the message.
int filterDialogMessage(MSG* message);
// Non-zero when one of the bar windows took the message.
int filterPaneMessage(MSG* message);
