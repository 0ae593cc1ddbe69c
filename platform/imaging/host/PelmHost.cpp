// pelmhost: the stand-in kernel's host program. It loads an image filter from
// its file, as the kernel does, and runs it:
//   pelmhost FILTER info DUMP [WIDTH HEIGHT MODE]
//   pelmhost FILTER load DUMP OUT.ppm [WIDTH HEIGHT MODE]   rows as binary PPM
//   pelmhost FILTER save-raster IN.ppm DUMP                 a PPM as a raster dump
// Every file it is given must be a regular file (a pipe or a device would
// hold it for ever), and inputs larger than their format can be are refused
// before they are read. Failures are said in words, with the file.

#include "platform/imaging/FilterRequests.h"
#include "platform/imaging/KernelClient.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using imaging::BitmapRecord;
using imaging::KernelClient;
namespace filter = imaging::filter;
namespace core = imaging::core;
namespace draw = imaging::draw;

// The largest image the kernel holds as one bitmap, and so the largest PPM
// (header and 24-bit pixels) worth reading.
constexpr uint32_t kMaxImageBytes = core::kMaxAllocation;
constexpr uint32_t kMaxPpmBytes = 64 + kMaxImageBytes;

// A filter's or kernel's status in words.
std::string describe(int32_t status)
{
    switch (status) {
    case filter::kNoMemory:
        return "not enough memory";
    case core::kBadArgument:
        return "the request is not valid";
    case filter::kNoMarker:
        return "the file is too short to be a dump";
    case filter::kUnknown:
        return "the file is not a vector or raster dump";
    case filter::kNoObject:
        return "there is no drawing to render";
    case filter::kCannotOpen:
        return "the file cannot be opened";
    case draw::kTruncated:
        return "the dump is cut short";
    case draw::kBadMarker:
        return "the dump's marker is wrong";
    case draw::kBadHeader:
        return "the dump's header is damaged";
    case draw::kWriteFailed:
        return "the file cannot be written";
    case draw::kNoNaturalSize:
        return "the drawing has no size";
    case draw::kBadSizingMode:
        return "the sizing mode is not valid";
    default:
        return "status " + std::to_string(status);
    }
}

int fail(const char* file, const std::string& why)
{
    std::fprintf(stderr, "pelmhost: %s: %s\n", file, why.c_str());
    return 1;
}

// Why a file of this kind cannot be used (empty for a regular file).
std::string kindProblem(const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        return "it is a folder";
    return S_ISREG(st.st_mode) ? "" : "it is not a regular file";
}

// Opens a file to read, without waiting on a pipe or device. -1 (after the
// message) when it is missing, no regular file or larger than maxBytes.
int openInput(const char* path, uint32_t maxBytes, const char* what)
{
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fail(path, std::strerror(errno));
        return -1;
    }
    struct stat st {};
    std::string why = ::fstat(fd, &st) != 0 ? std::strerror(errno) : kindProblem(st);
    if (why.empty() && uint64_t(st.st_size) > maxBytes)
        why = "it is " + std::to_string(uint64_t(st.st_size)) + " bytes, larger than any " +
              what + " (at most " + std::to_string(maxBytes) + " bytes)";
    const int flags = ::fcntl(fd, F_GETFL);
    if (why.empty() && (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0))
        why = std::strerror(errno);
    if (why.empty())
        return fd;
    ::close(fd);
    fail(path, why);
    return -1;
}

// An output must be a regular file or not exist yet: it is replaced whole.
bool checkOutput(const char* path)
{
    struct stat st {};
    std::string why;
    if (::stat(path, &st) != 0)
        why = errno == ENOENT ? "" : std::strerror(errno);
    else
        why = kindProblem(st);
    if (!why.empty())
        fail(path, why);
    return why.empty();
}

// For files that others read (the kernel a dump, the loader a filter):
// only what the path names is looked at.
bool checkInput(const char* path, uint32_t maxBytes, const char* what)
{
    const int fd = openInput(path, maxBytes, what);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool checkDump(const char* path)
{
    return checkInput(path, draw::kMaxDumpBytes, "dump");
}

struct Filter {
    filter::InfoFn info = nullptr;
    filter::LoadFn load = nullptr;
    filter::SaveFn save = nullptr;
};

bool loadFilter(const char* path, Filter& f)
{
    if (!checkInput(path, UINT32_MAX, "image filter"))
        return false;
    void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::fprintf(stderr, "pelmhost: cannot load %s: %s\n", path, dlerror());
        return false;
    }
    f.info = reinterpret_cast<decltype(f.info)>(dlsym(module, "fltInfo"));
    f.load = reinterpret_cast<decltype(f.load)>(dlsym(module, "fltLoad"));
    f.save = reinterpret_cast<decltype(f.save)>(dlsym(module, "fltSave"));
    if (!f.info || !f.load || !f.save) {
        std::fprintf(stderr, "pelmhost: %s is not an image filter\n", path);
        return false;
    }
    return true;
}

struct Size {
    int32_t width = 0, height = 0, mode = 1;
};

Size sizeArgs(int argc, char** argv, int first)
{
    Size s;
    if (argc > first + 2) {
        s.width = std::atoi(argv[first]);
        s.height = std::atoi(argv[first + 1]);
        s.mode = std::atoi(argv[first + 2]);
    }
    return s;
}

int32_t askInfo(const Filter& f, const char* dump, const Size& want, filter::FileInfoRecord& info)
{
    const KernelClient& k = KernelClient::get();
    const int32_t file = k.open(dump, imaging::core::kBinary, imaging::core::kModeRead);
    if (file < 0)
        return filter::kCannotOpen;
    filter::InfoRequest rq{};
    rq.file = file;
    rq.info = &info;
    rq.wantedWidth = want.width;
    rq.wantedHeight = want.height;
    rq.sizingMode = want.mode;
    rq.resolutionX = rq.resolutionY = 3780;  // 96 dpi
    const int32_t status = f.info(&rq);
    k.close(file);
    return status;
}

struct Image {
    int32_t width = 0, height = 0, bits = 0;
    std::vector<uint8_t> rgb;
    uint32_t palette[256] = {};
};

int32_t BW_STDCALL takeRow(int32_t user, BitmapRecord* dest, const uint8_t* row, int32_t,
                           int32_t index, int32_t, int32_t)
{
    auto* img = reinterpret_cast<Image*>(static_cast<intptr_t>(user));
    if (index == 0 && img->bits <= 8 && dest && dest->palette)
        KernelClient::get().paletteOf(dest->palette, img->palette, 256);
    uint8_t* out = img->rgb.data() + size_t(index) * size_t(img->width) * 3;
    for (int32_t x = 0; x < img->width; ++x, out += 3) {
        if (img->bits >= 24) {
            const uint8_t* p = row + size_t(x) * size_t(img->bits / 8);
            out[0] = p[2], out[1] = p[1], out[2] = p[0];
            continue;
        }
        const int32_t bit = x * img->bits;
        const int32_t idx =
            (row[bit / 8] >> (8 - img->bits - bit % 8)) & ((1 << img->bits) - 1);
        const uint32_t c = img->palette[idx];
        out[0] = uint8_t(c >> 16), out[1] = uint8_t(c >> 8), out[2] = uint8_t(c);
    }
    return 1;
}

int runInfo(const Filter& f, const char* dump, const Size& want)
{
    filter::FileInfoRecord info{};
    if (!checkDump(dump))
        return 1;
    const int32_t status = askInfo(f, dump, want, info);
    if (status != 1)
        return fail(dump, describe(status));
    std::printf("format %d\nwidth %d\nheight %d\nbits %d\nsize %d\nresolution %d %d\n",
                info.format, info.width, info.height, info.bitsPerPixel, info.sizeBytes,
                info.resolutionX, info.resolutionY);
    return 0;
}

// Written through the kernel, which replaces the file only once it is whole
// and never opens anything but a regular file.
int writePpm(const char* path, const Image& img)
{
    const KernelClient& k = KernelClient::get();
    const int32_t file = k.open(path, core::kBinary | core::kWriteOnly | core::kCreate |
                                          core::kTruncate,
                                core::kModeRead | core::kModeWrite);
    if (file < 0)
        return fail(path, "the file cannot be written");
    char header[64];
    const int length = std::snprintf(header, sizeof header, "P6\n%d %d\n255\n", img.width,
                                     img.height);
    const int32_t bytes = int32_t(img.rgb.size());
    const bool ok = k.write(file, header, length) == length &&
                    k.write(file, img.rgb.data(), bytes) == bytes;
    if (!ok)
        k.discard(file);
    return k.close(file) == 0 && ok ? 0 : fail(path, "the file cannot be written");
}

int runLoad(const Filter& f, const char* dump, const char* out, Size want)
{
    filter::FileInfoRecord info{};
    if (!checkDump(dump) || !checkOutput(out))
        return 1;
    int32_t status = askInfo(f, dump, want, info);
    if (status != 1)
        return fail(dump, describe(status));
    if (uint64_t(info.width) * uint64_t(info.height) * 3 > kMaxImageBytes)
        return fail(dump, "the image of " + std::to_string(info.width) + " x " +
                              std::to_string(info.height) + " pixels is too large to render");
    Image img;
    img.width = info.width;
    img.height = info.height;
    img.bits = info.bitsPerPixel;
    img.rgb.assign(size_t(img.width) * size_t(img.height) * 3, 0);
    BitmapRecord dest{};
    dest.planes = 1;
    filter::LoadRequest rq{};
    rq.fileName = dump;
    rq.destination = &dest;
    rq.callback = takeRow;
    rq.user = int32_t(reinterpret_cast<intptr_t>(&img));
    rq.renderWidth = info.width;
    rq.renderHeight = info.height;
    rq.resolutionX = rq.resolutionY = 3780;
    status = f.load(&rq);
    if (dest.palette)
        KernelClient::get().releaseHandle(dest.palette);
    if (status != 1)
        return fail(dump, describe(status));
    return writePpm(out, img);
}

// A binary PPM (P6, maxval 255) without comments. The pixels the header
// promises must be in the file before they are allocated.
bool readPpm(const char* path, Image& img)
{
    const int fd = openInput(path, kMaxPpmBytes, "image");
    FILE* file = fd < 0 ? nullptr : ::fdopen(fd, "rb");
    if (!file) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    int maxval = 0;
    bool ok = std::fscanf(file, "P6 %d %d %d", &img.width, &img.height, &maxval) == 3 &&
              std::fgetc(file) != EOF && maxval == 255 && img.width > 0 && img.height > 0 &&
              img.width <= 32768 && img.height <= 32768;
    const uint64_t bytes = ok ? uint64_t(img.width) * uint64_t(img.height) * 3 : 0;
    struct stat st {};
    const long start = std::ftell(file);
    ok = ok && start >= 0 && ::fstat(fd, &st) == 0 && uint64_t(st.st_size - start) >= bytes;
    if (ok) {
        img.rgb.resize(size_t(bytes));
        img.bits = 24;
        ok = std::fread(img.rgb.data(), 1, img.rgb.size(), file) == img.rgb.size();
    }
    std::fclose(file);
    if (!ok)
        fail(path, "it is not a binary PPM image (P6, 255 levels, no comments) or is cut short");
    return ok;
}

int runSaveRaster(const Filter& f, const char* in, const char* dump)
{
    Image img;
    if (!checkOutput(dump) || !readPpm(in, img))
        return 1;
    const KernelClient& k = KernelClient::get();
    BitmapRecord bmp{};
    if (k.initRecord(&bmp, img.width, img.height, 24) != 1 || k.allocStorage(&bmp, 1) != 1)
        return fail(in, "not enough memory for an image of this size");
    std::vector<uint8_t> line(size_t(bmp.bytesPerLine), 0);
    k.beginRows(&bmp);
    for (int32_t y = 0; y < img.height; ++y) {
        const uint8_t* src = img.rgb.data() + size_t(y) * size_t(img.width) * 3;
        for (int32_t x = 0; x < img.width; ++x) {
            line[size_t(x) * 3] = src[x * 3 + 2];
            line[size_t(x) * 3 + 1] = src[x * 3 + 1];
            line[size_t(x) * 3 + 2] = src[x * 3];
        }
        k.putRow(&bmp, line.data(), y, bmp.bytesPerLine);
    }
    k.endRows(&bmp);
    bmp.resolutionX = bmp.resolutionY = 3780;
    filter::SaveRequest rq{};
    rq.fileName = dump;
    rq.bitmap = &bmp;
    const int32_t status = f.save(&rq);
    k.freeStorage(&bmp);
    return status == 1 ? 0 : fail(dump, describe(status));
}

int usage()
{
    std::fprintf(stderr, "usage: pelmhost FILTER info DUMP [W H MODE]\n"
                         "       pelmhost FILTER load DUMP OUT.ppm [W H MODE]\n"
                         "       pelmhost FILTER save-raster IN.ppm DUMP\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return usage();
    if (!KernelClient::get().complete) {
        std::fprintf(stderr, "pelmhost: the kernels are incomplete\n");
        return 1;
    }
    Filter f;
    if (!loadFilter(argv[1], f))
        return 1;
    const std::string command = argv[2];
    if (command == "info")
        return runInfo(f, argv[3], sizeArgs(argc, argv, 4));
    if (command == "load" && argc >= 5)
        return runLoad(f, argv[3], argv[4], sizeArgs(argc, argv, 5));
    if (command == "save-raster" && argc >= 5)
        return runSaveRaster(f, argv[3], argv[4]);
    return usage();
}
