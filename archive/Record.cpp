#include "archive/Record.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/core/Rounding.h"

namespace archive {

namespace {

int64_t Tenths(double tonnes) {
    return platform::RoundHalfEven(static_cast<long double>(tonnes) * 10);
}

double Tonnes(int64_t tenths) {
    return static_cast<double>(tenths) / 10;
}

}  // namespace

void Record::SetEntry(const Entry& entry) {
    time = entry.time;
    type = Type::Entry;
    colour = static_cast<uint8_t>(entry.colour);
    kind = static_cast<uint8_t>(entry.kind);
    subject = static_cast<int16_t>(entry.subject.Code());
    detail = entry.detail;
    lostCount = 0;
    // The file keeps texts below SQLite's default length limit of 1e9 bytes;
    // a longer one is cut, which no journal entry comes near.
    constexpr std::size_t kLongest = 1u << 28;
    std::string_view text = entry.text.substr(0, kLongest);
    std::string_view source = entry.source.substr(0, kLongest);
    char* to = chars;
    heap.reset();
    if (text.size() + source.size() > kInline) {
        // Without memory for the whole text, the record keeps what fits inline.
        heap.reset(new (std::nothrow) char[text.size() + source.size()]);
        if (heap) {
            to = heap.get();
        } else {
            source = source.substr(0, kInline - std::min(text.size(), kInline));
            text = text.substr(0, kInline - source.size());
        }
    }
    textSize = static_cast<uint32_t>(text.size());
    sourceSize = static_cast<uint32_t>(source.size());
    if (!text.empty()) std::memcpy(to, text.data(), text.size());
    if (!source.empty()) std::memcpy(to + text.size(), source.data(), source.size());
}

void Record::SetSample(const Sample& sample) {
    time = sample.time;
    type = Type::Sample;
    heap.reset();
    textSize = sourceSize = 0;
    for (std::size_t n = 0; n < sample.silo.size(); ++n) tenths[n] = Tenths(sample.silo[n]);
    tenths[4] = Tenths(sample.total);
    tenths[5] = Tenths(sample.throughput);
    tenths[6] = Tenths(sample.shipped);
    tenths[7] = Tenths(sample.unloading);
}

Sample Record::AsSample() const {
    Sample sample;
    sample.time = time;
    for (std::size_t n = 0; n < sample.silo.size(); ++n) sample.silo[n] = Tonnes(tenths[n]);
    sample.total = Tonnes(tenths[4]);
    sample.throughput = Tonnes(tenths[5]);
    sample.shipped = Tonnes(tenths[6]);
    sample.unloading = Tonnes(tenths[7]);
    return sample;
}

}  // namespace archive
