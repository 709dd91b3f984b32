#pragma once

// Running the real console program as a process, for the tests of tests/app.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace console_process {

namespace fs = std::filesystem;

constexpr int kWaitMs = 60000;  // generous: the sanitizer build starts slowly

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The environment of this process with some variables replaced.
class Environment {
public:
    explicit Environment(const std::vector<std::string>& replaced) {
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            bool keep = true;
            for (const std::string& r : replaced) {
                if (entry.starts_with(r.substr(0, r.find('=') + 1))) keep = false;
            }
            if (keep) entries_.push_back(entry);
        }
        entries_.insert(entries_.end(), replaced.begin(), replaced.end());
        for (std::string& entry : entries_) pointers_.push_back(entry.data());
        pointers_.push_back(nullptr);
    }
    char** Get() { return pointers_.data(); }

private:
    std::vector<std::string> entries_;
    std::vector<char*> pointers_;
};

inline pid_t Spawn(const std::vector<std::string>& arguments, Environment environment,
                   const posix_spawn_file_actions_t* actions = nullptr) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], actions, nullptr, argv.data(), environment.Get()) != 0) {
        return -1;
    }
    return pid;
}

// The exit status, or 1000 + the signal that ended the process.
inline int WaitForExit(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

// A scratch folder per test with the console program in it (the state file
// lies beside the executable, so the program runs from there); a console
// still running at the end is killed.
class ScratchConsole : public testing::Test {
protected:
    ScratchConsole() {
        std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : test) {
            if (c == '/') c = '_';
        }
        folder_ = fs::path(testing::TempDir()) /
                  ("console-process-" + std::to_string(::getpid()) + "-" + test);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        program_ = folder_ / "GrainTerminal";
        std::error_code error;
        fs::create_hard_link(GRAIN_TERMINAL, program_, error);
        if (error) fs::copy_file(GRAIN_TERMINAL, program_);
        state_ = folder_ / "GrainTerminal.INI";
    }
    ~ScratchConsole() override {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            WaitForExit(pid_);
        }
        fs::remove_all(folder_);
    }

    int Exit() {
        const int status = WaitForExit(pid_);
        pid_ = -1;
        return status;
    }

    fs::path folder_, program_, state_;
    pid_t pid_ = -1;
};

}  // namespace console_process
