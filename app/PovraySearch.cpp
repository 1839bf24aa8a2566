#include "app/PovraySearch.h"

#include "render/PovrayRunner.h"

void PovraySearch::start() {
    if (started_) return;
    started_ = true;
    thread_ = std::thread([this] {
        // A runner of its own: its scratch folder holds the shell's answer.
        PovrayRunner finder;
        program_ = finder.findPovray();
        ended_ = true;
    });
}

bool PovraySearch::ended(std::string& program) const {
    if (!ended_) return false;
    program = program_;
    return true;
}

void PovraySearch::wait() {
    if (thread_.joinable()) thread_.join();
}
