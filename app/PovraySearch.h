// POV-Ray looked for on a thread of its own: under Wine the answer may take
// the Unix shell seconds, and no window waits for it.
#pragma once

#include <atomic>
#include <string>
#include <thread>

class PovraySearch {
  public:
    PovraySearch() = default;
    PovraySearch(const PovraySearch&) = delete;
    PovraySearch& operator=(const PovraySearch&) = delete;
    ~PovraySearch() { wait(); }

    // Begins the search; once begun, it is not begun again.
    void start();
    // Whether the search ended; `program` then gets the program found, ""
    // for none.
    bool ended(std::string& program) const;
    // Until the search ends (a few seconds at most).
    void wait();

  private:
    std::thread thread_;
    bool started_ = false;
    std::atomic<bool> ended_{false};
    std::string program_; // written by the search before `ended_`
};
