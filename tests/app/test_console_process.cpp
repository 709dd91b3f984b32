#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/app/ConsoleProcess.h"

// Runs the real console program as a process, beside a state file in a scratch
// folder, and checks what the file holds after the session ends otherwise than
// by "Выход".

namespace {

using namespace console_process;

class ConsoleProcess : public ScratchConsole {
protected:
    // Starts the console and waits until start-up has read the state file:
    // from then on the tables hold the plant. False when it never did.
    bool StartAndWaitForTheStateFile(const std::vector<std::string>& environment) {
        std::ofstream(state_, std::ios::binary) << kInitialState;
        const int watch = ::inotify_init1(IN_CLOEXEC);
        ::inotify_add_watch(watch, state_.c_str(), IN_CLOSE_NOWRITE);
        pid_ = Spawn({program_.string()}, Environment(environment));
        pollfd ready{watch, POLLIN, 0};
        const bool read = pid_ > 0 && ::poll(&ready, 1, kWaitMs) == 1;
        ::close(watch);
        return read;
    }

    // What a close writes: every key, Auto as Remote.
    void ExpectSaved() {
        const std::string text = ReadFile(state_);
        EXPECT_TRUE(text.starts_with("[Dev3]\nMode=1\nName=Задвижка М3\n")) << text;
        EXPECT_TRUE(text.ends_with("[Shipping]\nMassa=0\n")) << text;
        EXPECT_FALSE(fs::exists(folder_ / "GrainTerminal.INI.lock"));
    }

    static constexpr const char* kInitialState = "[Dev3]\r\nMode=2\r\n";
};

struct Ending {
    const char* name;
    int signal;
};
void PrintTo(const Ending& kind, std::ostream* os) {
    *os << kind.name;
}

class ConsoleSignal : public ConsoleProcess, public testing::WithParamInterface<Ending> {};

TEST_P(ConsoleSignal, SavesWithoutAQuestionAndExitsWithTheSignalsCode) {
    ASSERT_TRUE(StartAndWaitForTheStateFile({"QT_QPA_PLATFORM=offscreen"}));
    ASSERT_EQ(::kill(pid_, GetParam().signal), 0);
    EXPECT_EQ(Exit(), 128 + GetParam().signal);
    ExpectSaved();
}

INSTANTIATE_TEST_SUITE_P(Shutdown, ConsoleSignal,
                         testing::Values(Ending{"Term", SIGTERM}, Ending{"Interrupt", SIGINT},
                                         Ending{"HangUp", SIGHUP}),
                         [](const auto& info) { return std::string(info.param.name); });

// Starts a virtual X server that listens on a local socket only; its display
// number, or -1.
int StartXServer(pid_t& server) {
    int pipe[2];
    if (::pipe(pipe) != 0) return -1;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addclose(&actions, pipe[0]);
    server = Spawn({"/usr/bin/Xvfb", "-displayfd", std::to_string(pipe[1]), "-nolisten", "tcp",
                    "-screen", "0", "1280x1024x24"},
                   Environment({}), &actions);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    std::string number;
    char c = 0;
    pollfd ready{pipe[0], POLLIN, 0};
    while (::poll(&ready, 1, kWaitMs) == 1 && ::read(pipe[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    ::close(pipe[0]);
    return server > 0 && !number.empty() ? std::stoi(number) : -1;
}

TEST_F(ConsoleProcess, LostDisplaySavesBeforeTheProgramEnds) {
    if (!fs::exists("/usr/bin/Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
    pid_t server = -1;
    const int display = StartXServer(server);
    ASSERT_GE(display, 0);
    const bool started =
        StartAndWaitForTheStateFile({"QT_QPA_PLATFORM=xcb", "DISPLAY=:" + std::to_string(display)});
    ::kill(server, SIGTERM);
    WaitForExit(server);
    ASSERT_TRUE(started);
    EXPECT_EQ(Exit(), 1);  // the toolkit ends the program on a broken connection
    ExpectSaved();
}

}  // namespace
