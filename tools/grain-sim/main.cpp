// grain-sim: runs the plant's controller cycle without a screen, driven by a
// script, and prints journal entries, sounds and table dumps as text lines;
// or runs it in real time and serves it over Modbus TCP.
//   grain-sim [--state FILE] [--archive FILE [--start ISO-TIME]] [SCRIPT]
//   grain-sim --serve [ADDRESS:]PORT [--state FILE] [--faults]
//   grain-sim --help
// The script is read from SCRIPT or standard input and checked as a whole
// before anything runs. Exit status:
//   0 the script ran to its end; serving stopped on a signal; --help
//   1 a state file could not be written (the run stops at that line)
//   2 bad arguments, a bad or unreadable script, an unreadable state file
//   3 standard output could not be written (the run stops)
//   4 a state file the script saves (or serving saves) is in use by a running
//     console or another grain-sim (nothing runs)
//   5 serving could not listen on the address and port
//   6 the archive could not be written (the run went to its end)

#include <QtCore/QLockFile>
#include <QtCore/QString>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <list>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "archive/Archive.h"
#include "tools/grain-sim/Runner.h"
#include "tools/grain-sim/Script.h"
#include "tools/grain-sim/Serve.h"
#include "tools/grain-sim/StartTime.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kUnwritableOutput = 3;
constexpr int kStateInUse = 4;
constexpr int kArchiveFailed = 6;

constexpr const char* kUsage =
    "usage: grain-sim [--state FILE] [--archive FILE [--start ISO-TIME]] [SCRIPT]\n"
    "       grain-sim --serve [ADDRESS:]PORT [--state FILE] [--faults]\n";

int Usage(const std::string& what) {
    std::cerr << "grain-sim: " << what << '\n' << kUsage;
    return kUsageError;
}

// --help: the usage and the script's commands, on standard output.
int Help() {
    std::cout << kUsage
              << "Runs the plant's controller cycle on a script (from SCRIPT, or standard input\n"
                 "when it is missing or '-'), one command a line; a '#' that begins a word\n"
                 "starts a comment:\n"
                 "  tick [N]                 N controller cycles of 300 ms (default 1)\n"
                 "  dev I CODE               command CODE to device I (1-18): 1 open / on,\n"
                 "                           2 close / off, 3 stop, 10 reset alarm, 20 local,\n"
                 "                           21 remote, 22 automatic, 23 repair\n"
                 "  route R start|stop       a confirmed click on route R (1-12)\n"
                 "  fault I trip|jam|clear   a trainer fault for device I\n"
                 "  vagon R                  one second of the wagon timer, random draw R (0-199)\n"
                 "  reset | print | alarms | save FILE\n"
                 "--archive FILE records the run's journal entries and plant samples in the\n"
                 "event archive FILE (created when missing), stamped with the plant's time:\n"
                 "--start (ISO 8601, local time unless an offset or Z follows; default now)\n"
                 "plus 300 ms per cycle.\n"
                 "With --serve it runs the plant in real time and serves it over Modbus TCP\n"
                 "(127.0.0.1 unless ADDRESS is given; --faults adds the trainer-fault\n"
                 "registers) until Ctrl+C, then saves --state FILE.\n";
    if (std::cout.flush()) return 0;
    std::cerr << "grain-sim: cannot write to standard output\n";
    return kUnwritableOutput;
}

std::set<std::string> SavedFiles(const grainsim::Script& script) {
    std::set<std::string> files;
    for (const grainsim::Command& command : script.commands) {
        if (command.verb == grainsim::Command::Verb::Save) files.insert(command.file);
    }
    return files;
}

// The lock of every file the run saves, the one the console holds on its
// state file ("FILE.lock", Qt's lock file), so neither overwrites what the
// other saves. A lock left by a program that is gone is taken over; a folder
// that cannot hold a lock file goes without.
bool LockSavedFiles(const std::set<std::string>& files, std::list<QLockFile>& locks) {
    for (const std::string& file : files) {
        QLockFile& lock = locks.emplace_back(QString::fromStdString(file + ".lock"));
        if (!lock.tryLock(0) && lock.error() == QLockFile::LockFailedError) {
            std::cerr << "grain-sim: state file '" << file << "' is in use by another program\n";
            return false;
        }
    }
    return true;
}

// Starts the plant from the state file and runs `run` on it.
template <typename Run>
int StartAndRun(const std::string& statePath, Run run) {
    grainsim::Runner runner(std::cout, std::cerr);
    if (const auto failure = runner.Start(statePath)) {
        std::cerr << "grain-sim: cannot read state file '" << statePath << "': " << *failure
                  << '\n';
        return kUsageError;
    }
    return run(runner);
}

// The archive a script's run is recorded in, and what it reported.
class RunArchive {
public:
    // Opens the file; returns the exit status that refuses the run, 0 when open.
    int Open(const std::string& path, const archive::Stamp& start) {
        archive::Options options;
        // Retention counts from the run's start, not from the day it is run.
        options.utcNowMs = [start] { return start.utcMs; };
        archive::Events events;
        // Told once, at the end: a failure may mend itself while the run goes on.
        events.failed = [this](const archive::Fault& fault) {
            const std::lock_guard lock(mutex_);
            failure_ = fault.reason;
        };
        archive_ = std::make_unique<archive::Archive>(std::move(options), std::move(events));
        const archive::OpenResult opened = archive_->Open(path);
        if (opened) return 0;
        std::cerr << "grain-sim: archive " << opened.error << '\n';
        const bool inUse = opened.error.ends_with("in use by another program");
        return inUse ? kStateInUse : kUsageError;
    }
    archive::Archive& Get() { return *archive_; }
    // Waits until everything is in the file; the exit status then.
    int Finish(const std::string& path, int status) {
        if (archive_->Flush()) return status;
        const std::lock_guard lock(mutex_);
        std::cerr << "grain-sim: archive '" << path << "' is missing entries: "
                  << (failure_.empty() ? "not written in time" : failure_) << '\n';
        return status != 0 ? status : kArchiveFailed;
    }

private:
    std::unique_ptr<archive::Archive> archive_;
    std::mutex mutex_;  // the writer thread reports failures
    std::string failure_;
};

// Serving saves the state file on the way out, so it holds the file's lock
// from the start.
int ServeFromStateFile(const grainsim::ServeOptions& serve) {
    std::list<QLockFile> locks;
    if (!serve.statePath.empty() && !LockSavedFiles({serve.statePath}, locks)) return kStateInUse;
    return StartAndRun(serve.statePath, [&serve](grainsim::Runner& runner) {
        return grainsim::Serve(runner, serve, std::cout, std::cerr);
    });
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that goes away (a closed pipe) makes writes fail, which the run
    // reports, instead of ending the program unsaved.
    std::signal(SIGPIPE, SIG_IGN);

    std::string statePath;
    std::string archivePath;
    std::string startText;
    std::string scriptPath;
    bool haveScript = false;
    bool serving = false;
    grainsim::ServeOptions serve;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--state") {
            if (i + 1 >= argc) return Usage("--state needs a file name");
            statePath = argv[++i];
        } else if (arg == "--archive") {
            if (i + 1 >= argc) return Usage("--archive needs a file name");
            archivePath = argv[++i];
            if (archivePath.empty()) return Usage("--archive needs a file name");
        } else if (arg == "--start") {
            if (i + 1 >= argc) return Usage("--start needs a time");
            startText = argv[++i];
        } else if (arg == "--serve") {
            if (i + 1 >= argc) return Usage("--serve needs [ADDRESS:]PORT");
            if (const auto wrong = grainsim::ParseServeAddress(argv[++i], serve)) {
                return Usage("--serve: " + *wrong);
            }
            serving = true;
        } else if (arg == "--faults") {
            serve.faults = true;
        } else if (arg == "--help" || arg == "-h") {
            return Help();
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option '" + arg + "'");
        } else if (haveScript) {
            return Usage("more than one script given");
        } else {
            scriptPath = arg;
            haveScript = true;
        }
    }

    if (serve.faults && !serving) return Usage("--faults is an option of --serve");
    if (!startText.empty() && archivePath.empty())
        return Usage("--start is an option of --archive");
    archive::Stamp start = archive::LocalNow();
    if (!startText.empty()) {
        const std::optional<archive::Stamp> parsed = grainsim::ParseStartTime(startText);
        if (!parsed) return Usage("--start: '" + startText + "' is no date and time");
        start = *parsed;
    }
    if (serving) {
        if (haveScript) return Usage("--serve runs no script");
        if (!archivePath.empty()) return Usage("--archive records a script's run, not --serve");
        serve.statePath = statePath;
        return ServeFromStateFile(serve);
    }

    grainsim::Script script;
    if (haveScript && scriptPath != "-") {
        std::error_code error;
        if (std::filesystem::is_directory(scriptPath, error)) {
            std::cerr << "grain-sim: script '" << scriptPath << "' is a folder\n";
            return kUsageError;
        }
        std::ifstream file(scriptPath);
        if (!file) {
            std::cerr << "grain-sim: cannot open script '" << scriptPath << "'\n";
            return kUsageError;
        }
        script = grainsim::ParseScript(file);
    } else {
        script = grainsim::ParseScript(std::cin);
    }
    if (script.error) {
        std::cerr << "grain-sim: line " << script.error->line << ": " << script.error->what << '\n';
        return kUsageError;
    }

    std::list<QLockFile> locks;
    if (!LockSavedFiles(SavedFiles(script), locks)) return kStateInUse;
    RunArchive archive;
    if (!archivePath.empty()) {
        if (const int refused = archive.Open(archivePath, start); refused != 0) return refused;
    }
    return StartAndRun(statePath, [&](grainsim::Runner& runner) {
        if (archivePath.empty()) return runner.Run(script.commands);
        runner.RecordIn(archive.Get(), start);
        return archive.Finish(archivePath, runner.Run(script.commands));
    });
}
