#include "users/Password.h"

#include <sodium.h>

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace users {

namespace {

// sodium_init() picks the fastest code for this processor and sets up the
// random source; it may be called again and from any thread.
bool SodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

constexpr std::string_view kArgon2idPrefix = "$argon2id$";

// The characters of the text form: the prefix, the parameters and the
// unpadded base64 of salt and hash.
bool IsHashCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '$' ||
           c == '=' || c == ',' || c == '+' || c == '/';
}

// The number after `key` (as "m=") at the start of `text`, which it moves past.
std::optional<uint64_t> TakeParameter(std::string_view& text, std::string_view key) {
    if (!text.starts_with(key)) return std::nullopt;
    text.remove_prefix(key.size());
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

// A hash edited to ask for terabytes or millions of passes would hold the
// console for hours at the next sign-in: no hash may cost more than the
// library's strongest preset (4 passes over 1 GiB).
bool AffordableParameters(std::string_view text) {
    text.remove_prefix(kArgon2idPrefix.size());
    if (!text.starts_with("v=19$")) return false;
    text.remove_prefix(5);
    const std::optional<uint64_t> kibibytes = TakeParameter(text, "m=");
    const std::optional<uint64_t> passes = TakeParameter(text, ",t=");
    if (!kibibytes || !passes) return false;
    constexpr uint64_t kMostWork =
        crypto_pwhash_OPSLIMIT_SENSITIVE * (crypto_pwhash_MEMLIMIT_SENSITIVE / 1024);
    return *kibibytes <= crypto_pwhash_MEMLIMIT_SENSITIVE / 1024 && *passes <= kMostWork &&
           *kibibytes * *passes <= kMostWork;
}

}  // namespace

Password::Password(std::string_view text) {
    for (const char c : text) {
        if (!Append(c)) {
            overflowed_ = true;
            break;
        }
    }
}

Password::~Password() {
    Wipe();
}

bool Password::Append(char c) {
    if (size_ == bytes_.size()) return false;
    bytes_[size_++] = c;
    return true;
}

void Password::DropLast() {
    if (size_ == 0) return;
    bytes_[--size_] = '\0';
}

void Password::Wipe() {
    sodium_memzero(bytes_.data(), bytes_.size());
    size_ = 0;
    overflowed_ = false;
}

void WipeString(std::string& text) {
    if (!text.empty()) sodium_memzero(text.data(), text.size());
    text.clear();
}

void WipeBytes(void* data, std::size_t size) {
    if (size > 0) sodium_memzero(data, size);
}

std::optional<std::string> HashPassword(const Password& password) {
    if (!SodiumReady()) return std::nullopt;
    std::array<char, crypto_pwhash_STRBYTES> out{};
    const std::string_view text = password.View();
    if (crypto_pwhash_str(out.data(), text.data(), text.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
        return std::nullopt;
    }
    return std::string(out.data());
}

bool VerifyPassword(const std::string& hash, const Password& password) {
    if (!SodiumReady() || !IsPasswordHash(hash)) return false;
    const std::string_view text = password.View();
    return crypto_pwhash_str_verify(hash.c_str(), text.data(), text.size()) == 0;
}

bool IsPasswordHash(std::string_view text) {
    if (!text.starts_with(kArgon2idPrefix) || text.size() >= crypto_pwhash_STRBYTES ||
        !std::all_of(text.begin(), text.end(), IsHashCharacter) || !AffordableParameters(text)) {
        return false;
    }
    // Only the form is read here: -1 means it cannot be parsed (or is not
    // argon2id); 0 and 1 say whether its parameters match the ones given.
    const std::string terminated(text);
    return crypto_pwhash_str_needs_rehash(terminated.c_str(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                          crypto_pwhash_MEMLIMIT_INTERACTIVE) >= 0;
}

}  // namespace users
