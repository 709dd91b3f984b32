// Long fuzz run of the grain-sim script parser: script-fuzz [scripts [seed]].
// Every script must parse without a fault into an error or commands within
// the plant's bounds. The first failing script is written to
// script-fuzz-failure.txt.

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "tests/tools/fuzz/ScriptFuzz.h"

int main(int argc, char** argv) {
    const long scripts = argc > 1 ? std::atol(argv[1]) : 100000;
    const auto seed = static_cast<uint32_t>(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1);
    scriptfuzz::ScriptGenerator generator(seed);
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < scripts; ++i) {
        const std::string bytes = generator.Next();
        const std::string problems = scriptfuzz::CheckParse(bytes);
        if (!problems.empty()) {
            std::ofstream("script-fuzz-failure.txt", std::ios::binary) << bytes;
            std::cerr << "script " << i << " (seed " << seed << "): " << problems
                      << "\nwritten to script-fuzz-failure.txt\n";
            return 1;
        }
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::cout << scripts << " scripts, seed " << seed << ", no fault, " << elapsed.count()
              << " s\n";
    return 0;
}
