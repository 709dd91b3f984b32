#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "archive/Record.h"

namespace archive {

// A fixed ring of records between one producer and one consumer thread,
// without locks: the producer fills a free slot in place and publishes it, the
// consumer moves published records out and frees their slots. Neither ever
// waits for the other, and nothing is allocated after construction.
class RecordRing {
public:
    // The capacity is rounded up to a power of two.
    explicit RecordRing(std::size_t capacity);

    std::size_t Capacity() const { return mask_ + 1; }
    // Records published and not yet taken; exact on either side's thread for
    // its own end, a moment's view otherwise.
    std::size_t Size() const;

    // Producer: the next free slot, or null when the ring is full. Publish()
    // hands the slot filled last to the consumer.
    Record* Claim();
    void Publish();

    // Consumer: moves every published record to `take`, oldest first, and
    // returns how many.
    template <typename Take>
    std::size_t Drain(Take&& take) {
        const uint64_t tail = tail_.load(std::memory_order_relaxed);
        const uint64_t head = head_.load(std::memory_order_acquire);
        for (uint64_t at = tail; at != head; ++at) {
            take(std::move(slots_[at & mask_]));
            // A freed slot no longer owns the heap text it was moved from.
            slots_[at & mask_].heap.reset();
            tail_.store(at + 1, std::memory_order_release);
        }
        return static_cast<std::size_t>(head - tail);
    }

private:
    std::unique_ptr<Record[]> slots_;
    uint64_t mask_;
    std::atomic<uint64_t> head_{0};  // next slot the producer publishes
    std::atomic<uint64_t> tail_{0};  // next slot the consumer takes
};

}  // namespace archive
