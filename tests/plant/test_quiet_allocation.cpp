#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "tests/plant/PlantRig.h"

// Counts every allocation through the global operator new of this test program.
namespace {
long g_allocations = 0;
}

// Not inlined: where the release functions were inlined next to a new
// expression, GCC would take the free() for a mismatched release of memory from
// operator new (-Wmismatched-new-delete).
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

using namespace plant;

// A plant where nothing moves formats no text, builds no journal entry and
// allocates nothing in its controller cycles, whatever positions, states and
// modes its devices rest in.
TEST(QuietAllocationTest, QuietCyclesAllocateNothing) {
    plant_test::PlantRig rig;
    rig.plant.Dev[9].State = kStateRun;
    rig.plant.Dev[2].Ungle = 90;
    rig.plant.Dev[5].Mode = kModeRepair;
    rig.Tick(2);
    const long before = g_allocations;
    rig.Tick(100);
    EXPECT_EQ(g_allocations - before, 0);
}

TEST(QuietAllocationTest, CountingSeesAllocations) {
    static std::string* volatile sink = nullptr;
    const long before = g_allocations;
    sink = new std::string(100, 'x');
    delete sink;
    EXPECT_GE(g_allocations - before, 1);
}

}  // namespace
