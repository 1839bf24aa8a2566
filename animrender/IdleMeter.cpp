#include "animrender/IdleMeter.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fstream>
#include <string>
#endif

IdleMeter::IdleMeter() {
    read(idle_, total_);
}

double IdleMeter::idleSince() {
    unsigned long long idle = 0, total = 0;
    if (!read(idle, total) || total <= total_ || idle < idle_) return 0;
    double share = double(idle - idle_) / double(total - total_);
    idle_ = idle;
    total_ = total;
    return share;
}

#ifdef _WIN32

namespace {

unsigned long long ticks(const FILETIME& time) {
    return (unsigned long long)time.dwHighDateTime << 32 | time.dwLowDateTime;
}

} // namespace

bool IdleMeter::read(unsigned long long& idle, unsigned long long& total) const {
    // The kernel's time includes the idle time.
    FILETIME idleTime, kernelTime, userTime;
    if (!GetSystemTimes(&idleTime, &kernelTime, &userTime)) return false;
    idle = ticks(idleTime);
    total = ticks(kernelTime) + ticks(userTime);
    return true;
}

#else

bool IdleMeter::read(unsigned long long& idle, unsigned long long& total) const {
    // "cpu  user nice system idle iowait irq softirq steal ...", in ticks.
    std::ifstream stat("/proc/stat");
    std::string name;
    stat >> name;
    if (name != "cpu") return false;
    idle = total = 0;
    unsigned long long value = 0;
    for (int field = 0; field < 8 && stat >> value; ++field) {
        total += value;
        if (field == 3 || field == 4) idle += value;
    }
    return total > 0;
}

#endif
