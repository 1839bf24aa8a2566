// Drives modal loops from inside: an action run once the loop is running,
// and answers to the platform's dialog boxes as they become active.
#pragma once

#include <windows.h>

#include <functional>

// Runs `action` once, from a thread timer, inside the next modal loop.
void whileModal(std::function<void()> action);

// Until stopAnswering, `answer` gets every dialog box of this thread once,
// when it is first activated.
void answerDialogs(std::function<void(HWND)> answer);
void stopAnswering();
