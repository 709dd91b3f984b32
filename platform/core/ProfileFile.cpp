#include "platform/core/ProfileFile.h"

// The parser's default converter needs a header the system package does not
// ship; the ICU one is linked instead. With narrow UTF-8 text it is never called.
#define SI_CONVERT_ICU
#include <SimpleIni.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/core/AtomicFile.h"
#include "platform/core/ProfileValue.h"
#include "platform/core/TextEncoding.h"

namespace platform {

namespace {

enum class LineKind { Blank, Comment, Section, Key, Other };

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view line) {
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    return line;
}

LineKind Classify(std::string_view line) {
    const std::string_view text = TrimLeft(line);
    if (text.empty()) return LineKind::Blank;
    if (text.front() == ';' || text.front() == '#') return LineKind::Comment;
    if (text.front() == '[') {
        return text.find(']') != std::string_view::npos ? LineKind::Section : LineKind::Other;
    }
    const std::size_t equals = text.find('=');
    return equals != std::string_view::npos && equals > 0 ? LineKind::Key : LineKind::Other;
}

// Lines split at CR LF, LF or a lone CR, without their breaks.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    const char* const end = text.data() + text.size();
    const char* start = text.data();
    for (const char* p = start; p != end; ++p) {
        if (*p != '\r' && *p != '\n') continue;
        lines.emplace_back(start, static_cast<std::size_t>(p - start));
        if (*p == '\r' && p + 1 != end && p[1] == '\n') ++p;
        start = p + 1;
    }
    if (start != end) lines.emplace_back(start, static_cast<std::size_t>(end - start));
    return lines;
}

// UTF-8 without byte-order mark or NUL characters (a NUL would end the parser's
// text early and lose everything after it).
std::string DecodeText(std::string_view bytes) {
    std::string text = TextFileToUtf8(bytes);
    if (text.find('\0') != std::string::npos) std::erase(text, '\0');
    return text;
}

std::string SingleLine(std::string_view value) {
    std::string line(value);
    if (line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos) return line;
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    std::erase(line, '\0');
    return line;
}

// The parser writes two blank lines between sections and before some
// comments, and may start with one; one between is enough to read the file.
std::string CollapseBlankLines(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    int trailingBreaks = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t next = text.find('\n', pos);
        if (next == std::string::npos) {
            out.append(text, pos);
            break;
        }
        if (next > pos) {
            out.append(text, pos, next + 1 - pos);
            trailingBreaks = 1;
        } else if (!out.empty() && trailingBreaks < 2) {
            out += '\n';
            ++trailingBreaks;
        }
        pos = next + 1;
    }
    return out;
}

bool IsQuoted(std::string_view value) {
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
           value.back() == value.front();
}

std::string_view StripQuotes(std::string_view value) {
    return IsQuoted(value) ? value.substr(1, value.size() - 2) : value;
}

// Reading trims blanks and strips one pair of quotes; a value that would lose
// something that way is written in quotes, so it reads back as it was.
std::string QuotedIfNeeded(std::string value) {
    if (value.empty()) return value;
    if (IsBlank(value.front()) || IsBlank(value.back()) || IsQuoted(value)) {
        return '"' + value + '"';
    }
    return value;
}

// Lines the parser must not see are handed to it as comments that start with
// this mark, and the mark is taken off again when the text is written. Decoded
// text is well-formed UTF-8, where the byte 0xFF never occurs, so no line of a
// file can carry the mark itself.
constexpr std::string_view kKeptLineMark = ";\xFF";

// The text as the parser is given it, and the lines it would drop at the end.
struct ParserInput {
    std::string text;
    std::string tail;  // lines after the last entry, as they are
};

// Every line the parser would drop or misread is kept as it stands and
// written back unchanged: a line that is neither section, key nor comment, and
// a section header without its "]" together with the keys under it. Those keys
// belong to no section the program knows, so they are not read (the parser
// would give them to the section before, or garble the header into a name
// running over several lines).
ParserInput PrepareForParser(const std::string& text) {
    const std::vector<std::string_view> lines = SplitLines(text);
    std::vector<LineKind> kinds(lines.size());
    std::vector<bool> kept(lines.size(), false);
    std::size_t entries = 0;  // lines up to and including the last entry
    bool inBrokenSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        kinds[i] = Classify(lines[i]);
        if (kinds[i] == LineKind::Section) inBrokenSection = false;
        if (kinds[i] == LineKind::Other && TrimLeft(lines[i]).front() == '[') {
            inBrokenSection = true;
        }
        kept[i] = kinds[i] == LineKind::Other || (inBrokenSection && kinds[i] == LineKind::Key);
        if (!kept[i] && (kinds[i] == LineKind::Section || kinds[i] == LineKind::Key)) {
            entries = i + 1;
        }
    }

    // Leading blank lines would only move comments from one entry to another.
    std::size_t first = 0;
    while (first < entries && kinds[first] == LineKind::Blank) ++first;
    ParserInput input;
    input.text.reserve(text.size());
    for (std::size_t i = first; i < entries; ++i) {
        if (kept[i]) input.text += kKeptLineMark;
        input.text.append(lines[i]).append("\n");
    }

    std::size_t tailStart = entries;
    while (tailStart < lines.size() && kinds[tailStart] == LineKind::Blank) ++tailStart;
    for (std::size_t i = tailStart; i < lines.size(); ++i) input.tail.append(lines[i]).append("\n");
    return input;
}

// The parser's output with the kept lines as they were read.
std::string WithoutKeptLineMarks(const std::string& text) {
    if (text.find(kKeptLineMark) == std::string::npos) return text;
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        if (text.compare(pos, kKeptLineMark.size(), kKeptLineMark) == 0)
            pos += kKeptLineMark.size();
        const std::size_t next = std::min(text.find('\n', pos), text.size() - 1) + 1;
        out.append(text, pos, next - pos);
        pos = next;
    }
    return out;
}

enum class ReadResult { Read, Missing, Failed };

ReadResult ReadWholeFile(const std::string& path, std::string& bytes, std::string& failure) {
    // Non-blocking, so that a pipe in the file's place cannot hang the start-up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return ReadResult::Missing;
        failure = std::strerror(errno);
        return ReadResult::Failed;
    }
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0;
    if (!ok) {
        failure = std::strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        ok = false;
        failure = std::strerror(EISDIR);
    } else if (!S_ISREG(info.st_mode)) {
        ok = false;
        failure = "not a regular file";
    }
    char buffer[65536];
    while (ok) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) failure = std::strerror(errno);
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return ok ? ReadResult::Read : ReadResult::Failed;
}

}  // namespace

struct ProfileFile::Impl {
    Impl() : ini(/*a_bIsUtf8=*/true, /*a_bMultiKey=*/true, /*a_bMultiLine=*/false) {
        ini.SetSpaces(false);
        ini.SetQuotes(false);  // values are kept as written; quotes go on reading
    }
    // The key as the file spells it, so that rewriting "mode" keeps it "mode".
    std::string SpellingInFile(const std::string& section, const std::string& key) const {
        const CSimpleIniA::TKeyVal* keys = ini.GetSection(section.c_str());
        if (keys == nullptr) return key;
        const auto found = keys->find(CSimpleIniA::Entry(key.c_str()));
        return found == keys->end() ? key : found->first.pItem;
    }

    CSimpleIniA ini;
    // Comments after the last entry: the parser keeps a comment only with the
    // entry that follows it, so these are kept here and written back last.
    std::string tail;
};

ProfileFile::ProfileFile() : impl_(std::make_unique<Impl>()) {}
ProfileFile::~ProfileFile() = default;

bool ProfileFile::Load(const std::string& path, std::string* failure) {
    std::string bytes, why;
    const ReadResult result = ReadWholeFile(path, bytes, why);
    Parse(result == ReadResult::Read ? bytes : std::string_view());
    if (result == ReadResult::Failed && failure != nullptr) *failure = why;
    return result != ReadResult::Failed;
}

void ProfileFile::Parse(std::string_view bytes) {
    ParserInput input = PrepareForParser(DecodeText(bytes));
    impl_->ini.Reset();
    impl_->ini.LoadData(input.text);
    impl_->tail = std::move(input.tail);
}

std::string ProfileFile::Text() const {
    std::string text;
    impl_->ini.Save(text, /*a_bAddSignature=*/false);
    text = WithoutKeptLineMarks(CollapseBlankLines(text));
    if (!impl_->tail.empty()) {
        if (!text.empty()) text += '\n';
        text += impl_->tail;
    }
    return text;
}

bool ProfileFile::Save(const std::string& path) const {
    return WriteWholeFile(path, Text());
}

bool ProfileFile::HasSection(std::string_view section) const {
    return impl_->ini.GetSection(std::string(section).c_str()) != nullptr;
}

std::optional<std::string> ProfileFile::ReadValue(std::string_view section,
                                                  std::string_view key) const {
    const char* value = impl_->ini.GetValue(std::string(section).c_str(), std::string(key).c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(Utf8Prefix(StripQuotes(value), kValueLimit));
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    const std::string& fallback) const {
    return ReadValue(section, key).value_or(fallback);
}

int32_t ProfileFile::ReadInteger(std::string_view section, std::string_view key,
                                 int32_t fallback) const {
    const auto text = ReadValue(section, key);
    if (!text) return fallback;
    return ParseProfileInteger(*text).value_or(fallback);
}

double ProfileFile::ReadReal(std::string_view section, std::string_view key,
                             double fallback) const {
    const auto text = ReadValue(section, key);
    if (!text) return fallback;
    return ParseProfileReal(*text).value_or(fallback);
}

void ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
    const std::string sectionName = SingleLine(section);
    const std::string keyName = impl_->SpellingInFile(sectionName, SingleLine(key));
    // Replacing collapses repeated keys into the first one, where it stood.
    impl_->ini.SetValue(sectionName.c_str(), keyName.c_str(),
                        QuotedIfNeeded(SingleLine(value)).c_str(), nullptr,
                        /*a_bForceReplace=*/true);
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteReal(std::string_view section, std::string_view key, double value,
                            char decimalSeparator) {
    WriteString(section, key, FormatProfileReal(value, decimalSeparator));
}

}  // namespace platform
