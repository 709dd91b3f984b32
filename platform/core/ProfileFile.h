#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// An INI profile: "[Section]" lines and "Key=Value" lines. Sections and keys are
// found by name, case-insensitively, in any order; where a name repeats, the
// first one counts. Everything the program does not write itself (other
// sections and keys, comments) is kept and written back unchanged.
//
// Text is held as UTF-8 and written so. A file is read as UTF-16 when it starts
// with a UTF-16 byte-order mark; otherwise each line that is not valid UTF-8 is
// taken as Windows-1251, so files written on a Russian Windows system keep
// their names. Lines the profile cannot use (a section header without its "]"
// and the keys under it, a line that is no entry) are not read but written back
// as they stand.
class ProfileFile {
public:
    // Longest value text a read returns, in characters.
    static constexpr std::size_t kValueLimit = 2047;

    ProfileFile();
    ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    // Reads the file at `path`. A missing file gives an empty profile and
    // counts as success; false means it exists but could not be read, and
    // `failure` (when given) receives why, as the system words it.
    bool Load(const std::string& path, std::string* failure = nullptr);
    // Replaces the profile with INI text.
    void Parse(std::string_view bytes);
    // The profile as UTF-8 INI text.
    std::string Text() const;
    // Writes the file at `path` (see WriteWholeFile); false when it was not written.
    bool Save(const std::string& path) const;

    // Whether the profile has the section, with or without keys.
    bool HasSection(std::string_view section) const;
    // The value text of a key (surrounding blanks and one pair of matching
    // quotes removed, at most kValueLimit characters), or nothing when missing.
    std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;
    // `fallback` only when the key is missing: an empty value reads as empty.
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& fallback) const;
    // `fallback` when the key is missing, empty or not a number.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    double ReadReal(std::string_view section, std::string_view key, double fallback) const;

    // Sets a key, adding the section and key at the end when new. Line breaks
    // in `value` are written as blanks, as one line cannot hold them; a value
    // with outer blanks or quotes is written in quotes, so it reads back whole.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    void WriteReal(std::string_view section, std::string_view key, double value,
                   char decimalSeparator);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
