// Long fuzz run of the users-file parser: users-fuzz [files [seed]].
// Every file must be read into usable users that read back the same, or be
// refused with its line and a one-line reason. The first failing file is
// written to users-fuzz-failure.users.

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "tests/users/fuzz/UsersFuzz.h"

int main(int argc, char** argv) {
    const long files = argc > 1 ? std::atol(argv[1]) : 200000;
    const auto seed = static_cast<uint32_t>(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1);
    usersfuzz::FileGenerator generator(seed);
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < files; ++i) {
        const std::string bytes = generator.Next();
        const std::string problems = usersfuzz::CheckParse(bytes);
        if (!problems.empty()) {
            std::ofstream("users-fuzz-failure.users", std::ios::binary) << bytes;
            std::cerr << "file " << i << " (seed " << seed << "): " << problems
                      << "\nwritten to users-fuzz-failure.users\n";
            return 1;
        }
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::cout << files << " files, seed " << seed << ", no fault, " << elapsed.count() << " s\n";
    return 0;
}
