#pragma once
// What the image readers do not notice: a bitmap, GIF or JPEG file that ends
// before its pixels do reads as a whole picture whose missing part is
// whatever the reader's memory held (or a made-up fill). These checks walk
// the file's own structure, bounded by its length.

#include <QByteArray>
#include <QString>

namespace forms {

// Why the file cannot hold all of its pixels; empty when it can, or when it
// is no bitmap, GIF or JPEG (the reader judges those).
QString truncationProblem(const QByteArray& bytes);

}  // namespace forms
