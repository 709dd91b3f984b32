#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "modbus/PlantExchange.h"
#include "tests/plant/PlantRig.h"

// Counts every allocation through the global operator new of this test program.
namespace {
long g_allocations = 0;
}

// Not inlined, as in the plant's quiet-allocation test: GCC would otherwise take
// the free() for a mismatched release of memory from operator new.
[[gnu::noinline]] void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

// What the console does around each quiet cycle for its Modbus server, taking
// the commands in and publishing the register image, allocates nothing either.
TEST(QuietPublishTest, TakingCommandsAndPublishingAQuietPlantAllocatesNothing) {
    plant_test::PlantRig rig;
    modbus::PlantExchange exchange(rig.plant);
    rig.Tick(2);
    exchange.Publish();
    const long before = g_allocations;
    for (int k = 0; k < 100; ++k) {
        exchange.TakeCommands();
        rig.Tick();
        exchange.Publish();
    }
    EXPECT_EQ(g_allocations - before, 0);
}

}  // namespace
