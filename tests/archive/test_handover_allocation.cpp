#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "tests/archive/ArchiveRig.h"

// Counts the allocations of the thread that hands entries over; the writer
// thread allocates as it likes.
namespace {
thread_local long t_allocations = 0;
}

// Not inlined: see tests/plant/test_quiet_allocation.cpp.
[[gnu::noinline]] void* operator new(std::size_t size) {
    ++t_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace archive_test {
namespace {

// The controller cycle hands over the longest entry the plant writes, its
// source, and a sample every cycle, to an archive whose writer is busy with
// the file: none of it allocates.
TEST_F(ArchiveTest, HandingEntriesAndSamplesOverAllocatesNothing) {
    const std::string text =
        " Задвижка М1 Команда управления\r\tотклонена - устройство в ремонтном "
        "режиме\r\tуправления";
    const std::string source = "[fe80::1234:5678:9abc:def0]:50312";
    ASSERT_LE(text.size() + source.size(), archive::Record::kInline);
    archive::Archive archive(QuickOptions());
    ASSERT_TRUE(archive.Open(path_.string()));

    const archive::Entry entry =
        MakeEntry(kDay0, text, archive::Kind::CommandRefused, archive::Subject::Device(1), source);
    archive::Sample sample;
    const long before = t_allocations;
    for (int cycle = 0; cycle < 1000; ++cycle) {
        archive.Append(entry);
        sample.time.utcMs = kDay0 + cycle * 300;
        archive.OfferSample(sample);
    }
    EXPECT_EQ(t_allocations - before, 0);
    EXPECT_TRUE(archive.Flush());
    EXPECT_EQ(archive.Tally().written, 1000u + 30u);
}

}  // namespace
}  // namespace archive_test
