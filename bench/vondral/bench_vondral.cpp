// fltLoad of a 4,000 x 4,000 24-bit raster dump against reading the same
// file and copying its rows with memcpy, in the same run. Both hand every row
// to the same destination image; the ratio is the filter's overhead.
//   vondral_bench32 [ROUNDS]

#include "platform/imaging/KernelClient.h"
#include "vondral/Exports.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int32_t kSide = 4000;
constexpr int32_t kHeaderBytes = 44;  // raster dump header, no palette at 24 bits

struct Sink {
    std::vector<uint8_t> image;
    int32_t bytesPerLine = 0;
};

int32_t BW_STDCALL takeRow(int32_t user, imaging::BitmapRecord*, const uint8_t* row, int32_t,
                           int32_t index, int32_t, int32_t)
{
    auto* sink = reinterpret_cast<Sink*>(static_cast<intptr_t>(user));
    std::memcpy(sink->image.data() + size_t(index) * size_t(sink->bytesPerLine), row,
                size_t(sink->bytesPerLine));
    return 1;
}

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

bool writeDump(const std::string& name)
{
    const imaging::KernelClient& k = imaging::KernelClient::get();
    imaging::BitmapRecord bmp{};
    if (k.initRecord(&bmp, kSide, kSide, 24) != 1 || k.allocStorage(&bmp, 1) != 1)
        return false;
    for (int32_t i = 0; i < bmp.sizeBytes; ++i)
        bmp.bits[i] = uint8_t(i * 2654435761u >> 24);
    vondral::SaveRequest rq{};
    rq.fileName = name.c_str();
    rq.bitmap = &bmp;
    const int32_t status = fltSave(&rq);
    k.freeStorage(&bmp);
    return status == 1;
}

// Read the whole file, then copy each row into the image.
bool readAndCopy(const std::string& name, Sink& sink)
{
    const int fd = ::open(name.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    const size_t bytes = size_t(kHeaderBytes) + size_t(sink.bytesPerLine) * kSide;
    std::vector<uint8_t> file(bytes);
    size_t done = 0;
    while (done < bytes) {
        const ssize_t n = ::read(fd, file.data() + done, bytes - done);
        if (n <= 0)
            break;
        done += size_t(n);
    }
    ::close(fd);
    for (int32_t y = 0; y < kSide; ++y)
        std::memcpy(sink.image.data() + size_t(y) * size_t(sink.bytesPerLine),
                    file.data() + kHeaderBytes + size_t(y) * size_t(sink.bytesPerLine),
                    size_t(sink.bytesPerLine));
    return done == bytes;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    char folder[] = "/tmp/vondral-bench-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string name = std::string(folder) + "/big.ras";
    if (!writeDump(name)) {
        std::fprintf(stderr, "cannot write the dump\n");
        return 1;
    }
    Sink sink;
    sink.bytesPerLine = ((kSide * 24 + 31) / 32) * 4;
    sink.image.assign(size_t(sink.bytesPerLine) * kSide, 0);
    imaging::BitmapRecord destination{};
    vondral::LoadRequest rq{};
    rq.fileName = name.c_str();
    rq.destination = &destination;
    rq.callback = takeRow;
    rq.user = int32_t(reinterpret_cast<intptr_t>(&sink));

    double bestLoad = 1e9, bestCopy = 1e9;
    for (int r = 0; r < rounds; ++r) {
        auto t = std::chrono::steady_clock::now();
        if (fltLoad(&rq) != 1) {
            std::fprintf(stderr, "fltLoad failed\n");
            return 1;
        }
        bestLoad = std::min(bestLoad, seconds(t));
        t = std::chrono::steady_clock::now();
        if (!readAndCopy(name, sink)) {
            std::fprintf(stderr, "reading failed\n");
            return 1;
        }
        bestCopy = std::min(bestCopy, seconds(t));
    }
    std::remove(name.c_str());
    rmdir(folder);
    std::printf("4000 x 4000 x 24 raster dump, best of %d rounds\n", rounds);
    std::printf("fltLoad            %8.1f ms\n", bestLoad * 1e3);
    std::printf("read + memcpy rows %8.1f ms\n", bestCopy * 1e3);
    std::printf("ratio              %8.2f\n", bestLoad / bestCopy);
    return 0;
}
