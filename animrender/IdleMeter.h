// How much of the machine's processor time went idle, from the system's own
// counters: every core's, whoever runs on it, so that a busy machine gets
// no more processes from us.
#pragma once

class IdleMeter {
  public:
    IdleMeter();
    // The idle share (0 to 1) since the last call or the start; 0 when the
    // system does not tell.
    double idleSince();

  private:
    bool read(unsigned long long& idle, unsigned long long& total) const;

    unsigned long long idle_ = 0;
    unsigned long long total_ = 0;
};
