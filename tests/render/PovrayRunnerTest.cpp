// The POV-Ray runner under Wine with Debian's POV-Ray: names that must stay
// text, Unix scripts as the program, hung renders, scratch folders.
#include "render/Povray.h"
#include "render/PovrayRunner.h"
#include "render/Quoting.h"

#include <gtest/gtest.h>

#include <functional>
#include <windows.h>

namespace {

const float pose[13] = {0, 0, 0, 0.5f, 30, -30, 30, -30, 0, 0, 0, 0, 0};
const std::string dir = "/tmp/tavok-runner-" + std::to_string(GetCurrentProcessId());

std::wstring wide(const std::string& text) {
    std::wstring out(text.size(), L'\0');
    out.resize(std::size_t(
        MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &out[0], int(out.size()))));
    return out;
}

bool exists(const std::string& unixPath) {
    return GetFileAttributesW(wide(windowsPathOf(unixPath)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool waitFor(const std::function<bool()>& done, int seconds, const char* what) {
    for (ULONGLONG end = GetTickCount64() + ULONGLONG(seconds) * 1000; !done(); Sleep(20))
        if (GetTickCount64() > end) {
            ADD_FAILURE() << "waited " << seconds << " s for " << what;
            return false;
        }
    return true;
}

// Runs `script` in the Unix shell and waits for its end, which a file
// of its own tells.
void shell(const std::string& script) {
    static int calls = 0;
    std::string done = dir + "-done-" + std::to_string(++calls);
    std::wstring line = wide(shellCommand("Z:\\bin\\sh", script + "; echo >" + shellQuoted(done)));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                               nullptr, nullptr, &startup, &info));
    for (HANDLE handle : {info.hProcess, info.hThread})
        if (handle) CloseHandle(handle);
    waitFor([&] { return exists(done); }, 10, script.c_str());
    DeleteFileW(wide(windowsPathOf(done)).c_str());
}

// An executable script `text` at `path`.
void program(const std::string& path, const std::string& text) {
    shell("mkdir -p \"$(dirname " + shellQuoted(path) + ")\" && printf %s " + shellQuoted(text) +
          " >" + shellQuoted(path) + " && chmod +x " + shellQuoted(path));
}

PovrayRunner::State finish(PovrayRunner& runner, int number, int seconds) {
    PovrayRunner::State state = PovrayRunner::Running;
    waitFor([&] { return (state = runner.poll(number)) != PovrayRunner::Running; }, seconds,
            "the render's end");
    return state;
}

// A Windows path cannot hold '"': the shell's side of such names is tested
// natively.
const char* const names[] = {"c';touch PWNED;'d", "$(touch PWNED)", "`touch PWNED`", "two words",
                             "\xd1\x82\xd0\xb5\xd1\x81\xd1\x82\xe6\x97\xa5\xe6\x9c\xac"};

// The temporary folder, as GetTempPath reads it.
void setTemp(const std::string& folder) {
    for (const wchar_t* name : {L"TMP", L"TEMP"})
        SetEnvironmentVariableW(name, wide(folder).c_str());
}

TEST(PovrayRunner, NamesStayTextOnEveryLineAndFoldersNeedNotBeAnsi) {
    for (const std::string name : names) {
        int count = 0;
        LPWSTR* split = CommandLineToArgvW(wide("x " + windowsArgument(name)).c_str(), &count);
        EXPECT_TRUE(count == 2 && split[1] == wide(name)) << name;
        LocalFree(split);
    }
    // A temporary folder beyond the ANSI code page holds the scratch folder.
    std::string temp = windowsPathOf(dir + "/" + names[4]);
    shell("mkdir -p " + shellQuoted(unixPathOf(temp)));
    setTemp(temp);
    PovrayRunner runner;
    for (const std::string name : names) {
        // A shell script wrapping POV-Ray, in a folder of that name.
        std::string wrapper = dir + "/" + name + "/povray";
        program(wrapper, "#!/bin/sh\nexec povray \"$@\"\n");
        SetEnvironmentVariableW(L"POVRAY", wide(wrapper).c_str());
        ASSERT_EQ(runner.findPovray(), windowsPathOf(wrapper));
        int number = runner.start(runner.findPovray(), pose, 32, 24);
        ASSERT_NE(number, 0) << runner.error;
        EXPECT_EQ(runner.folder().compare(0, temp.size(), temp), 0) << runner.folder();
        EXPECT_EQ(finish(runner, number, 20), PovrayRunner::Rendered) << name << runner.error;
        EXPECT_EQ(runner.image.width, 32);
        EXPECT_FALSE(exists(unixPathOf(runner.folder()) + "PWNED") || exists(dir + "/PWNED"));
        // A scratch folder a cleaner removed is made again.
        shell("rm -rf " + shellQuoted(unixPathOf(runner.folder())));
    }
    SetEnvironmentVariableW(L"POVRAY", nullptr);
    // A PATH of any length is read to its end.
    program(dir + "/bin/pvengine.exe", "");
    std::wstring path(5000, L'x');
    SetEnvironmentVariableW(L"PATH", (path + L";" + wide(windowsPathOf(dir + "/bin"))).c_str());
    EXPECT_EQ(runner.findPovray(), windowsPathOf(dir + "/bin/pvengine.exe"));
}

TEST(PovrayRunner, AHungPovrayIsEndedAtItsDeadlineOrWhenCancelledEvenBeforeItsIdIsKnown) {
    // Deaf to SIGTERM, as are the programs it starts.
    std::string hung = dir + "/hung/povray";
    program(hung, "#!/bin/sh\ntrap '' TERM\necho $$ >hung.txt\nsleep 60\n");
    PovrayRunner runner;
    for (bool cancel : {true, false}) {
        int number = runner.start(windowsPathOf(hung), pose, 32, 24);
        ASSERT_NE(number, 0) << runner.error;
        std::string group = unixPathOf(runner.folder()) + "hung.txt";
        if (cancel)
            runner.cancel(number);
        else
            EXPECT_EQ(finish(runner, number, 15), PovrayRunner::TimedOut);
        waitFor([&] { return !runner.tidy(); }, 8, "the hung render's end");
        // Its processes go within 5 s; the file goes with them.
        shell("for i in $(seq 50); do kill -0 -- -$(cat " + shellQuoted(group) + ") 2>/dev/null" +
              " || { rm " + shellQuoted(group) + "; break; }; sleep 0.1; done");
        EXPECT_FALSE(exists(group)) << "the hung render still runs";
    }
    EXPECT_EQ(runner.problem, "POV-Ray did not finish");
}

TEST(PovrayRunner, FailuresAreToldApartAndStaleScratchFoldersGo) {
    std::string temp = windowsPathOf(dir + "/temp");
    std::string stale = dir + "/temp/" + ScratchPrefix + "999999-1";
    std::string own = dir + "/temp/" + ScratchPrefix + std::to_string(GetCurrentProcessId()) + "-1";
    shell("mkdir -p " + shellQuoted(stale) + " " + shellQuoted(own) + " && touch " +
          shellQuoted(stale + "/out-1.bmp"));
    setTemp(temp);
    PovrayRunner runner;
    ASSERT_TRUE(runner.prepare()) << runner.error;
    EXPECT_FALSE(exists(stale)) << "a stale scratch folder stayed";
    EXPECT_TRUE(exists(own)) << "a running program's scratch folder went";
    shell("mkdir " + shellQuoted(unixPathOf(runner.folder()) + "pose.txt"));
    EXPECT_EQ(runner.start(windowsPathOf("/bin/true"), pose, 8, 6), 0);
    EXPECT_EQ(runner.problem, "Cannot write the pose");
    runner.close();
    int number = runner.start(windowsPathOf(dir + "/none/povray"), pose, 8, 6);
    EXPECT_EQ(finish(runner, number, 10), PovrayRunner::Failed);
    EXPECT_EQ(runner.problem, "POV-Ray failed");
    runner.close();
    setTemp(windowsPathOf(dir + "/none"));
    EXPECT_FALSE(runner.prepare());
    EXPECT_EQ(runner.problem, "No scratch folder");
    EXPECT_NE(runner.error.find(":\n"), std::string::npos) << "no reason: " << runner.error;
    shell("rm -rf " + shellQuoted(dir));
}

} // namespace
