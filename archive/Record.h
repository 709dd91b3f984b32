#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "archive/Entry.h"

namespace archive {

// One entry or sample on its way from the host to the file: 256 bytes that
// hold a whole journal entry of the plant, so handing one over allocates
// nothing. Text beyond kInline bytes (a long path in a system entry) goes to
// the heap.
struct Record {
    enum class Type : uint8_t { Entry, Sample };
    static constexpr std::size_t kInline = 208;

    Stamp time;
    Type type = Type::Entry;
    uint8_t colour = 0;
    uint8_t kind = 0;
    int16_t subject = 0;
    int16_t detail = 0;
    uint32_t textSize = 0;
    uint32_t sourceSize = 0;
    // An entry the archive adds to tell of lost ones: how many it tells of.
    uint64_t lostCount = 0;
    std::unique_ptr<char[]> heap;  // text and source, when they do not fit inline
    union {
        char chars[kInline];            // text, then source
        std::array<int64_t, 8> tenths;  // sample: silos 1–4, total, throughput, shipped, unloading
    };

    Record() : chars{} {}

    // Fills this record with an entry. Allocates only for text and source
    // longer than kInline together.
    void SetEntry(const Entry& entry);
    // Fills this record with a sample, in tenths of a tonne (t/h).
    void SetSample(const Sample& sample);

    std::string_view Text() const { return {Chars(), textSize}; }
    std::string_view Source() const { return {Chars() + textSize, sourceSize}; }
    Sample AsSample() const;

private:
    const char* Chars() const { return heap ? heap.get() : chars; }
};

static_assert(sizeof(Record) == 256);

}  // namespace archive
