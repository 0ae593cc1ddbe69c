#pragma once
// Test helpers: a temporary folder per test, dump files written byte by byte
// (so damaged ones can be made as easily as sound ones), and a fixture that
// checks the kernels hold nothing more after each test than before it.

#include "platform/imaging/KernelClient.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace imaging::testing {

using Bytes = std::vector<uint8_t>;
using imaging::KernelClient;
using imaging::VecPrimitive;

inline void put32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(v >> (8 * i)));
}

inline void putText(Bytes& b, const char* text)
{
    b.insert(b.end(), text, text + std::strlen(text));
}

inline Bytes vectorDump(uint32_t width, uint32_t height, const std::vector<VecPrimitive>& prims)
{
    Bytes b;
    putText(b, "VECDUMP2");
    put32(b, width);
    put32(b, height);
    put32(b, uint32_t(prims.size()));
    for (const VecPrimitive& p : prims) {
        const auto* raw = reinterpret_cast<const uint8_t*>(&p);
        b.insert(b.end(), raw, raw + sizeof(p));
    }
    return b;
}

struct RasterHeader {
    uint32_t width = 4, height = 3, bits = 24, bytesPerLine = 12;
    int32_t resX = 2835, resY = 2836;
    uint32_t alpha = 0, planes = 1, paletteEntries = 0;
};

inline Bytes rasterDump(const RasterHeader& h, const Bytes& palette, const Bytes& rows)
{
    Bytes b;
    putText(b, "RASDUMP1");
    for (uint32_t v : {h.width, h.height, h.bits, h.bytesPerLine, uint32_t(h.resX),
                       uint32_t(h.resY), h.alpha, h.planes, h.paletteEntries})
        put32(b, v);
    b.insert(b.end(), palette.begin(), palette.end());
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

inline VecPrimitive prim(uint8_t kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                         uint32_t fill = 0, uint8_t filled = 0, uint32_t pen = 0)
{
    return VecPrimitive{kind, filled, 1, pen, fill, x1, y1, x2, y2};
}

inline Bytes readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

class KernelTest : public ::testing::Test {
protected:
    const KernelClient& k = KernelClient::get();

    void SetUp() override
    {
        ASSERT_TRUE(k.complete);
        char pattern[] = "/tmp/imaging-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        before_ = counters();
        corruptBefore_ = k.corruptBlocks();
    }

    // For tests that damage blocks on purpose.
    void resetCorruptBaseline() { corruptBefore_ = k.corruptBlocks(); }

    void TearDown() override
    {
        EXPECT_EQ(counters(), before_) << "allocations, bitmaps, files, contexts, handles";
        EXPECT_EQ(k.corruptBlocks(), corruptBefore_) << "a block was written out of bounds";
        std::string cmd = "rm -rf '" + dir_ + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
    }

    std::vector<int32_t> counters() const
    {
        return {k.liveAllocations(), k.liveBitmaps(), k.openFiles(), k.liveContexts(),
                k.liveHandles()};
    }

    std::string path(const std::string& name) const { return dir_ + "/" + name; }

    std::string write(const std::string& name, const Bytes& bytes) const
    {
        std::ofstream out(path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path(name);
    }

private:
    std::string dir_;
    std::vector<int32_t> before_;
    int32_t corruptBefore_ = 0;
};

}  // namespace imaging::testing
