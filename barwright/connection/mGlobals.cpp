#include "barwright/connection/mGlobals.h"

#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Text.h"

#include <array>

namespace mGlobals {

namespace {

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

const std::array<const char*, 8> kToolTypes = {
    "Button", "State Button", "DropDown", "DropDown State Button",
    "ComboBox", "Edit",       "Label",    "Menu"};

}  // namespace

bool ParseColorText(QString& text, int32_t& colour)
{
    const QString t = rt::Trim(text);
    if (t.size() != 11)
        return false;
    if (t[0] != u'&' || (t[1] != u'h' && t[1] != u'H') || t[10] != u'&')
        return false;
    const bool system = t.mid(2, 6) == QLatin1String("800000");
    if (t.mid(2, 2) != QLatin1String("00") && !system)
        return false;
    for (qsizetype i = 3; i <= 9; ++i) {
        if (!isHexDigit(t[i]))
            return false;
    }
    if (system && t.mid(8, 2).toInt(nullptr, 16) > 24)
        return false;
    colour = int32_t(t.mid(2, 8).toUInt(nullptr, 16));
    QString normal = t;
    for (qsizetype i = 1; i <= 9; ++i) {
        if (normal[i] >= u'a' && normal[i] <= u'h')
            normal[i] = normal[i].toUpper();
    }
    text = normal;
    return true;
}

QString FormatColorHex(int32_t colour)
{
    const QString digits = rt::Hex(colour);
    if (colour < 0 && !digits.startsWith(QLatin1Char('8')))
        return QStringLiteral("&H00000000&");
    return QStringLiteral("&H") + digits.rightJustified(8, QLatin1Char('0'))
           + QLatin1Char('&');
}

QString ToolTypeName(int16_t toolType, bool shortForm)
{
    const int16_t t = (toolType >= 0 && toolType <= 7) ? toolType : 0;
    const QString name = QString::fromLatin1(kToolTypes[size_t(t)]);
    return shortForm ? name : QString::number(t) + QStringLiteral(" - ") + name;
}

QString ToolbarTypeName(int16_t style)
{
    return style == 1 ? QStringLiteral("1 - Menu Bar") : QStringLiteral("0 - Standard Toolbar");
}

int16_t CountToolbarsWithTool(const QString& id, const com::Object& control)
{
    int16_t count = 0;
    rt::ResumeNext rn;
    com::Object toolbars;
    int32_t n = 0;
    rn([&] { toolbars = com::Object::fromVariant(control.get(QStringLiteral("Toolbars"))); });
    rn([&] { n = toolbars.get(QStringLiteral("Count")).toLong(); });
    for (int32_t i = 1; i <= n; ++i) {
        rn.clear();
        rn([&] {
            const auto bar = com::Object::fromVariant(toolbars.get(QStringLiteral("Item"), {i}));
            const auto tools = com::Object::fromVariant(bar.get(QStringLiteral("Tools")));
            const auto tool = com::Object::fromVariant(tools.get(QStringLiteral("Item"), {id}));
            tool.get(QStringLiteral("Name"));
        });
        if (!rn.failed())
            ++count;
    }
    rn.clear();
    return count;
}

bool IsEmptyPicture(const forms::Picture& picture)
{
    if (!picture)
        rt::raise(rt::errc::ObjectNotSet);
    return picture->Handle() == 0;
}

bool IsEmptyPicture(const com::Object& picture)
{
    return picture.get(QStringLiteral("Handle")).toLong() == 0;
}

bool HasPicture(const forms::Picture& picture)
{
    return !IsEmptyPicture(picture);
}

bool HasPicture(const com::Object& picture)
{
    return !IsEmptyPicture(picture);
}

void SetToolEnabled(const com::Object& tool, bool value)
{
    if (tool.get(QStringLiteral("Enabled")).toBool() != value)
        tool.let(QStringLiteral("Enabled"), value);
}

void FilterNumericKey(int16_t& keyAscii)
{
    if (keyAscii == 8 || keyAscii == 46 || (keyAscii >= 48 && keyAscii <= 57))
        return;
    keyAscii = 0;
}

QString GetPathPart(const QString& path)
{
    const QString p = rt::Trim(path);
    if (p.isEmpty())
        return {};
    const qsizetype slash = p.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0)
        return {};
    return p.left(slash);
}

QString StripChar(const QString& text, const QString& ch)
{
    if (text.isEmpty())
        return {};
    if (ch.size() != 1)
        return text;
    QString out = text;
    out.remove(ch[0]);
    return out;
}

}  // namespace mGlobals
