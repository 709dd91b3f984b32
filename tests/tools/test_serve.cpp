#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLockFile>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// grain-sim --serve as a user runs it: the real binary on an ephemeral loopback
// port, watched and commanded with the real mbpoll client, stopped with SIGTERM.

namespace {

// grain-sim --serve in a child process, its standard output in a pipe.
class ServedPlant {
public:
    explicit ServedPlant(const std::string& statePath) {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(pipeEnds[1], STDOUT_FILENO);
            ::close(pipeEnds[0]);
            ::close(pipeEnds[1]);
            ::execl(GRAIN_SIM, "grain-sim", "--serve", "127.0.0.1:0", "--state", statePath.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(pipeEnds[1]);
        output_ = ::fdopen(pipeEnds[0], "r");
        const std::string first = NextLine();
        std::smatch match;
        if (std::regex_match(first, match,
                             std::regex("# serving Modbus TCP on 127\\.0\\.0\\.1:(\\d+)"))) {
            port_ = std::stoi(match[1]);
        }
        listening_ = first;
    }
    ~ServedPlant() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (output_) ::fclose(output_);
    }
    ServedPlant(const ServedPlant&) = delete;
    ServedPlant& operator=(const ServedPlant&) = delete;

    int Port() const { return port_; }
    const std::string& ListeningLine() const { return listening_; }

    // Sends SIGTERM and waits for the exit; the exit status, -1 after a crash.
    int Terminate() {
        ::kill(pid_, SIGTERM);
        int raw = 0;
        ::waitpid(pid_, &raw, 0);
        pid_ = -1;
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    // The lines written after the listening line, up to the end of the output.
    std::vector<std::string> RestOfOutput() {
        std::vector<std::string> lines;
        for (std::string line = NextLine(); !line.empty(); line = NextLine()) lines.push_back(line);
        return lines;
    }

private:
    std::string NextLine() {
        std::string line;
        for (int c; output_ && (c = std::fgetc(output_)) != EOF && c != '\n';) line += char(c);
        return line;
    }

    pid_t pid_ = -1;
    FILE* output_ = nullptr;
    int port_ = 0;
    std::string listening_;
};

// One mbpoll run: its exit status and the registers it printed ("[300]: 	7").
struct Poll {
    int status = -1;
    std::map<int, long> values;
    std::string text;
};

Poll Mbpoll(int port, const std::string& arguments) {
    const std::string command =
        std::string(MBPOLL) + " -1 -0 " + arguments + " -p " + std::to_string(port) + " 2>&1";
    Poll poll;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return poll;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) poll.text += buffer;
    const int raw = ::pclose(pipe);
    poll.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    static const std::regex value(R"(^\[(\d+)\]:\s+(-?\d+)$)");
    std::istringstream lines(poll.text);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_match(line, match, value))
            poll.values[std::stoi(match[1])] = std::stol(match[2]);
    }
    return poll;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The cycle of the first journal line that holds `text`; -1 when none does.
long CycleOf(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& line : lines) {
        if (line.rfind("J ", 0) == 0 && line.find(text) != std::string::npos) {
            return std::stol(line.substr(2));
        }
    }
    return -1;
}

TEST(GrainSimServe, MbpollWatchesTheSilosAndOpensAValveInRemoteMode) {
    const std::string state =
        ::testing::TempDir() + "grain_sim_serve_" + std::to_string(::getpid()) + ".INI";
    std::filesystem::remove(state);
    ServedPlant plant(state);
    ASSERT_NE(plant.Port(), 0) << plant.ListeningLine();
    const int port = plant.Port();

    // Silo stocks in tenths of a tonne, 32-bit, high word first.
    const long stocks[] = {150000, 45000, 112500, 75000};
    for (int n = 0; n < 4; ++n) {
        const int address = 200 + 4 * n;
        const Poll silo = Mbpoll(port, "-t 3:int -B -r " + std::to_string(address) + " 127.0.0.1");
        ASSERT_EQ(silo.status, 0) << silo.text;
        EXPECT_EQ(silo.values.at(address), stocks[n]) << silo.text;
    }

    // Valve М1: Remote mode first, then open, as from its panel.
    ASSERT_EQ(Mbpoll(port, "-t 4 -r 0 127.0.0.1 21").status, 0);
    Poll valve;
    for (int k = 0; k < 100 && valve.values[0] != 1; ++k) {
        valve = Mbpoll(port, "-t 3 -r 0 -c 4 127.0.0.1");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_EQ(valve.values[0], 1) << valve.text;  // Remote
    ASSERT_EQ(Mbpoll(port, "-t 4 -r 0 127.0.0.1 1").status, 0);
    long cycles = 0;
    auto open = [&valve] { return valve.values.count(1) == 1 && valve.values[1] == 0; };
    for (int k = 0; k < 400 && !open(); ++k) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        valve = Mbpoll(port, "-t 3 -r 0 -c 4 127.0.0.1");
        cycles = Mbpoll(port, "-t 3:int -B -r 300 127.0.0.1").values[300];
    }
    EXPECT_TRUE(open()) << valve.text;
    EXPECT_EQ(valve.values[2], 90);

    EXPECT_EQ(plant.Terminate(), 0);
    const std::vector<std::string> lines = plant.RestOfOutput();
    std::string all;
    for (const std::string& line : lines) all += line + '\n';
    // As in a script (dev 1 1, tick 31): the cycle that takes the command over
    // announces it, and the valve is reported open 31 cycles later.
    const long taken = CycleOf(lines, "Задвижка М1 Получена команда - \\r\\t\"ОТКРЫТЬ\"");
    const long opened = CycleOf(lines, "Задвижка М1 Изменение состояния - \\r\\t\"ОТКРЫТО\"");
    ASSERT_GT(taken, 0) << all;
    EXPECT_EQ(opened - taken, 31) << all;
    EXPECT_GE(cycles, opened);

    const std::string saved = Slurp(state);
    EXPECT_NE(saved.find("[Dev1]\nName=Задвижка М1\nMode=1\nState=0\nUngle=90\n"),
              std::string::npos)
        << saved;
    EXPECT_FALSE(std::filesystem::exists(state + ".lock"));
    std::filesystem::remove(state);
}

// Runs `body` in a child process that ends without releasing anything, as a
// crash would.
template <typename Body>
void InCrashingChild(Body body) {
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
}

// The console holds "<state file>.lock" with QLockFile (console::StateLock);
// serving grain-sim holds the same lock on its state file.
TEST(StateFileLock, RunnerAndConsoleExcludeEachOtherAndTakeOverWhatACrashLeft) {
    const std::string state =
        ::testing::TempDir() + "grain_sim_lock_" + std::to_string(::getpid()) + ".INI";
    const std::string lock = state + ".lock";
    std::filesystem::remove(state);
    {
        ServedPlant plant(state);
        ASSERT_NE(plant.Port(), 0) << plant.ListeningLine();
        QLockFile console(QString::fromStdString(lock));
        EXPECT_FALSE(console.tryLock(0));
        EXPECT_EQ(console.error(), QLockFile::LockFailedError);
    }  // killed, leaving its lock behind
    ASSERT_TRUE(std::filesystem::exists(lock));
    {
        QLockFile console(QString::fromStdString(lock));
        EXPECT_TRUE(console.tryLock(0));
    }

    InCrashingChild([&] {
        auto* crashed = new QLockFile(QString::fromStdString(lock));  // never released
        crashed->tryLock(0);
    });
    ASSERT_TRUE(std::filesystem::exists(lock));
    ServedPlant plant(state);
    ASSERT_NE(plant.Port(), 0) << plant.ListeningLine();
    EXPECT_EQ(plant.Terminate(), 0);
    EXPECT_NE(Slurp(state).find("[Shipping]"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(lock));
    std::filesystem::remove(state);
}

}  // namespace
