#include "tools/tavokpose/ChildProcess.h"

#include <csignal>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

volatile std::sig_atomic_t interruptedFlag = 0;

} // namespace

bool interrupted() {
    return interruptedFlag != 0;
}

#ifdef _WIN32

namespace {

BOOL WINAPI onConsoleControl(DWORD) {
    interruptedFlag = 1;
    return TRUE;
}

} // namespace

void catchInterrupts() {
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

bool ChildProcess::start(const std::vector<std::string>& args, const std::string& workDir,
                         const std::string& logName) {
    return child_.start(args, workDir, logName, false);
}

bool ChildProcess::running() {
    if (!child_.ended()) return true;
    exitCode = child_.exitCode;
    return false;
}

void ChildProcess::end() {
    child_.kill();
    child_.waitEnded(5);
    running();
}

#else

namespace {

void onInterrupt(int) {
    interruptedFlag = 1;
}

} // namespace

void catchInterrupts() {
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // A closed terminal or pipe ends the run as Ctrl+C does.
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        sigaction(signal, &action, nullptr);
}

namespace {

// The child: it leads a process group of its own and guards the program it
// starts there. Should this program end, however it ends, the kernel tells
// the guard (its parent-death signal), and the guard kills the whole group,
// so that nothing the program started (a wrapper's POV-Ray) outlives it;
// else it ends as the program ended. Only calls that are safe between fork
// and exec.
[[noreturn]] void guard(pid_t parent, char* const* argv, const char* workDir, const char* log) {
    setpgid(0, 0);
    sigset_t watched, before;
    sigemptyset(&watched);
    sigaddset(&watched, SIGCHLD);
    sigaddset(&watched, SIGTERM);
    sigprocmask(SIG_BLOCK, &watched, &before);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(126);
    int out = open(log, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int in = open("/dev/null", O_RDONLY);
    if (out < 0 || in < 0 || chdir(workDir) != 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    pid_t program = fork();
    if (program < 0) _exit(126);
    if (program == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        sigprocmask(SIG_SETMASK, &before, nullptr);
        execvp(argv[0], argv);
        dprintf(2, "%s\n", strerror(errno));
        _exit(127);
    }
    for (int status = 0;;) {
        if (sigwaitinfo(&watched, nullptr) == SIGTERM) kill(0, SIGKILL);
        if (waitpid(program, &status, WNOHANG) == program)
            _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    }
}

} // namespace

bool ChildProcess::start(const std::vector<std::string>& args, const std::string& workDir,
                         const std::string& logName) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::string log = workDir + "/" + logName;
    pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) guard(parent, argv.data(), workDir.c_str(), log.c_str());
    // Set from both sides, so that end() finds the group whichever runs first.
    setpgid(pid, pid);
    pid_ = pid;
    return true;
}

bool ChildProcess::running() {
    if (pid_ == 0) return false;
    siginfo_t info = {};
    if (waitid(P_PID, id_t(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
        if (errno == EINTR) return true;
        pid_ = 0;
        return false;
    }
    if (info.si_pid == 0) return true;
    // What it started goes with it, while its group's id is still its own.
    kill(-pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = 0;
    return false;
}

void ChildProcess::end() {
    if (pid_ == 0) return;
    kill(-pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    exitCode = 128 + SIGKILL;
    pid_ = 0;
}

#endif
