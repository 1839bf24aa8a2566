// The message loop offers every queued message to the keyboard handling of
// the open dialogs, then of the bars, before it dispatches the message.
#pragma once

#include <windows.h>

// Non-zero when one of the open modeless dialogs took the message.
int filterDialogMessage(MSG* message);
// Non-zero when one of the bar windows took the message.
int filterPaneMessage(MSG* message);
// Whether the owner's activation is refused once, for the modeless dialog
// shown last (at most 10 s ago) that is active. A window manager hands the
// keyboard back to the owner of a dialog that closed, and under Wine that
// comes after a newer dialog took it: the newer one keeps it (Esc must
// reach the progress window Start opened).
bool dialogKeepsActivation();
