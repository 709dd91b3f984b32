#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace users {

// A typed password in a buffer of its own that is wiped when the password is
// dropped, so it does not linger in freed memory. It never grows (a growing
// string would leave copies behind); what does not fit is refused.
class Password {
public:
    static constexpr std::size_t kMaxBytes = 1024;

    Password() = default;
    // Copies `text`; the caller wipes its own copy (WipeString).
    explicit Password(std::string_view text);
    ~Password();
    Password(const Password&) = delete;
    Password& operator=(const Password&) = delete;

    // False, and the password left as it was, when it is full.
    bool Append(char c);
    // Drops the last byte, as a backspace would.
    void DropLast();
    void Wipe();

    std::string_view View() const { return {bytes_.data(), size_}; }
    bool Empty() const { return size_ == 0; }
    // True when more was offered than the buffer holds (see Password(text)).
    bool Overflowed() const { return overflowed_; }

private:
    std::array<char, kMaxBytes> bytes_{};
    std::size_t size_ = 0;
    bool overflowed_ = false;
};

// Overwrites a string's characters with zeros and empties it.
void WipeString(std::string& text);
// Overwrites `size` bytes at `data` with zeros, in a way the compiler keeps.
void WipeBytes(void* data, std::size_t size);

// An argon2id hash of the password with a random salt, in the text form that
// holds its own parameters ("$argon2id$v=19$m=…"), strong enough for
// interactive sign-in; nothing when the system has not the memory for it.
std::optional<std::string> HashPassword(const Password& password);

// Whether `password` is the one `hash` was made from. A hash that is not one
// of ours (see IsPasswordHash) matches no password.
bool VerifyPassword(const std::string& hash, const Password& password);

// Whether `text` is an argon2id hash in its text form with usable parameters.
// It checks the form only and does not hash anything.
bool IsPasswordHash(std::string_view text);

}  // namespace users
