#include "conversion/engine/mConversion.h"

#include "conversion/engine/InputItems.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/SaveFile.h"
#include "platform/runtime/Text.h"

#include <QFile>
#include <QFileInfo>

namespace mConversion {

QString sCurrentRow = QStringLiteral("-1");
QString sSourceName;
int16_t nPairs = 0;
QStringList sOldLines;
QStringList sNewLines;

namespace {

// Reference lines of the maker's libraries, as projects write them.
#define ORV20_CTL "OBJECT={7C3E1A40-5B21-11CF-8E4A-00A0C90F26EA}#2.0#0; ORVCTL20.OCX"
#define ORV20_SPL "OBJECT={7C3E1A44-5B21-11CF-8E4A-00A0C90F26EA}#2.0#0; ORVSPL20.OCX"
#define ORV30_TBR "OBJECT={A1D40E10-2C7B-11D1-B3F6-0080C84E1F52}#3.0#0; ORVTBR30.OCX"
#define ORV30_SPL "OBJECT={A1D40E14-2C7B-11D1-B3F6-0080C84E1F52}#3.0#0; ORVSPL30.OCX"
#define ORV30_TAB "OBJECT={A1D40E18-2C7B-11D1-B3F6-0080C84E1F52}#3.0#0; ORVTAB30.OCX"
#define ORV30_STB "OBJECT={A1D40E1C-2C7B-11D1-B3F6-0080C84E1F52}#3.0#0; ORVSTB30.OCX"
#define ORV30_LST "OBJECT={A1D40E20-2C7B-11D1-B3F6-0080C84E1F52}#3.0#0; ORVLST30.OCX"
#define ORV30_EDT "OBJECT={A1D40E24-2C7B-11D1-B3F6-0080C84E1F52}#3.0#0; ORVEDT30.OCX"

#define DRS20_GRD32 "OBJECT={93B6F0A2-4E8C-11CE-86D1-00AA0060F3B7}#2.0#0; DRSGRD32.OCX"
#define DRS20_CMB32 "OBJECT={93B6F0A6-4E8C-11CE-86D1-00AA0060F3B7}#2.0#0; DRSCMB32.OCX"
#define DRS20_GRD16 "OBJECT={93B6F0A2-4E8C-11CE-86D1-00AA0060F3B7}#2.0#0; DRSGRD16.OCX"
#define DRS20_CMB16 "OBJECT={93B6F0A6-4E8C-11CE-86D1-00AA0060F3B7}#2.0#0; DRSCMB16.OCX"
#define DRS30_GRD32 "Object={93B6F0B2-4E8C-11CE-86D1-00AA0060F3B7}#3.0#0; DRSODG32.OCX"
#define DRS30_CMB32 "Object={93B6F0B6-4E8C-11CE-86D1-00AA0060F3B7}#3.0#0; DRSODC32.OCX"
#define DRS30_GRD16 "Object={93B6F0B2-4E8C-11CE-86D1-00AA0060F3B7}#3.0#0; DRSODG16.OCX"
#define DRS30_CMB16 "Object={93B6F0B6-4E8C-11CE-86D1-00AA0060F3B7}#3.0#0; DRSODC16.OCX"

#define ZNT10_TBR "Object={2E8F4B30-1A6C-11CE-9F21-00AA00574C8D}#1.0#0; ZNTBAR10.OCX"
#define ZNT20_TBR "Object={2E8F4B38-1A6C-11CE-9F21-00AA00574C8D}#2.0#0; ZNTBAR20.OCX"
#define ZNT20_TAB "Object={2E8F4B3C-1A6C-11CE-9F21-00AA00574C8D}#2.0#0; ZNTTAB20.OCX"

#define HVB40_TBR "Object={5F2B9C60-8D13-11D2-A7E0-00C04FB6D4A9}#4.0#0; QBTOOLBARS40.OCX"
#define HVB40_SPL "Object={5F2B9C64-8D13-11D2-A7E0-00C04FB6D4A9}#4.0#0; QBSPLIT40.OCX"
#define HVB40_TAB "Object={5F2B9C68-8D13-11D2-A7E0-00C04FB6D4A9}#4.0#0; QBTABS40.OCX"
#define HVB40_STB "Object={5F2B9C6C-8D13-11D2-A7E0-00C04FB6D4A9}#4.0#0; QBSTATUS40.OCX"
#define HVB40_LST "Object={5F2B9C70-8D13-11D2-A7E0-00C04FB6D4A9}#4.0#0; QBLIST40.OCX"
#define HVB40_EDT "Object={5F2B9C74-8D13-11D2-A7E0-00C04FB6D4A9}#4.0#0; QBEDIT40.OCX"
// Stored in upper case with a blank before the equals sign.
#define HVB50_TBR "OBJECT ={5F2B9C80-8D13-11D2-A7E0-00C04FB6D4A9}#5.0#0; QBTOOLBARS50.OCX"

#define TRV10 "Object={C48A2D10-77E3-11CF-B1D2-0020AF3E9B45}#1.0#0; TRVLN10.OCX"
#define TRV20 "Object={C48A2D18-77E3-11CF-B1D2-0020AF3E9B45}#2.0#0; TRVLN20.OCX"

const std::array<ConversionRow, kConversionCount> kTable{{
    {"Orvelle 2.0 to Orvelle Plus", "Orvelle 2.0", 2,
     {ORV20_CTL, ORV20_SPL}, {ORV30_TBR, ORV30_SPL}},
    // The 16-bit lines agree with the 32-bit ones up to the semicolon, so the
    // first two pairs already catch them.
    {"Drossline 2.0 to Drossline 3.x (ODBC)", "Drossline 2.0", 4,
     {DRS20_GRD32, DRS20_CMB32, DRS20_GRD16, DRS20_CMB16},
     {DRS30_GRD32, DRS30_CMB32, DRS30_GRD16, DRS30_CMB16}},
    {"Zentribar 1.0 to Zentribar 2.0", "Zentribar 1.0", 1, {ZNT10_TBR}, {ZNT20_TBR}},
    {"Zentribar Plus (2.x) to Halvorbar 4.0", "Zentribar 2.0", 2,
     {ZNT20_TBR, ZNT20_TAB}, {HVB40_TBR, HVB40_TAB}},
    {"Orvelle Plus (3.x) to Halvorbar 4.0", "Orvelle Plus", 6,
     {ORV30_TBR, ORV30_SPL, ORV30_TAB, ORV30_STB, ORV30_LST, ORV30_EDT},
     {HVB40_TBR, HVB40_SPL, HVB40_TAB, HVB40_STB, HVB40_LST, HVB40_EDT}},
    {"Zentribar 1.0 to Halvorbar 4.0", "Zentribar 1.0", 1, {ZNT10_TBR}, {HVB40_TBR}},
    {"Orvelle 2.0 to Halvorbar 4.0", "Orvelle 2.0", 2,
     {ORV20_CTL, ORV20_SPL}, {HVB40_TBR, HVB40_SPL}},
    {"Trevalon 1.0 to Trevalon 2.0", "Trevalon 1.0", 1, {TRV10}, {TRV20}},
    {"Halvorbar 4.0 to Halvorbar 5.0", "Halvorbar 4.0", 1, {HVB40_TBR}, {HVB50_TBR}},
    {"Zentribar Plus to Halvorbar 5.0", "Zentribar 2.0", 2,
     {ZNT20_TBR, ZNT20_TAB}, {HVB50_TBR, HVB40_TAB}},
    {"Orvelle Plus to Halvorbar 5.0", "Orvelle Plus", 6,
     {ORV30_TBR, ORV30_SPL, ORV30_TAB, ORV30_STB, ORV30_LST, ORV30_EDT},
     {HVB40_TBR, HVB40_SPL, HVB40_TAB, HVB40_STB, HVB40_LST, HVB40_EDT}},
    {"Zentribar to Halvorbar 5.0", "Zentribar 1.0", 1, {ZNT10_TBR}, {HVB50_TBR}},
}};

bool pairMatches(const QString& oldLine, const QString& text)
{
    if (oldLine.compare(text, Qt::CaseInsensitive) == 0)
        return true;
    const qsizetype p = oldLine.indexOf(u';');
    if (p <= 0 || text.indexOf(u';') != p)
        return false;
    return QStringView(oldLine).left(p + 1).compare(QStringView(text).left(p + 1),
                                                    Qt::CaseInsensitive) == 0;
}

// A project whose file carries no write permission is read-only, also for a
// user (root) whom the system would let write it anyway.
bool isReadOnly(const QFileInfo& info)
{
    constexpr auto kWrite = QFileDevice::WriteOwner
                            | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !(info.permissions() & kWrite) || !info.isWritable();
}

QString notAFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("it no longer exists");
    return info.isDir() ? QStringLiteral("it is a folder") : QStringLiteral("it is not a file");
}

}  // namespace

const std::array<ConversionRow, kConversionCount>& conversionTable() { return kTable; }

void SetupConversion(int16_t row)
{
    if (rt::Val(sCurrentRow) == row)
        return;
    sCurrentRow = QString::number(row);
    if (row < 0 || row >= kConversionCount)
        return;
    const ConversionRow& r = kTable[size_t(row)];
    sSourceName = QString::fromLatin1(r.sourceName);
    nPairs = r.pairCount;
    sOldLines.clear();
    sNewLines.clear();
    for (int16_t k = 0; k < nPairs; ++k) {
        sOldLines.append(QString::fromLatin1(r.oldLines[size_t(k)]));
        sNewLines.append(QString::fromLatin1(r.newLines[size_t(k)]));
    }
    sOldLines.append(QString());
    sNewLines.append(QString());
}

int16_t MatchingPair(const QString& text)
{
    for (int16_t k = 0; k < nPairs && k < sOldLines.size(); ++k) {
        if (pairMatches(sOldLines[k], text))
            return k;
    }
    return -1;
}

QString ProjectSizeProblem(qint64 bytes)
{
    if (bytes <= kMaxProjectBytes)
        return QString();
    return QStringLiteral("it is %1 bytes, more than a project file can be (%2 bytes)")
        .arg(bytes)
        .arg(kMaxProjectBytes);
}

bool ProjectUsesProduct(const QString& path)
{
    // Regular files only: opening a pipe named like a project would block.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxProjectBytes)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    conv::InputItems items(file, kMaxProjectBytes);
    QString item;
    while (items.next(item)) {
        if (MatchingPair(item) >= 0)
            return true;
    }
    return false;
}

QString BackupName(const QString& path)
{
    // Only the file name is searched: a ".vbp" in a folder name must not send
    // the backup into another folder, and a name without ".vbp" keeps its
    // own folder rather than a shared "bak" in the current one.
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    const qsizetype p = path.indexOf(QLatin1String(".vbp"), nameStart, Qt::CaseInsensitive);
    if (p < 0)
        return path + QLatin1String(".bak");
    return path.left(p + 1) + QLatin1String("bak");
}

QString BackupProject(const QString& path, QString* why)
{
    const QString backup = BackupName(path);
    auto fail = [&](const QString& reason) {
        if (why)
            *why = reason;
        return QString();
    };
    // The old backup is replaced only by a complete copy: a project that
    // cannot be read, or a full disk, must not cost the backup of an earlier
    // conversion (after one conversion it is the only original left).
    QFile source(path);
    if (!QFileInfo(path).isFile())
        return fail(notAFile(path));
    if (!source.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("it cannot be read (%1)").arg(source.errorString()));
    // Find does not list such a file, but it may have grown since, or have
    // been opened by name.
    if (const QString tooLarge = ProjectSizeProblem(source.size()); !tooLarge.isEmpty())
        return fail(tooLarge);
    if (QFileInfo(backup).isDir())
        return fail(QStringLiteral("a folder stands where its backup %1 should go").arg(backup));
    rt::SaveFile target(backup);
    const QString cannotBackUp = QStringLiteral("its backup %1 cannot be written (%2)");
    if (!target.open(QIODevice::WriteOnly))
        return fail(cannotBackUp.arg(backup, target.errorString()));
    // The copy is no more readable than the project (a private project
    // keeps a private backup).
    target.setPermissions(source.permissions());
    qint64 copied = 0;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(64 * 1024);
        copied += chunk.size();
        if (copied > kMaxProjectBytes) {   // it grows while it is copied
            target.cancelWriting();
            return fail(ProjectSizeProblem(source.size()));
        }
        if (chunk.isEmpty() || target.write(chunk) != chunk.size()) {
            target.cancelWriting();
            return fail(chunk.isEmpty()
                            ? QStringLiteral("it cannot be read (%1)").arg(source.errorString())
                            : cannotBackUp.arg(backup, target.errorString()));
        }
    }
    if (source.error() != QFileDevice::NoError) {
        target.cancelWriting();
        return fail(QStringLiteral("it cannot be read (%1)").arg(source.errorString()));
    }
    if (!target.commit())
        return fail(cannotBackUp.arg(backup, target.errorString()));
    return backup;
}

bool ConvertProject(const QString& path, QString* why)
{
    auto fail = [&](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    const QFileInfo info(path);
    if (!info.isFile())
        return fail(notAFile(path));
    if (isReadOnly(info))
        return fail(QStringLiteral("it is read-only"));
    const QString backup = BackupProject(path, why);
    if (backup.isEmpty())
        return false;

    QFile input(backup);
    if (!input.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("its backup %1 cannot be read (%2)")
                        .arg(backup, input.errorString()));
    rt::SaveFile output(path);
    const auto cannotWrite = [&] {
        return fail(QStringLiteral("it cannot be written (%1)").arg(output.errorString()));
    };
    if (!output.open(QIODevice::WriteOnly))
        return cannotWrite();

    // Lines end at LF, CR LF or a lone CR; unchanged lines keep their bytes.
    QByteArray pending = input.read(64 * 1024);
    qsizetype pos = 0;
    bool readFailed = false;
    auto nextLine = [&](QByteArray& line) -> bool {
        line.clear();
        for (;;) {
            if (pos >= pending.size()) {
                if (input.atEnd())
                    return !line.isEmpty();
                pending = input.read(64 * 1024);
                pos = 0;
                if (pending.isEmpty()) {
                    readFailed = !input.atEnd();
                    return !line.isEmpty() && !readFailed;
                }
            }
            const char c = pending[pos++];
            if (c == '\n')
                return true;
            if (c == '\r') {
                if (pos >= pending.size() && !input.atEnd()) {
                    pending = input.read(64 * 1024);
                    pos = 0;
                }
                if (pos < pending.size() && pending[pos] == '\n')
                    ++pos;
                return true;
            }
            line.append(c);
        }
    };

    QByteArray line;
    bool writeFailed = false;
    while (!writeFailed && nextLine(line)) {
        const int16_t k = MatchingPair(QString::fromLatin1(line));
        if (k >= 0 && !sNewLines[k].isEmpty())
            line = sNewLines[k].toLatin1();
        line += "\r\n";
        writeFailed = output.write(line) != line.size();
    }
    if (readFailed || input.error() != QFileDevice::NoError) {
        output.cancelWriting();
        return fail(QStringLiteral("its backup %1 cannot be read (%2)")
                        .arg(backup, input.errorString()));
    }
    if (writeFailed) {
        output.cancelWriting();
        return cannotWrite();
    }
    if (!output.commit())
        return cannotWrite();
    return true;
}

void ParsePathList(const QString& text, rt::Collection& list)
{
    list.clear();
    if (text.isEmpty())
        return;
    const QStringList parts = text.split(u';');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i == parts.size() - 1 && parts[i].isEmpty())
            break;
        list.Add(rt::Variant(parts[i]));
    }
}

}  // namespace mConversion
