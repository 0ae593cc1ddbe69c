#include "platform/forms/Metafile.h"

#include "platform/forms/LittleEndian.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QSvgRenderer>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace forms {

namespace {

using detail::LittleEndian;

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint32_t kEmfSignature = 0x464D4520;   // " EMF"
constexpr size_t kMaxPlayerBytes = size_t(256) << 20;
constexpr qsizetype kMaxSvgBytes = qsizetype(64) << 20;
constexpr qint64 kMaxPlayMs = 5000;

bool isPlaceable(const QByteArray& b)
{
    const LittleEndian f{b};
    return f.has(0, 22) && f.u32(0) == kPlaceableKey;
}

bool isEmf(const QByteArray& b)
{
    const LittleEndian f{b};
    return f.has(0, 88) && f.u32(0) == 1 && f.u32(40) == kEmfSignature;
}

// Rounds a length in units of unitsPerInch to pixels at 96 per inch.
int pixels(double length, double unitsPerInch)
{
    return int(std::lround(length * 96.0 / unitsPerInch));
}

QString sizeProblem(int w, int h)
{
    if (w <= 0 || h <= 0)
        return QStringLiteral("The metafile has no size");
    if (w > kMaxMetafileSide || h > kMaxMetafileSide)
        return QStringLiteral("The metafile is too large (%1 x %2)").arg(w).arg(h);
    return {};
}

// The WMF player's memory, counted against a budget: a block carries its size.
struct Budget {
    size_t used = 0;
};

void* budgetMalloc(void* context, size_t size)
{
    auto* budget = static_cast<Budget*>(context);
    if (size > kMaxPlayerBytes - budget->used)
        return nullptr;
    auto* block = static_cast<size_t*>(std::malloc(size + sizeof(max_align_t)));
    if (!block)
        return nullptr;
    *block = size;
    budget->used += size;
    return reinterpret_cast<char*>(block) + sizeof(max_align_t);
}

void budgetFree(void* context, void* mem)
{
    if (!mem)
        return;
    auto* block = reinterpret_cast<size_t*>(static_cast<char*>(mem) - sizeof(max_align_t));
    static_cast<Budget*>(context)->used -= *block;
    std::free(block);
}

void* budgetRealloc(void* context, void* mem, size_t size)
{
    if (!mem)
        return budgetMalloc(context, size);
    auto* block = reinterpret_cast<size_t*>(static_cast<char*>(mem) - sizeof(max_align_t));
    void* fresh = budgetMalloc(context, size);
    if (!fresh)
        return nullptr;
    std::memcpy(fresh, mem, std::min(size, *block));
    budgetFree(context, mem);
    return fresh;
}

// Stops the player once it has run too long.
int playStatus(void* context, float)
{
    return static_cast<QElapsedTimer*>(context)->hasExpired(kMaxPlayMs) ? 1 : 0;
}

// The player's device units are points, from the top-left of the placeable
// frame; the whole frame is mapped onto w x h.
QByteArray wmfToSvg(const QByteArray& bytes, int w, int h, QString* error)
{
    const LittleEndian f{bytes};
    Budget budget;
    wmfAPI_Options options{};
    options.context = &budget;
    options.malloc = budgetMalloc;
    options.realloc = budgetRealloc;
    options.free = budgetFree;
    options.function = wmf_svg_function;
    const unsigned long flags = WMF_OPT_ALLOC | WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL
                                | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* api = nullptr;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        *error = QStringLiteral("The metafile reader cannot start");
        return {};
    }
    QElapsedTimer timer;
    timer.start();
    wmf_status_function(api, &timer, playStatus);
    QByteArray svg;
    QByteArray input = bytes;   // the reader takes a non-const buffer
    wmfD_Rect drawn{};
    wmf_error_t status = wmf_mem_open(api, reinterpret_cast<unsigned char*>(input.data()),
                                      long(input.size()));
    if (status == wmf_E_None)
        status = wmf_scan(api, 0, &drawn);
    const double toPoints = 72.0 / f.u16(14);
    wmfD_Rect bbox{};
    bbox.BR.x = float((double(f.i16(10)) - f.i16(6)) * toPoints);
    bbox.BR.y = float((double(f.i16(12)) - f.i16(8)) * toPoints);
    wmfStream* out = nullptr;
    if (status == wmf_E_None) {
        wmf_svg_t* device = WMF_SVG_GetData(api);
        out = wmf_stream_create(api, nullptr);
        device->out = out;
        device->Description = const_cast<char*>("picture");
        device->bbox = bbox;
        device->width = unsigned(w);
        device->height = unsigned(h);
        // Raster records become data URIs: the device never writes files.
        device->flags |= WMF_SVG_INLINE_IMAGES;
        if (out)
            status = wmf_play(api, 0, &drawn);
        else
            status = wmf_E_InsMem;
    }
    if (out) {
        char* text = nullptr;
        unsigned long length = 0;
        wmf_stream_destroy(api, out, &text, &length);
        if (status == wmf_E_None && text)
            svg = QByteArray(text, qsizetype(length));
        if (text)
            wmf_free(api, text);
    }
    wmf_api_destroy(api);
    if (status != wmf_E_None)
        *error = status == wmf_E_UserExit ? QStringLiteral("The metafile takes too long to draw")
                 : status == wmf_E_InsMem ? QStringLiteral("The metafile needs too much memory")
                                          : QStringLiteral("The metafile is damaged");
    return svg;
}

// In the converter's own scale: device units of the reference device, the
// drawing's bounds moved to the origin.
QByteArray emfToSvg(const QByteArray& bytes, QString* error)
{
    generatorOptions options{};
    options.nameSpace = const_cast<char*>("");
    options.svgDelimiter = true;
    options.emfplus = false;
    QByteArray input = bytes;
    char* text = nullptr;
    size_t length = 0;
    const int ok = emf2svg(input.data(), size_t(input.size()), &text, &length, &options);
    QByteArray svg;
    if (ok && text)
        svg = QByteArray(text, qsizetype(std::min(length, size_t(kMaxSvgBytes) + 1)));
    std::free(text);
    if (!ok || svg.isEmpty())
        *error = QStringLiteral("The metafile is damaged");
    return svg;
}

// The frame in the reference device's units, relative to the bounds (where
// the converter puts its origin).
QRectF emfFrame(const QByteArray& b)
{
    const LittleEndian f{b};
    const int32_t deviceX = f.i32(72), deviceY = f.i32(76);
    const int32_t millimetresX = f.i32(80), millimetresY = f.i32(84);
    const bool known = deviceX > 0 && deviceY > 0 && millimetresX > 0 && millimetresY > 0;
    // Units per hundredth of a millimetre; 96 per inch when the header says nothing.
    const double sx = known ? double(deviceX) / (millimetresX * 100.0) : 96.0 / 2540.0;
    const double sy = known ? double(deviceY) / (millimetresY * 100.0) : 96.0 / 2540.0;
    const double left = f.i32(24) * sx - f.i32(8);
    const double top = f.i32(28) * sy - f.i32(12);
    return QRectF(left, top, (double(f.i32(32)) - f.i32(24)) * sx,
                  (double(f.i32(36)) - f.i32(28)) * sy);
}

}  // namespace

bool isMetafile(const QByteArray& bytes)
{
    return isPlaceable(bytes) || isEmf(bytes);
}

QImage readMetafile(const QByteArray& bytes, QString* error)
{
    const LittleEndian f{bytes};
    QString problem;
    int w = 0, h = 0;
    if (bytes.size() > kMaxMetafileBytes) {
        problem = QStringLiteral("The metafile is too large (%1 bytes)").arg(bytes.size());
    } else if (isPlaceable(bytes)) {
        const int inch = f.u16(14);
        if (inch == 0)
            problem = QStringLiteral("The metafile is damaged");
        else {
            w = pixels(double(f.i16(10)) - f.i16(6), inch);
            h = pixels(double(f.i16(12)) - f.i16(8), inch);
        }
    } else if (isEmf(bytes)) {
        // The frame is in hundredths of a millimetre.
        w = pixels(double(f.i32(32)) - f.i32(24), 2540.0);
        h = pixels(double(f.i32(36)) - f.i32(28), 2540.0);
    } else {
        problem = QStringLiteral("Unsupported image format");
    }
    if (problem.isEmpty())
        problem = sizeProblem(w, h);
    QByteArray svg;
    if (problem.isEmpty())
        svg = isPlaceable(bytes) ? wmfToSvg(bytes, w, h, &problem) : emfToSvg(bytes, &problem);
    if (problem.isEmpty() && svg.size() > kMaxSvgBytes)
        problem = QStringLiteral("The metafile draws too much");
    QSvgRenderer renderer;
    if (problem.isEmpty() && !renderer.load(svg))
        problem = QStringLiteral("The metafile is damaged");
    if (problem.isEmpty() && isEmf(bytes))
        renderer.setViewBox(emfFrame(bytes));
    if (!problem.isEmpty()) {
        *error = problem;
        return {};
    }
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    renderer.render(&painter, QRectF(0, 0, w, h));
    painter.end();
    return image;
}

}  // namespace forms
