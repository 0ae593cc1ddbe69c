// pelmhost: the stand-in kernel's host program. It loads an image filter from
// its file, as the kernel does, and runs it:
//   pelmhost FILTER info DUMP [WIDTH HEIGHT MODE]
//   pelmhost FILTER load DUMP OUT.ppm [WIDTH HEIGHT MODE]   rows as binary PPM
//   pelmhost FILTER save-raster IN.ppm DUMP                 a PPM as a raster dump

#include "platform/imaging/FilterRequests.h"
#include "platform/imaging/KernelClient.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <vector>

namespace {

using imaging::BitmapRecord;
using imaging::KernelClient;
namespace filter = imaging::filter;

struct Filter {
    filter::InfoFn info = nullptr;
    filter::LoadFn load = nullptr;
    filter::SaveFn save = nullptr;
};

bool loadFilter(const char* path, Filter& f)
{
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
    const int32_t status = askInfo(f, dump, want, info);
    if (status != 1) {
        std::printf("status %d\n", status);
        return 1;
    }
    std::printf("format %d\nwidth %d\nheight %d\nbits %d\nsize %d\nresolution %d %d\n",
                info.format, info.width, info.height, info.bitsPerPixel, info.sizeBytes,
                info.resolutionX, info.resolutionY);
    return 0;
}

int runLoad(const Filter& f, const char* dump, const char* out, Size want)
{
    filter::FileInfoRecord info{};
    int32_t status = askInfo(f, dump, want, info);
    if (status != 1) {
        std::fprintf(stderr, "pelmhost: fltInfo: status %d\n", status);
        return 1;
    }
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
    if (status != 1) {
        std::fprintf(stderr, "pelmhost: fltLoad: status %d\n", status);
        return 1;
    }
    FILE* file = std::fopen(out, "wb");
    if (!file) {
        std::fprintf(stderr, "pelmhost: cannot write %s\n", out);
        return 1;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", img.width, img.height);
    const bool ok = std::fwrite(img.rgb.data(), 1, img.rgb.size(), file) == img.rgb.size();
    return std::fclose(file) == 0 && ok ? 0 : 1;
}

// A binary PPM (P6, maxval 255) without comments.
bool readPpm(const char* path, Image& img)
{
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    int maxval = 0;
    const bool header = std::fscanf(file, "P6 %d %d %d", &img.width, &img.height, &maxval) == 3 &&
                        std::fgetc(file) != EOF && maxval == 255 && img.width > 0 &&
                        img.height > 0 && img.width <= 32768 && img.height <= 32768;
    if (header) {
        img.rgb.resize(size_t(img.width) * size_t(img.height) * 3);
        img.bits = 24;
    }
    const bool ok =
        header && std::fread(img.rgb.data(), 1, img.rgb.size(), file) == img.rgb.size();
    std::fclose(file);
    return ok;
}

int runSaveRaster(const Filter& f, const char* in, const char* dump)
{
    Image img;
    if (!readPpm(in, img)) {
        std::fprintf(stderr, "pelmhost: %s is not a binary PPM\n", in);
        return 1;
    }
    const KernelClient& k = KernelClient::get();
    BitmapRecord bmp{};
    if (k.initRecord(&bmp, img.width, img.height, 24) != 1 || k.allocStorage(&bmp, 1) != 1) {
        std::fprintf(stderr, "pelmhost: no memory for the bitmap\n");
        return 1;
    }
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
    if (status != 1)
        std::fprintf(stderr, "pelmhost: fltSave: status %d\n", status);
    return status == 1 ? 0 : 1;
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
