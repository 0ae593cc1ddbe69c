#pragma once
// The filter's test fixture: requests filled as the kernel fills them and a
// callback that records every row it is handed.

#include "tests/platform/imaging/KernelTest.h"
#include "vondral/Exports.h"

#include <memory>

namespace vondral::testing {

using namespace imaging::testing;

struct RowCall {
    int32_t user;
    BitmapRecord* destination;
    Bytes row;
    int32_t flags, index, count, cookie;
};

struct Recorder {
    std::vector<RowCall> calls;
    int32_t bytesPerRow = 0;
    int32_t stopAt = -1;      // index whose call returns `stopResult`
    int32_t stopResult = 0;
};

inline int32_t BW_STDCALL recordRow(int32_t user, BitmapRecord* destination, const uint8_t* row,
                                    int32_t flags, int32_t index, int32_t count, int32_t cookie)
{
    auto* r = reinterpret_cast<Recorder*>(static_cast<intptr_t>(user));
    r->calls.push_back(RowCall{user, destination, Bytes(row, row + r->bytesPerRow), flags, index,
                               count, cookie});
    return index == r->stopAt ? r->stopResult : 1;
}

class FilterTest : public KernelTest {
protected:
    Recorder recorder;
    BitmapRecord destination{};
    // Requests are large records; keep them off the stack and zeroed.
    std::unique_ptr<LoadRequest> load = std::make_unique<LoadRequest>();

    void SetUp() override
    {
        KernelTest::SetUp();
        destination.planes = 7;
        load->destination = &destination;
        load->callback = recordRow;
        load->user = int32_t(reinterpret_cast<intptr_t>(&recorder));
        load->cookie = 0x5A5A1234;
        load->resolutionX = 3780;
        load->resolutionY = 3781;
    }

    int32_t loadFile(const std::string& file, int32_t width = 0, int32_t height = 0)
    {
        fileName_ = file;
        load->fileName = fileName_.c_str();
        load->renderWidth = width;
        load->renderHeight = height;
        recorder.bytesPerRow = int32_t(((int64_t(width) * 24 + 31) / 32) * 4);
        return fltLoad(load.get());
    }

    int32_t info(const std::string& file, FileInfoRecord& out, int32_t w = 0, int32_t h = 0,
                 int32_t mode = 1)
    {
        const int32_t handle = k.open(file.c_str(), 0x8000, 0x100);
        if (handle < 0)
            return -100;
        auto rq = std::make_unique<InfoRequest>();
        rq->file = handle;
        rq->info = &out;
        rq->wantedWidth = w;
        rq->wantedHeight = h;
        rq->sizingMode = mode;
        rq->resolutionX = 11811;
        rq->resolutionY = 11812;
        const int32_t status = fltInfo(rq.get());
        k.close(handle);
        return status;
    }

    // A 24-bit kernel bitmap whose bytes are a pattern of (x, y).
    void makeBitmap(BitmapRecord& bmp, int32_t width, int32_t height)
    {
        ASSERT_EQ(k.initRecord(&bmp, width, height, 24), 1);
        ASSERT_EQ(k.allocStorage(&bmp, 1), 1);
        Bytes line(size_t(bmp.bytesPerLine));
        k.beginRows(&bmp);
        for (int32_t y = 0; y < height; ++y) {
            for (size_t i = 0; i < line.size(); ++i)
                line[i] = uint8_t(i * 7 + size_t(y) * 13);
            k.putRow(&bmp, line.data(), y, bmp.bytesPerLine);
        }
        k.endRows(&bmp);
    }

private:
    std::string fileName_;
};

// Blue, green, red of the pixel at x in a delivered 24-bit row.
inline uint32_t pixel(const Bytes& row, int32_t x)
{
    const size_t i = size_t(x) * 3;
    return uint32_t(row[i + 2]) | uint32_t(row[i + 1]) << 8 | uint32_t(row[i]) << 16;
}

}  // namespace vondral::testing
