// A layout stream that announces a string longer than itself must fail without allocating
// what it announces. The allocation size is watched through the global operator new, which is
// why this test has a program of its own.

#include "KeyTestUtil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<size_t> g_largest{0};
std::atomic<bool> g_watching{false};

void* allocate(size_t n) {
    if (g_watching) {
        size_t seen = g_largest.load();
        while (n > seen && !g_largest.compare_exchange_weak(seen, n)) {
        }
    }
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(size_t n) {
    return allocate(n);
}
void* operator new[](size_t n) {
    return allocate(n);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
    std::free(p);
}

using namespace keytest;

TEST(KeyCollectionStream, LyingLengthFailsAtOnceWithoutALargeAllocation) {
    quimbel::TKeyCollection source;
    source.AddKey(MakeKey(quimbel::ktNormal, "a", "A", ""));
    const Bytes first = Write(source);

    // One good key, then a key whose first caption claims 0xFFFFFFFF bytes, then a few bytes.
    const Bytes lying = Concat({Bytes(first.begin(), first.end() - 1),
                                {0x02, 0x00, 0x0C, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'}});
    // The same lie in the font name, and as a length just beyond the bytes that follow.
    const Bytes lyingFont =
        Concat({Bytes(first.begin(), first.end() - 25), {0x0C, 0x00, 0x00, 0x00, 0x80, 'M', 'S'}});
    const Bytes oneShort = Concat({Bytes(first.begin(), first.end() - 1),
                                   {0x02, 0x00, 0x0C, 0x04, 0x00, 0x00, 0x00, 'a', 'b', 'c'}});

    for (const Bytes* stream : {&lying, &lyingFont, &oneShort}) {
        quimbel::TKeyCollection keys;
        g_largest = 0;
        g_watching = true;
        EXPECT_THROW(Read(keys, *stream), vcl::EReadError);
        g_watching = false;
        EXPECT_LT(g_largest.load(), size_t{64} * 1024);
        EXPECT_EQ(keys.GetCount(), stream == &lyingFont ? 0 : 1);
    }
}
