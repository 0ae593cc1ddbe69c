#include "platform/runtime/Text.h"

#include "platform/runtime/Error.h"

namespace rt {

namespace {
Qt::CaseSensitivity cs(Compare c)
{
    return c == Compare::Text ? Qt::CaseInsensitive : Qt::CaseSensitive;
}
}  // namespace

QString LTrim(const QString& s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    return s.mid(i);
}

QString RTrim(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    return s.left(n);
}

QString Trim(const QString& s)
{
    return LTrim(RTrim(s));
}

QString UCase(const QString& s)
{
    return s.toUpper();
}

QString LCase(const QString& s)
{
    return s.toLower();
}

QString Left(const QString& s, int32_t n)
{
    if (n < 0)
        raise(errc::InvalidCall);
    return s.left(n);
}

QString Right(const QString& s, int32_t n)
{
    if (n < 0)
        raise(errc::InvalidCall);
    return s.right(n);
}

QString Mid(const QString& s, int32_t start, int32_t length)
{
    if (start < 1)
        raise(errc::InvalidCall);
    if (start > s.size())
        return {};
    return length < 0 ? s.mid(start - 1) : s.mid(start - 1, length);
}

int32_t Len(const QString& s)
{
    return int32_t(s.size());
}

int32_t InStr(int32_t start, const QString& s, const QString& find, Compare compare)
{
    if (start < 1)
        raise(errc::InvalidCall);
    if (start > s.size() + 1)
        return 0;
    if (find.isEmpty())
        return start;
    const qsizetype at = s.indexOf(find, start - 1, cs(compare));
    return at < 0 ? 0 : int32_t(at + 1);
}

int32_t InStr(const QString& s, const QString& find, Compare compare)
{
    return InStr(1, s, find, compare);
}

int32_t InStrRev(const QString& s, const QString& find, int32_t start, Compare compare)
{
    if (start == 0 || start < -1)
        raise(errc::InvalidCall);
    if (start == -1)
        start = int32_t(s.size());
    if (find.isEmpty())
        return start;
    if (start > s.size())
        return 0;
    // The match must end at or before position `start`.
    const qsizetype from = start - find.size();
    if (from < 0)
        return 0;
    const qsizetype at = s.lastIndexOf(find, from, cs(compare));
    return at < 0 ? 0 : int32_t(at + 1);
}

QString Replace(const QString& s, const QString& find, const QString& with, Compare compare)
{
    if (find.isEmpty())
        return s;
    QString r = s;
    return r.replace(find, with, cs(compare));
}

QString Space(int32_t n)
{
    if (n < 0)
        raise(errc::InvalidCall);
    return QString(n, u' ');
}

QString StringOf(int32_t n, QChar c)
{
    if (n < 0)
        raise(errc::InvalidCall);
    return QString(n, c);
}

QString Chr(int32_t code)
{
    if (code < 0 || code > 0xFFFF)
        raise(errc::InvalidCall);
    return QString(QChar(char16_t(code)));
}

int32_t Asc(const QString& s)
{
    if (s.isEmpty())
        raise(errc::InvalidCall);
    return s[0].unicode();
}

int32_t StrComp(const QString& a, const QString& b, Compare compare)
{
    const int c = a.compare(b, cs(compare));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

}  // namespace rt
