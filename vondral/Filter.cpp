// The filter's entry points: file information, loading (vector drawings are
// rendered into 24-bit rows; raster dumps are handed on row by row) and
// saving. Every path closes the file it opened and frees what it allocated.

#include "vondral/Kernel.h"
#include "vondral/VectorRef.h"

#include "platform/gdi/Gdi.h"

#include <cstring>

namespace vondral {
namespace {

constexpr int32_t kDefaultSide = 400;

struct Marker {
    int32_t status;
    int32_t format;  // FormatVectorDump, FormatRasterDump or 0
};

Marker testMarker(int32_t file)
{
    const Kernel& k = kernel();
    if (k.seek(file, 0, 0) < 0)
        return {kNoMarker, 0};
    char marker[8];
    if (k.read(file, marker, 8) < 8)
        return {kNoMarker, 0};
    int32_t format = 0;
    if (std::memcmp(marker, "VECDUMP2", 8) == 0)
        format = FormatVectorDump;
    else if (std::memcmp(marker, "RASDUMP1", 8) == 0)
        format = FormatRasterDump;
    k.seek(file, 0, 0);
    return {kSuccess, format};
}

// Hands every row of `bitmap` to the request's callback, top row first.
int32_t deliverRows(const LoadRequest& rq, BitmapRecord* bitmap)
{
    const Kernel& k = kernel();
    const int32_t bytes = bitmap->bytesPerLine;
    auto* row = static_cast<uint8_t*>(k.allocate(uint32_t(bytes)));
    if (!row)
        return kNoMemory;
    k.beginRows(bitmap);
    int32_t result = kSuccess;
    const int32_t height = bitmap->height;
    for (int32_t index = 0; index < height; ++index) {
        k.copyRow(bitmap, row, index, bytes);
        const int32_t flags = kRowFlags | (index == 0 ? kFirstRow : 0) |
                              (index == height - 1 ? kLastRow : 0);
        result = rq.callback(rq.user, rq.destination, row, flags, index, 1, rq.cookie);
        if (result != kSuccess)
            break;
    }
    k.endRows(bitmap);
    k.free(row);
    return result;
}

// Ends the use of the vector object after a successful read: the caller's
// object keeps the drawing and gets its tag back; a temporary one is freed.
void finishRef(VectorRef& ref, int32_t callerTag)
{
    if (ref.owned)
        vecFreeRef(ref);
    else
        ref.object->tag = callerTag;
}

int32_t renderAndDeliver(const LoadRequest& rq, VectorRef& ref, int32_t callerTag)
{
    const Kernel& k = kernel();
    auto* temp = static_cast<BitmapRecord*>(k.allocate(sizeof(BitmapRecord)));
    if (!temp) {
        finishRef(ref, callerTag);
        return kNoMemory;
    }
    std::memset(temp, 0, sizeof(*temp));
    k.initRecord(temp, rq.renderWidth, rq.renderHeight, 24);
    temp->planes = rq.destination->planes;
    temp->hasAlpha = 0;
    if (int32_t status = k.allocStorage(temp, 1); status != kSuccess) {
        finishRef(ref, callerTag);
        k.free(temp);
        return status;
    }
    const int32_t context = k.contextOf(temp);
    if (context == 0) {
        finishRef(ref, callerTag);
        k.freeStorage(temp);
        k.free(temp);
        return kNoMemory;
    }
    VectorObject* object = ref.object;
    k.prepare(temp, 0);
    k.select(object, 0);
    gdi::RECT view;
    gdi::SetRect(&view, 0, 0, rq.renderWidth, rq.renderHeight);
    object->viewLeft = view.left;
    object->viewTop = view.top;
    object->viewRight = view.right;
    object->viewBottom = view.bottom;
    const int32_t origin[2] = {0, 0};
    k.setOrigin(object, origin);
    if (rq.setObjectFlag == 1)
        object->outlineOnly = 1;
    k.paint(context, object, 1);
    k.releaseContext(context);
    finishRef(ref, callerTag);

    rq.destination->resolutionX = rq.resolutionX;
    rq.destination->resolutionY = rq.resolutionY;
    rq.destination->planes = 1;
    const int32_t result = deliverRows(rq, temp);
    k.freeStorage(temp);
    k.free(temp);
    return result;
}

int32_t loadVector(const LoadRequest& rq, int32_t file)
{
    const Kernel& k = kernel();
    VectorRef ref;
    int32_t callerTag = 0;
    if (rq.vectorMode == 0) {
        ref.owned = 1;
    } else if (rq.vectorMode == 1) {
        if (!rq.object) {
            k.close(file);
            return kNoObject;
        }
        ref.object = rq.object;
        callerTag = rq.object->tag;
    } else {
        k.close(file);
        return kUnknown;
    }
    vecInitRef(ref);
    const int32_t status = vecReadDump(ref, file);
    k.close(file);
    if (status != kSuccess) {
        if (!ref.owned)
            ref.object->tag = callerTag;
        vecFreeRef(ref);
        return status;
    }
    if (!rq.destination) {
        finishRef(ref, callerTag);
        return kSuccess;
    }
    return renderAndDeliver(rq, ref, callerTag);
}

int32_t loadRaster(const LoadRequest& rq, int32_t file)
{
    const Kernel& k = kernel();
    BitmapRecord bitmap{};
    const int32_t status = k.readRaster(file, &bitmap);
    k.close(file);
    if (status != kSuccess) {
        k.freeStorage(&bitmap);
        return status;
    }
    // Without a destination there is nothing to describe the rows to: the
    // dump was read whole, which is all a caller can have asked for.
    if (!rq.destination) {
        k.freeStorage(&bitmap);
        return kSuccess;
    }
    BitmapRecord& dest = *rq.destination;
    dest.resolutionX = bitmap.resolutionX;
    dest.resolutionY = bitmap.resolutionY;
    dest.colorsUsed = bitmap.colorsUsed;
    dest.planes = bitmap.planes;
    if (bitmap.palette)
        dest.palette = k.duplicate(bitmap.palette);
    const int32_t result = deliverRows(rq, &bitmap);
    k.freeStorage(&bitmap);
    return result;
}

void fillVectorInfo(FileInfoRecord& info, const InfoRequest& rq, int32_t width, int32_t height,
                    int32_t size)
{
    info.format = FormatVectorDump;
    info.width = width;
    info.height = height;
    info.bitsPerPixel = 24;
    info.sizeBytes = size;
    std::memcpy(info.compression, "None", 5);
    info.attribute3C = 0;
    info.attribute40 = 1;
    info.resolutionX = rq.resolutionX;
    info.resolutionY = rq.resolutionY;
}

void fillRasterInfo(FileInfoRecord& info, const BitmapRecord& bitmap)
{
    info.format = FormatRasterDump;
    info.width = bitmap.width;
    info.height = bitmap.height;
    info.bitsPerPixel = bitmap.bitsPerPixel;
    info.sizeBytes = bitmap.sizeBytes;
    std::memcpy(info.compression, "None", 5);
    info.attribute3C = bitmap.hasAlpha;
    info.attribute40 = bitmap.planes;
    info.resolutionX = bitmap.resolutionX;
    info.resolutionY = bitmap.resolutionY;
}

int32_t infoVector(const InfoRequest& rq)
{
    const Kernel& k = kernel();
    k.seek(rq.file, 0, 0);
    VectorRef ref{1, nullptr};
    vecInitRef(ref);
    int32_t status = vecReadDump(ref, rq.file);
    if (status != kSuccess) {
        vecFreeRef(ref);
        return status;
    }
    int32_t width = rq.wantedWidth < 1 ? kDefaultSide : rq.wantedWidth;
    int32_t height = rq.wantedHeight < 1 ? kDefaultSide : rq.wantedHeight;
    if (rq.sizingMode != 1)
        status = k.renderingSize(ref.object, rq.sizingMode, &width, &height);
    vecFreeRef(ref);
    if (status != kSuccess)
        return status;
    // A size that does not fit the record's 32 bits cannot be rendered either.
    const int64_t line = ((int64_t(width) * 24 + 31) >> 3) & ~int64_t(3);
    const int64_t size = line * height;
    if (width < 1 || height < 1 || size > INT32_MAX)
        return kNoMemory;
    fillVectorInfo(*rq.info, rq, width, height, int32_t(size));
    return kSuccess;
}

int32_t infoRaster(const InfoRequest& rq)
{
    const Kernel& k = kernel();
    BitmapRecord bitmap{};
    const int32_t status = k.readRaster(rq.file, &bitmap);
    if (status == kSuccess)
        fillRasterInfo(*rq.info, bitmap);
    k.freeStorage(&bitmap);
    return status;
}

int32_t saveRaster(const char* name, const BitmapRecord* bitmap)
{
    const Kernel& k = kernel();
    const int32_t file = k.open(name, kWriteFlags, kWriteMode);
    if (file < 0)
        return kCannotOpen;
    const int32_t status = k.writeRaster(file, bitmap);
    k.close(file);
    return status;
}

}  // namespace
}  // namespace vondral

using namespace vondral;

extern "C" int32_t BW_STDCALL DllMain(void*, uint32_t reason, void*)
{
    constexpr uint32_t kProcessAttach = 1;
    if (reason == kProcessAttach)
        (void)kernel();
    return 1;
}

extern "C" int32_t BW_STDCALL fltInfo(InfoRequest* request)
{
    if (!kernel().complete)
        return kNoMemory;
    if (!request || !request->info)
        return kUnknown;
    const Marker marker = testMarker(request->file);
    if (marker.status != kSuccess)
        return marker.status;
    if (marker.format == FormatVectorDump)
        return infoVector(*request);
    if (marker.format == FormatRasterDump)
        return infoRaster(*request);
    return kUnknown;
}

extern "C" int32_t BW_STDCALL fltLoad(LoadRequest* request)
{
    const Kernel& k = kernel();
    if (!k.complete)
        return kNoMemory;
    // Rows for a destination need someone to hand them to.
    if (!request || (request->destination && !request->callback))
        return kUnknown;
    const int32_t file = k.open(request->fileName, kReadFlags, kReadMode);
    if (file < 0)
        return kCannotOpen;
    const Marker marker = testMarker(file);
    if (marker.status != kSuccess || marker.format == 0) {
        k.close(file);
        return marker.status != kSuccess ? marker.status : kUnknown;
    }
    return marker.format == FormatVectorDump ? loadVector(*request, file)
                                             : loadRaster(*request, file);
}

extern "C" int32_t BW_STDCALL fltSave(SaveRequest* request)
{
    if (!kernel().complete)
        return kNoMemory;
    if (!request)
        return kUnknown;
    if (VectorObject* object = request->object)
        return vecWriteDump(object, request->fileName);
    if (request->bitmap)
        return saveRaster(request->fileName, request->bitmap);
    return kUnknown;
}

namespace {
// The loader's attach and detach notifications, as the platform's DllMain gets them.
__attribute__((constructor)) void attach() { DllMain(nullptr, 1, nullptr); }
__attribute__((destructor)) void detach() { DllMain(nullptr, 0, nullptr); }
}  // namespace
