// Helpers for tests that drive real windows under the platform.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Dispatches this thread's messages for about `milliseconds`; a quit
// message is kept aside (see takeQuit).
void pumpMessages(int milliseconds = 30);

// Pumps messages until `done` holds, for at most `milliseconds`; whether it
// held. The caller's failure names what it waited for.
bool pumpUntil(const std::function<bool()>& done, int milliseconds);

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
