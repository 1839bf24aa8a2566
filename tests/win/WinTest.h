// Helpers for tests that drive real windows under the platform.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Dispatches this thread's messages for about `milliseconds`; a quit
// message is kept aside (see takeQuit).
void pumpMessages(int milliseconds = 30);

// Removes a pending quit message; true and its code when there was one.
bool takeQuit(int& code);

// Sets Shift and Control as held or released in this thread's key state.
void setHeldKeys(bool shift, bool control);

// Events recorded by test panes and windows, in order.
class EventLog {
  public:
    void add(const char* format, ...);
    std::vector<std::string> take();

  private:
    std::vector<std::string> events;
};

// The full path of a file beside the running test program.
std::string besideThisProgram(const char* name);
