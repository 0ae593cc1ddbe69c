#include "platform/runtime/Conversions.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/Variant.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace rt {

double roundHalfEven(double value)
{
    // nearbyint honours the current rounding mode, which is to-nearest-even
    // unless someone changed it; do not rely on that.
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5)
        return floor + 1;
    if (diff < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

int16_t CInt(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0))
        raise(errc::Overflow);
    return int16_t(r);
}

int32_t CLng(double value)
{
    const double r = roundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        raise(errc::Overflow);
    return int32_t(r);
}

int16_t CInt(const Variant& value)
{
    return value.toInteger();
}

int32_t CLng(const Variant& value)
{
    return value.toLong();
}

double CDbl(const Variant& value)
{
    return value.toDouble();
}

bool CBool(const Variant& value)
{
    return value.toBool();
}

QString CStr(const Variant& value)
{
    return value.toString();
}

double Int(double value)
{
    return std::floor(value);
}

double Fix(double value)
{
    return std::trunc(value);
}

namespace {

// Reads "&H..." or "&O..." from position i (at the "&"); returns false when it
// is no such number.
bool readRadix(const QString& t, qsizetype i, double& out, bool wholeText)
{
    if (i + 1 >= t.size() || t[i] != u'&')
        return false;
    const QChar kind = t[i + 1].toUpper();
    int base = 0;
    if (kind == u'H')
        base = 16;
    else if (kind == u'O')
        base = 8;
    else
        return false;
    uint64_t acc = 0;
    qsizetype j = i + 2;
    int digits = 0;
    for (; j < t.size(); ++j) {
        const int d = t[j].isDigit() ? t[j].digitValue()
                      : (base == 16 && t[j].toUpper() >= u'A' && t[j].toUpper() <= u'F')
                          ? t[j].toUpper().unicode() - u'A' + 10
                          : -1;
        if (d < 0 || d >= base)
            break;
        acc = acc * base + d;
        if (acc > 0xFFFFFFFFull)
            acc &= 0xFFFFFFFFull;
        ++digits;
    }
    if (wholeText && (j != t.size() || digits == 0))
        return false;
    // Up to 4 hex digits read as an Integer, more as a Long: both are signed.
    if (base == 16 && digits <= 4)
        out = double(int16_t(uint16_t(acc)));
    else if (base == 8 && acc <= 0xFFFF && digits <= 6)
        out = double(int16_t(uint16_t(acc)));
    else
        out = double(int32_t(uint32_t(acc)));
    return true;
}

}  // namespace

double Val(const QString& text)
{
    QString t;
    t.reserve(text.size());
    for (QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
            t.append(c);
    double radix = 0;
    if (readRadix(t, 0, radix, false))
        return radix;
    qsizetype i = 0;
    QString num;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        num.append(t[i++]);
    bool digits = false;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
        num.append(t[i++]);
        digits = true;
    }
    if (i < t.size() && t[i] == u'.') {
        num.append(t[i++]);
        while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
            num.append(t[i++]);
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (i < t.size() && (t[i].toUpper() == u'E' || t[i].toUpper() == u'D')) {
        QString exp = QStringLiteral("e");
        qsizetype j = i + 1;
        if (j < t.size() && (t[j] == u'-' || t[j] == u'+'))
            exp.append(t[j++]);
        bool expDigits = false;
        while (j < t.size() && t[j].isDigit() && t[j].unicode() < 128) {
            exp.append(t[j++]);
            expDigits = true;
        }
        if (expDigits)
            num.append(exp);
    }
    return num.toDouble();
}

bool parseNumber(const QString& text, double& out)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    if (t.startsWith(u'&'))
        return readRadix(t, 0, out, true);
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return false;
    out = d;
    return true;
}

QString Hex(int32_t value)
{
    return QString::number(uint32_t(value), 16).toUpper();
}

QString Hex(int16_t value)
{
    return QString::number(uint16_t(value), 16).toUpper();
}

QString numberText(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(value, 'f', 0);
    QString s = QString::number(value, 'g', 15);
    // The original writes exponents as "E+16" / "E-05".
    const qsizetype e = s.indexOf(u'e');
    if (e >= 0) {
        QString mant = s.left(e);
        QString exp = s.mid(e + 1);
        const QChar sign = exp.startsWith(u'-') ? u'-' : u'+';
        if (exp.startsWith(u'-') || exp.startsWith(u'+'))
            exp.remove(0, 1);
        while (exp.size() > 2 && exp.startsWith(u'0'))
            exp.remove(0, 1);
        if (exp.size() < 2)
            exp.prepend(u'0');
        s = mant + u'E' + sign + exp;
    }
    return s;
}

QString Str(double value)
{
    QString t = numberText(value);
    // Str, unlike CStr, drops the zero before the point: " .5", "-.25".
    if (t.startsWith(QLatin1String("0.")))
        t.remove(0, 1);
    else if (t.startsWith(QLatin1String("-0.")))
        t.remove(1, 1);
    return value >= 0 ? u' ' + t : t;
}

}  // namespace rt
