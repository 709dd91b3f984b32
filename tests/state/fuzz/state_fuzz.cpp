// Long fuzz run of the state-file loader: state-fuzz [files [seed]].
// Every file must load with every value in range; every fifth is also saved and
// read back. The first failing file is written to state-fuzz-failure.INI.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "tests/state/fuzz/StateFuzz.h"

int main(int argc, char** argv) {
    const long files = argc > 1 ? std::atol(argv[1]) : 200000;
    const auto seed = static_cast<uint32_t>(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1);
    statefuzz::FileGenerator generator(seed);
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < files; ++i) {
        const std::string bytes = generator.Next();
        std::string problems = statefuzz::CheckLoad(bytes);
        if (problems.empty() && i % 5 == 0) problems = statefuzz::CheckRoundTrip(bytes);
        if (!problems.empty()) {
            std::ofstream("state-fuzz-failure.INI", std::ios::binary) << bytes;
            std::cerr << "file " << i << " (seed " << seed << "): " << problems
                      << "\nwritten to state-fuzz-failure.INI\n";
            return 1;
        }
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::cout << files << " files, seed " << seed << ", no fault, " << elapsed.count() << " s\n";
    return 0;
}
