#include "platform/system/Profile.h"

#include "platform/runtime/Files.h"
#include "platform/runtime/SaveFile.h"
#include "platform/system/ProfileEncoding.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStringList>

#include <optional>

Q_LOGGING_CATEGORY(lcProfile, "bw.system.profile")

namespace sys {

namespace {

constexpr qsizetype kMaxValue = 255;

// A profile file as lines, with the encoding and line break it came in.
struct ProfileText {
    QStringList lines;
    bool singleByte = false;   // Windows-1252
    QString eol = QStringLiteral("\r\n");
};

QString sizeProblem(const QString& fileName, qint64 size)
{
    if (size <= kMaxProfileBytes)
        return {};
    return QStringLiteral("%1 is %2 bytes, larger than any profile file (at most %3 bytes).")
        .arg(fileName)
        .arg(size)
        .arg(kMaxProfileBytes);
}

std::optional<ProfileText> readProfile(const QString& fileName)
{
    QFile file(fileName);
    QString error;
    if (!rt::openRegularFile(file, error))
        return std::nullopt;
    if (const QString problem = sizeProblem(fileName, file.size()); !problem.isEmpty()) {
        qCWarning(lcProfile).noquote() << problem;
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    ProfileText p;
    QString text;
    if (auto decoded = decodeUtf8(bytes)) {
        text = *decoded;
    } else {   // an old single-byte file
        text = decodeWindows1252(bytes);
        p.singleByte = true;
    }
    if (!text.contains(QLatin1String("\r\n")) && text.contains(QLatin1Char('\n')))
        p.eol = QStringLiteral("\n");
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    p.lines = text.split(QLatin1Char('\n'));
    if (!p.lines.isEmpty() && p.lines.last().isEmpty())
        p.lines.removeLast();
    return p;
}

bool writeProfile(const QString& fileName, const ProfileText& p)
{
    QString text;
    for (const QString& line : p.lines)
        text += line + p.eol;
    QString error;
    if (!rt::saveWholeFile(fileName, encodeProfile(text, p.singleByte), &error)) {
        qCWarning(lcProfile).noquote() << QStringLiteral("Cannot write %1: %2").arg(fileName, error);
        return false;
    }
    return true;
}

bool sectionHeader(const QString& line, QString* name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (name)
        *name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
    return true;
}

// Splits "key = value"; false for lines that hold no entry.
bool entry(const QString& line, QString* key, QString* value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
        return false;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (key)
        *key = (eq < 0 ? t : t.left(eq)).trimmed();
    if (value) {
        QString v = eq < 0 ? QString() : t.mid(eq + 1).trimmed();
        if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        *value = v.left(kMaxValue);
    }
    return true;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index range [first, end) of the section's lines after its header; first is
// -1 when the section is missing.
std::pair<qsizetype, qsizetype> findSection(const QStringList& lines, const QString& section)
{
    qsizetype first = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString name;
        if (!sectionHeader(lines[i], &name))
            continue;
        if (first >= 0)
            return {first, i};
        if (sameName(name, section))
            first = i + 1;
    }
    return {first, lines.size()};
}

std::optional<QString> lookup(const ProfileText& p, const QString& section, const QString& key)
{
    const auto [first, end] = findSection(p.lines, section);
    if (first < 0)
        return std::nullopt;
    for (qsizetype i = first; i < end; ++i) {
        QString k, v;
        if (entry(p.lines[i], &k, &v) && sameName(k, key))
            return v;
    }
    return std::nullopt;
}

// The text, a NUL, NUL padding to `size`; returns the characters copied.
uint32_t giveText(QString text, QString& buffer, uint32_t size, bool list)
{
    if (size == 0)
        return 0;
    uint32_t copied = uint32_t(text.size());
    if (list) {
        // A list ends with two NULs; a cut list still ends with two.
        if (copied + 1 > size) {
            copied = size >= 2 ? size - 2 : 0;
            text = text.left(copied) + QChar(0);
        }
    } else if (copied + 1 > size) {
        copied = size - 1;
        text = text.left(copied);
    }
    buffer = text;
    buffer.append(QString(qsizetype(size) - text.size(), QChar(0)));
    return copied;
}

}  // namespace

QString ProfileSizeProblem(const QString& fileName)
{
    const QFileInfo info(fileName);
    return info.isFile() ? sizeProblem(fileName, info.size()) : QString();
}

uint32_t GetPrivateProfileStringA(const QString& lpAppName, const QString& lpKeyName,
                                  const QString& lpDefault, QString& lpReturnedString,
                                  uint32_t nSize, const QString& lpFileName)
{
    const auto p = readProfile(lpFileName);
    if (lpAppName.isNull() || lpKeyName.isNull()) {
        QString list;
        if (p) {
            if (lpAppName.isNull()) {
                for (const QString& line : p->lines) {
                    QString name;
                    if (sectionHeader(line, &name))
                        list += name + QChar(0);
                }
            } else {
                const auto [first, end] = findSection(p->lines, lpAppName);
                for (qsizetype i = first; first >= 0 && i < end; ++i) {
                    QString k;
                    if (entry(p->lines[i], &k, nullptr))
                        list += k + QChar(0);
                }
            }
        }
        return giveText(list, lpReturnedString, nSize, true);
    }
    std::optional<QString> value;
    if (p)
        value = lookup(*p, lpAppName, lpKeyName);
    QString text = value ? *value : lpDefault;
    if (!value) {
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
    }
    return giveText(text, lpReturnedString, nSize, false);
}

bool WritePrivateProfileStringA(const QString& lpAppName, const QString& lpKeyName,
                                const QString& lpString, const QString& lpFileName)
{
    if (lpAppName.isEmpty())
        return false;
    ProfileText p;
    if (QFile::exists(lpFileName)) {
        auto read = readProfile(lpFileName);
        if (!read) {
            qCWarning(lcProfile).noquote() << QStringLiteral("Cannot read %1").arg(lpFileName);
            return false;
        }
        p = *read;
    }
    auto [first, end] = findSection(p.lines, lpAppName);
    if (lpKeyName.isNull()) {
        if (first >= 0)
            p.lines.remove(first - 1, end - first + 1);
        return writeProfile(lpFileName, p);
    }
    qsizetype found = -1;
    for (qsizetype i = first; first >= 0 && i < end && found < 0; ++i) {
        QString k;
        if (entry(p.lines[i], &k, nullptr) && sameName(k, lpKeyName))
            found = i;
    }
    if (lpString.isNull()) {
        if (found >= 0)
            p.lines.removeAt(found);
        return writeProfile(lpFileName, p);
    }
    const QString line = lpKeyName + QLatin1Char('=') + lpString;
    if (found >= 0) {
        p.lines[found] = line;
    } else if (first >= 0) {
        qsizetype at = end;   // after the section's last entry, before blank lines
        while (at > first && p.lines[at - 1].trimmed().isEmpty())
            --at;
        p.lines.insert(at, line);
    } else {
        p.lines.append(QLatin1Char('[') + lpAppName + QLatin1Char(']'));
        p.lines.append(line);
    }
    return writeProfile(lpFileName, p);
}

int32_t GetPrivateProfileIntA(const QString& lpAppName, const QString& lpKeyName,
                              int32_t nDefault, const QString& lpFileName)
{
    const auto p = readProfile(lpFileName);
    const auto value = p ? lookup(*p, lpAppName, lpKeyName) : std::nullopt;
    if (!value)
        return nDefault;
    const QString v = *value;
    qsizetype i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == u'-' || v[i] == u'+'))
        negative = v[i++] == u'-';
    int64_t n = 0;
    for (; i < v.size() && v[i].isDigit() && v[i].unicode() < 128; ++i) {
        n = n * 10 + (v[i].unicode() - u'0');
        if (n > 0xFFFFFFFFll)   // wraps like the 32-bit original rather than overflowing
            n &= 0xFFFFFFFFll;
    }
    return int32_t(uint32_t(negative ? -n : n));
}

}  // namespace sys
