// Guarded kernel memory: every block carries a header and canary bytes on
// both sides, checked when the block is freed, so a peer that writes out of
// bounds is caught at the free rather than never.

#include "platform/imaging/PelmcoreInternal.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace imaging::core::impl {
namespace {

constexpr uint32_t kLive = 0x4B434C42;  // "BLCK"
constexpr uint32_t kDead = 0x44414544;  // "DEAD"
constexpr uint8_t kCanary[8] = {0xDE, 0xAD, 0xBE, 0xEF, 0xFE, 0xED, 0xFA, 0xCE};
constexpr uint8_t kFreshFill = 0xCD;  // new blocks are not zero: callers must not rely on it

struct Header {
    uint32_t size;
    uint32_t magic;
    uint8_t front[8];
};
static_assert(sizeof(Header) == 16);

std::atomic<int32_t> g_live{0};
std::atomic<int32_t> g_corrupt{0};

void reportCorruption(const void* p, const char* what)
{
    ++g_corrupt;
    std::fprintf(stderr, "Pelmcore: block %p %s\n", p, what);
}

}  // namespace

void* BW_STDCALL allocate(uint32_t bytes)
{
    if (bytes > kMaxAllocation)
        return nullptr;
    auto* raw = static_cast<uint8_t*>(std::malloc(sizeof(Header) + bytes + sizeof(kCanary)));
    if (!raw)
        return nullptr;
    auto* h = reinterpret_cast<Header*>(raw);
    h->size = bytes;
    h->magic = kLive;
    std::memcpy(h->front, kCanary, sizeof(kCanary));
    uint8_t* data = raw + sizeof(Header);
    std::memset(data, kFreshFill, bytes);
    std::memcpy(data + bytes, kCanary, sizeof(kCanary));
    ++g_live;
    return data;
}

void BW_STDCALL release(void* p)
{
    if (!p)
        return;
    auto* data = static_cast<uint8_t*>(p);
    auto* h = reinterpret_cast<Header*>(data - sizeof(Header));
    if (h->magic != kLive) {
        // A double free or a pointer the kernel never handed out: leave it alone.
        reportCorruption(p, h->magic == kDead ? "freed twice" : "not from the kernel");
        return;
    }
    if (std::memcmp(h->front, kCanary, sizeof(kCanary)) != 0)
        reportCorruption(p, "written before its start");
    if (std::memcmp(data + h->size, kCanary, sizeof(kCanary)) != 0)
        reportCorruption(p, "written past its end");
    h->magic = kDead;
    --g_live;
    std::free(h);
}

int32_t BW_STDCALL liveAllocations() { return g_live; }
int32_t BW_STDCALL corruptBlocks() { return g_corrupt; }

}  // namespace imaging::core::impl
