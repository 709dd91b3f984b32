#pragma once

// Password hashes for tests, made with the least work argon2id allows, so
// that a test can check many passwords quickly. The product verifies them as
// any other: the work is written in the hash.

#include <sodium.h>

#include <stdexcept>
#include <string>

namespace userstest {

inline std::string CheapHash(const std::string& password) {
    if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_MIN,
                          crypto_pwhash_MEMLIMIT_MIN) != 0) {
        throw std::runtime_error("crypto_pwhash_str failed");
    }
    return out;
}

}  // namespace userstest
