#include "archive/RecordRing.h"

#include <algorithm>
#include <bit>

namespace archive {

RecordRing::RecordRing(std::size_t capacity)
    : slots_(new Record[std::bit_ceil(std::max<std::size_t>(capacity, 2))]),
      mask_(std::bit_ceil(std::max<std::size_t>(capacity, 2)) - 1) {}

std::size_t RecordRing::Size() const {
    const uint64_t tail = tail_.load(std::memory_order_acquire);
    return static_cast<std::size_t>(head_.load(std::memory_order_acquire) - tail);
}

Record* RecordRing::Claim() {
    const uint64_t head = head_.load(std::memory_order_relaxed);
    if (head - tail_.load(std::memory_order_acquire) > mask_) return nullptr;
    return &slots_[head & mask_];
}

void RecordRing::Publish() {
    // Only the producer moves the head.
    head_.store(head_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
}

}  // namespace archive
