// grain-sim: runs the plant's controller cycle without a screen, driven by a
// script, and prints journal entries, sounds and table dumps as text lines.
//   grain-sim [--state FILE] [SCRIPT]
// The script is read from SCRIPT or standard input and checked as a whole
// before anything runs. Exit status: 0 done, 1 a state file could not be
// written, 2 bad arguments or a bad script.

#include <fstream>
#include <iostream>
#include <string>

#include "tools/grain-sim/Runner.h"
#include "tools/grain-sim/Script.h"

namespace {

constexpr int kUsageError = 2;

int Usage(const std::string& what) {
    std::cerr << "grain-sim: " << what << "\nusage: grain-sim [--state FILE] [SCRIPT]\n";
    return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
    std::string statePath;
    std::string scriptPath;
    bool haveScript = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--state") {
            if (i + 1 >= argc) return Usage("--state needs a file name");
            statePath = argv[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage("unknown option '" + arg + "'");
        } else if (haveScript) {
            return Usage("more than one script given");
        } else {
            scriptPath = arg;
            haveScript = true;
        }
    }

    grainsim::Script script;
    if (haveScript && scriptPath != "-") {
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

    grainsim::Runner runner(std::cout, std::cerr);
    runner.Start(statePath);
    return runner.Run(script.commands);
}
