#pragma once

#include <array>
#include <cassert>
#include <cstddef>

namespace plant {

// A fixed table indexed from 1, as the plant's records are numbered: Dev[1..18],
// Route[1..12], Tank[1..4]. An index outside the table is a programming error.
template <typename T, int N>
class OneBased {
public:
    static constexpr int kFirst = 1;
    static constexpr int kLast = N;

    T& operator[](int i) {
        assert(i >= 1 && i <= N);
        return items_[static_cast<std::size_t>(i - 1)];
    }
    const T& operator[](int i) const {
        assert(i >= 1 && i <= N);
        return items_[static_cast<std::size_t>(i - 1)];
    }
    static constexpr bool Contains(int i) { return i >= 1 && i <= N; }
    static constexpr int size() { return N; }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::array<T, N> items_{};
};

}  // namespace plant
