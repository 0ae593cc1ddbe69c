#pragma once
// The conversion module: the fixed table of conversions, the current
// conversion, the test whether a project uses the source product, the backup
// copy, the line-by-line rewrite of a project and the folder-list splitter.

#include "platform/runtime/Collection.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <cstdint>

namespace mConversion {

inline constexpr int16_t kConversionCount = 12;
inline constexpr int16_t kMaxPairs = 6;

// One row of the table. Reference lines are written exactly as stored.
struct ConversionRow {
    const char* displayText;
    const char* sourceName;
    int16_t pairCount;
    std::array<const char*, kMaxPairs> oldLines;
    std::array<const char*, kMaxPairs> newLines;
};

const std::array<ConversionRow, kConversionCount>& conversionTable();

// Module state of the current conversion. The arrays hold indexes 0..N, the
// last element left empty. The window sets sCurrentRow to "-1" at start.
extern QString sCurrentRow;
extern QString sSourceName;
extern int16_t nPairs;
extern QStringList sOldLines;
extern QStringList sNewLines;

// Adds the twelve display texts in row order to a combo box (anything with
// AddItem(QString)).
template <class ComboBox>
void FillProductList(ComboBox& combo)
{
    for (const ConversionRow& row : conversionTable())
        combo.AddItem(QString::fromLatin1(row.displayText));
}

void SetupConversion(int16_t row);

// The index of the first pair of the current conversion matching `text`
// (equal ignoring case, or equal ignoring case up to and including a first
// ";" at the same position in both); -1 when none matches.
int16_t MatchingPair(const QString& text);

// The largest project file: real projects are a few kilobytes. A larger
// file named like one is no project: it is not read through (it must not hold
// up a search), not listed and never rewritten.
inline constexpr qint64 kMaxProjectBytes = 4 * 1024 * 1024;

// Why a file of `bytes` cannot be a project ("it is 5000000 bytes, more
// than ..."), or an empty text when it can.
QString ProjectSizeProblem(qint64 bytes);

// False for a file larger than kMaxProjectBytes.
bool ProjectUsesProduct(const QString& path);

// The backup path of a project: the file name's ".vbp" becomes ".bak".
QString BackupName(const QString& path);
// Copies the project to its backup, replacing an existing one once the copy
// is complete. Returns the backup path, or an empty text when the copy failed
// or the file is too large for a project (an existing backup then stays as
// it was); `why` then says why.
QString BackupProject(const QString& path, QString* why = nullptr);

// Rewrites the project from its backup. The new project is written beside
// the old one and replaces it only when complete: false (and the project as
// it was) when the backup, the reading or the writing failed, or when the
// project is read-only; `why` then says why ("it is read-only").
bool ConvertProject(const QString& path, QString* why = nullptr);

void ParsePathList(const QString& text, rt::Collection& list);

}  // namespace mConversion
