// Running the real program: a scratch copy of it with its data tree, started
// once to the end or left running for keys sent with xdotool, and bounded waits.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

#include "test_support.h"

namespace program_test {

namespace fs = std::filesystem;

struct RunResult {
    int ExitCode = -1;
    std::string Output;
};

// What a shell command prints, and its exit code.
inline RunResult Capture(const std::string& command)
{
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        result.Output += buffer;
    const int status = pclose(pipe);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// Every wait is bounded, so a program that hangs fails its test instead of the suite.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(30))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

inline size_t IndexOf(const std::vector<std::string>& lines, const std::string& line, size_t from = 0)
{
    const auto at = std::find(lines.begin() + std::min(from, lines.size()), lines.end(), line);
    return at == lines.end() ? std::string::npos : static_cast<size_t>(at - lines.begin());
}

// The program's data folders, as the build lays them out beside it, copied into dir.
inline void CopyDataTree(const std::string& dir)
{
    const fs::path built = fs::path(TAMSEL_BINARY).parent_path();
    for (const char* folder : {"shaders", "textures", "models"})
        fs::copy(built / folder, fs::path(dir) / folder, fs::copy_options::recursive);
}

// A copy of the program in a scratch directory, so its console.txt and its
// screenshots land there; installed brings the settings and the data tree.
class ProgramCopy {
public:
    explicit ProgramCopy(bool installed)
    {
        const fs::path binary(TAMSEL_BINARY);
        fs::copy_file(binary, Binary());
        if (!installed)
            return;
        fs::copy_file(binary.parent_path() / "tamsel.ini", Dir.File("tamsel.ini"));
        CopyDataTree(Dir.Path);
    }

    std::string Binary() const { return Dir.File("tamsel"); }
    std::vector<std::string> Console() const { return ReadTextLines(Dir.File("console.txt")); }
    // Whether the log holds line at or after index from.
    bool Logged(const std::string& line, size_t from = 0) const
    {
        return IndexOf(Console(), line, from) != std::string::npos;
    }
    // Standard error only; environment is a list of NAME=value settings for the run.
    RunResult Run(const std::string& arguments, const std::string& environment = std::string()) const
    {
        return Capture(environment + " '" + Binary() + "' " + arguments + " 2>&1 >/dev/null");
    }
    bool WaitForScene() const
    {
        return WaitUntil([&] { return Logged("ZOT GL: Scene initialized: \"ZOT App Scene\"!"); });
    }

    TempDir Dir;
};

// The program started without a frame limit, as a user would start it; it is
// killed if the test leaves it running.
class RunningProgram {
public:
    explicit RunningProgram(const ProgramCopy& program, std::vector<std::string> arguments = {})
    {
        arguments.insert(arguments.begin(), {"tamsel", "--no-dialogs"});
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        const std::string binary = program.Binary();
        Pid = fork();
        if (Pid == 0) {
            execv(binary.c_str(), argv.data());
            _exit(127);
        }
    }
    ~RunningProgram()
    {
        if (Running()) {
            kill(Pid, SIGKILL);
            waitpid(Pid, nullptr, 0);
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Running()
    {
        if (Pid > 0 && !Reaped && waitpid(Pid, &Status, WNOHANG) == Pid)
            Reaped = true;
        return Pid > 0 && !Reaped;
    }

    // The exit code, or -1 when the program did not end normally in time.
    int WaitForExit()
    {
        return WaitUntil([this] { return !Running(); }) && WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    }

    pid_t Pid = -1;
    int Status = 0;
    bool Reaped = false;
};

// The first line xdotool prints, empty when it fails or takes too long.
inline std::string Xdotool(const std::string& arguments)
{
    const std::string output = Capture("timeout 30 xdotool " + arguments + " 2>/dev/null").Output;
    return output.substr(0, output.find_first_of("\r\n"));
}

inline bool HasXdotool() { return std::system("command -v xdotool >/dev/null 2>&1") == 0; }

// An X server of the test's own, DISPLAY while it lives. Without a window
// manager every window shown takes the focus, so a program another test
// starts meanwhile would take the keys a test holds down.
class OwnDisplay {
public:
    OwnDisplay()
    {
        if (std::system("command -v Xvfb >/dev/null 2>&1") != 0)
            return;
        int channel[2];
        if (pipe(channel) != 0)
            return;
        Pid = fork();
        if (Pid == 0) {
            close(channel[0]);
            const std::string fd = std::to_string(channel[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(channel[1]);
        // The server writes its number once it takes clients; if it fails, the pipe just closes.
        FILE* in = fdopen(channel[0], "r");
        int number = -1;
        if (in && std::fscanf(in, "%d", &number) == 1) {
            if (const char* previous = std::getenv("DISPLAY"))
                Previous = previous;
            setenv("DISPLAY", (":" + std::to_string(number)).c_str(), 1);
            Ready = true;
        }
        if (in)
            std::fclose(in);
    }
    ~OwnDisplay()
    {
        if (Ready)
            Previous.empty() ? unsetenv("DISPLAY") : setenv("DISPLAY", Previous.c_str(), 1);
        if (Pid > 0) {
            kill(Pid, SIGTERM);
            waitpid(Pid, nullptr, 0);
        }
    }
    OwnDisplay(const OwnDisplay&) = delete;
    OwnDisplay& operator=(const OwnDisplay&) = delete;

    bool Ready = false;

private:
    pid_t Pid = -1;
    std::string Previous;
};

}  // namespace program_test
