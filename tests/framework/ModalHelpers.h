// Drives modal loops from inside: an action run once the loop is running,
// and answers to dialog boxes as a user would give them. Both work from one
// thread timer that ticks in every modal loop, and end with the test that
// started them. A box still open after ten seconds is ended (EndDialog, then
// DestroyWindow) and fails the test with its title (and a screenshot beside
// the test program).
#pragma once

#include <windows.h>

#include <functional>

// Runs `action` once, from a thread timer, inside the next modal loop. The
// test then answers its boxes itself until it ends.
void whileModal(std::function<void()> action);

// Answers one ready box of this thread: a file dialog (`fileDialog`) or any
// other box; false when the test did not expect it.
using BoxAnswer = std::function<bool(HWND box, bool fileDialog)>;

// Until the test ends (or stopAnswering), `answer` gets each visible, enabled
// box of this thread when it is ready, and again should it still be there a
// second later. A box it does not expect fails the test with its title and
// text and is closed. A null answer expects no box at all. Called outside any
// test, the answer holds for every test that sets none of its own.
void answerDialogs(BoxAnswer answer);
void stopAnswering();

// The name field of a file dialog (its id differs between platforms).
HWND fileNameField(HWND box);
