#include "platform/toolbar/QrvFormat.h"

#include "platform/runtime/Files.h"
#include "platform/runtime/SaveFile.h"
#include "platform/toolbar/MqZentribar.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

#include <cmath>
#include <limits>

namespace toolbar::qrv {

namespace {

Q_LOGGING_CATEGORY(lcQrv, "bw.toolbar.qrv", QtInfoMsg)

const QString kFormat = QStringLiteral("format");
const QString kVersion = QStringLiteral("version");

// ---- Writing -----------------------------------------------------------------

QByteArray encodePng(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        rt::raise(rt::errc::InternalError, QStringLiteral("MqZentribar"),
                  QStringLiteral("A tool picture could not be encoded: %1")
                      .arg(writer.errorString()));
    return png;
}

QJsonObject tagToJson(const rt::Variant& tag)
{
    QJsonObject o;
    o.insert(QStringLiteral("type"), tag.typeName());
    switch (tag.type()) {
    case rt::VarType::Empty:
    case rt::VarType::Null:
        break;
    case rt::VarType::Boolean: o.insert(QStringLiteral("value"), tag.toBool()); break;
    case rt::VarType::Integer:
    case rt::VarType::Long:
    case rt::VarType::Byte: o.insert(QStringLiteral("value"), tag.toLong()); break;
    case rt::VarType::Single:
        o.insert(QStringLiteral("value"), QString::number(double(tag.toSingle()), 'g', 9));
        break;
    case rt::VarType::Double:
        o.insert(QStringLiteral("value"), QString::number(tag.toDouble(), 'g', 17));
        break;
    case rt::VarType::ByteArray:
        o.insert(QStringLiteral("value"), QString::fromLatin1(tag.toBytes().toBase64()));
        break;
    default: o.insert(QStringLiteral("value"), tag.toString()); break;
    }
    return o;
}

bool isDefault(const ToolComboBox& c)
{
    return c.items().empty() && c.Style() == 0 && c.Text().isEmpty() && !c.Locked() &&
           !c.Sorted() && c.ListIndex() == -1;
}

bool isDefault(const ToolEdit& e)
{
    return !e.Locked() && e.MaxLength() == 0 && e.Text().isEmpty() && e.PasswordChar().isEmpty();
}

class Writer {
public:
    QJsonObject control(const MqZentribar& c)
    {
        const ControlOptions& o = c.options();
        QJsonObject j;
        j.insert(QStringLiteral("Visible"), o.visible);
        j.insert(QStringLiteral("ActiveColors"), o.activeColors);
        j.insert(QStringLiteral("FontSource"), o.fontSource);
        j.insert(QStringLiteral("MenuAnimations"), o.menuAnimations);
        j.insert(QStringLiteral("ShowShortcuts"), o.showShortcuts);
        j.insert(QStringLiteral("ShowTooltips"), o.showTooltips);
        j.insert(QStringLiteral("LargeIcons"), o.largeIcons);
        j.insert(QStringLiteral("PersonalizedMenus"), o.personalizedMenus);
        j.insert(QStringLiteral("Style"), o.style);
        j.insert(QStringLiteral("FloatingTBFadeDelay"), o.floatingFadeDelay);
        return j;
    }

    int picture(const forms::Picture& p)
    {
        const auto it = m_pictureIndex.constFind(p.get());
        if (it != m_pictureIndex.cend())
            return *it;
        const QImage image = p->toImage();
        if (image.isNull())
            return -1;
        m_pictures.append(QString::fromLatin1(encodePng(image).toBase64()));
        const int index = int(m_pictures.size() - 1);
        m_pictureIndex.insert(p.get(), index);
        return index;
    }

    static void look(QJsonObject& j, const Tool& t)
    {
        j.insert(QStringLiteral("Name"), t.Name());
        j.insert(QStringLiteral("DisplayStyle"), t.DisplayStyle());
        j.insert(QStringLiteral("Forecolor"), t.Forecolor());
        j.insert(QStringLiteral("ForecolorSource"), t.ForecolorSource());
        j.insert(QStringLiteral("Width"), t.Width());
    }

    static QJsonArray entries(const Tools& tools)
    {
        QJsonArray a;
        for (const auto& state : tools.states()) {
            const auto t = Tool::view(state);
            QJsonObject j;
            if (t->role() == Tool::Role::Separator) {
                j.insert(QStringLiteral("Separator"), true);
            } else {
                j.insert(QStringLiteral("ID"), t->ID());
                look(j, *t);
            }
            a.append(j);
        }
        return a;
    }

    QJsonObject tool(const Tool& t)
    {
        QJsonObject j;
        j.insert(QStringLiteral("ID"), t.ID());
        look(j, t);
        j.insert(QStringLiteral("Type"), t.Type());
        j.insert(QStringLiteral("Category"), t.Category());
        j.insert(QStringLiteral("Description"), t.Description());
        j.insert(QStringLiteral("TooltipText"), t.TooltipText());
        j.insert(QStringLiteral("ShortcutKey"), t.ShortcutKey());
        j.insert(QStringLiteral("State"), t.State());
        j.insert(QStringLiteral("StateGroupName"), t.StateGroupName());
        j.insert(QStringLiteral("StateAllowAllUp"), t.StateAllowAllUp());
        j.insert(QStringLiteral("MenuVisibility"), t.MenuVisibility());
        j.insert(QStringLiteral("AutoWrap"), t.AutoWrap());
        j.insert(QStringLiteral("Customizable"), t.Customizable());
        j.insert(QStringLiteral("Enabled"), t.Enabled());
        j.insert(QStringLiteral("Visible"), t.Visible());
        j.insert(QStringLiteral("Tag"), tagToJson(t.Tag()));
        j.insert(QStringLiteral("ImageSize"), t.ImageSize());
        j.insert(QStringLiteral("UseMaskColor"), t.UseMaskColor());
        QJsonObject pictures;
        for (int i = 0; i < PictureStateCount; ++i) {
            const auto state = PictureState(i);
            if (const auto p = t.picture(state)) {
                const int index = picture(p);
                if (index >= 0)
                    pictures.insert(pictureStateName(state), index);
            }
        }
        j.insert(QStringLiteral("Pictures"), pictures);

        // Sub-objects only where they hold something.
        if (const ToolComboBox* combo = t.existingComboBox(); combo && !isDefault(*combo)) {
            QJsonObject c;
            c.insert(QStringLiteral("Style"), combo->Style());
            c.insert(QStringLiteral("Text"), combo->Text());
            c.insert(QStringLiteral("Locked"), combo->Locked());
            c.insert(QStringLiteral("Sorted"), combo->Sorted());
            c.insert(QStringLiteral("ListIndex"), combo->ListIndex());
            QJsonArray items;
            for (const auto& item : combo->items())
                items.append(QJsonArray{item.text, item.data});
            c.insert(QStringLiteral("Items"), items);
            j.insert(QStringLiteral("ComboBox"), c);
        }
        if (const ToolEdit* edit = t.existingEdit(); edit && !isDefault(*edit)) {
            QJsonObject e;
            e.insert(QStringLiteral("Locked"), edit->Locked());
            e.insert(QStringLiteral("MaxLength"), edit->MaxLength());
            e.insert(QStringLiteral("Text"), edit->Text());
            e.insert(QStringLiteral("PasswordChar"), edit->PasswordChar());
            j.insert(QStringLiteral("Edit"), e);
        }
        if (const Tools* menu = t.existingMenuTools(); menu && menu->Count() > 0)
            j.insert(QStringLiteral("Menu"), entries(*menu));
        return j;
    }

    static QJsonObject toolbar(const Toolbar& b)
    {
        QJsonObject j;
        j.insert(QStringLiteral("Name"), b.Name());
        j.insert(QStringLiteral("Style"), b.Style());
        j.insert(QStringLiteral("Visible"), b.Visible());
        j.insert(QStringLiteral("AllowCustomize"), b.AllowCustomize());
        j.insert(QStringLiteral("AllowHiding"), b.AllowHiding());
        j.insert(QStringLiteral("CaptionAlignment"), b.CaptionAlignment());
        j.insert(QStringLiteral("DisplayGrabHandles"), b.DisplayGrabHandles());
        j.insert(QStringLiteral("DisplayMoreToolsButton"), b.DisplayMoreToolsButton());
        j.insert(QStringLiteral("DockingFlags"), b.DockingFlags());
        j.insert(QStringLiteral("Font3D"), b.Font3D());
        j.insert(QStringLiteral("Configured"), b.Configured());
        QJsonArray ps;
        for (int n = 1; n <= 7; ++n)
            ps.append(b.positionState(n));
        j.insert(QStringLiteral("PositionState"), ps);
        j.insert(QStringLiteral("Tools"), entries(*b.tools()));
        return j;
    }

    QByteArray document(const MqZentribar& c)
    {
        QJsonObject root;
        root.insert(kFormat, QLatin1String(FormatName));
        root.insert(kVersion, FormatVersion);
        root.insert(QStringLiteral("control"), control(c));
        QJsonArray tools;
        for (const auto& state : c.tools()->states())
            tools.append(tool(*Tool::view(state)));
        QJsonArray bars;
        for (const auto& b : *c.toolbars())
            bars.append(toolbar(*b));
        root.insert(QStringLiteral("tools"), tools);
        root.insert(QStringLiteral("toolbars"), bars);
        root.insert(QStringLiteral("pictures"), QJsonArray::fromStringList(m_pictures));
        return QJsonDocument(root).toJson(QJsonDocument::Compact);
    }

private:
    QHash<const forms::StdPicture*, int> m_pictureIndex;
    QStringList m_pictures;
};

// ---- Reading -----------------------------------------------------------------

// Thrown inside the reader; turned into one error naming the document.
struct Damage {
    QString what;
};

[[noreturn]] void damaged(const QString& what)
{
    throw Damage{what};
}

class Reader {
public:
    explicit Reader(MqZentribar& into) : m_into(into) {}

    void read(const QByteArray& bytes)
    {
        if (bytes.trimmed().isEmpty())
            damaged(QStringLiteral("it is empty"));
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError)
            damaged(QStringLiteral("it is damaged or truncated (%1 at byte %2)")
                        .arg(error.errorString())
                        .arg(error.offset));
        if (!doc.isObject() || doc.object().value(kFormat).toString() != QLatin1String(FormatName))
            damaged(QStringLiteral("it is not a toolbar configuration"));
        const QJsonObject root = doc.object();
        const QJsonValue version = root.value(kVersion);
        if (!version.isDouble() || version.toDouble() < 1)
            damaged(QStringLiteral("it carries no valid format version"));
        if (version.toDouble() > FormatVersion)
            damaged(QStringLiteral("it was written in format version %1; this control reads "
                                   "version %2 and older")
                        .arg(version.toDouble())
                        .arg(FormatVersion));

        m_pictureTexts = array(root, QStringLiteral("pictures"));
        m_pictures.resize(m_pictureTexts.size());
        options(object(root, QStringLiteral("control")));

        const QJsonArray tools = array(root, QStringLiteral("tools"));
        // Definitions first, menus after: a menu may list tools defined later.
        std::vector<std::pair<std::shared_ptr<Tool>, QJsonArray>> menus;
        for (qsizetype i = 0; i < tools.size(); ++i) {
            const QJsonObject j = element(tools, i, QStringLiteral("tool"));
            m_where = QStringLiteral("tool %1").arg(i + 1);
            const auto t = Tool::view(m_into.tools()->addState(
                string(j, QStringLiteral("ID")), integer(j, QStringLiteral("Type"), 0)));
            m_where = QStringLiteral("tool '%1'").arg(t->ID());
            tool(*t, j);
            if (j.contains(QStringLiteral("Menu")))
                menus.emplace_back(t, array(j, QStringLiteral("Menu")));
        }
        for (const auto& [t, entries] : menus) {
            m_where = QStringLiteral("the menu of tool '%1'").arg(t->ID());
            this->entries(*t->menu()->tools(), entries);
        }

        const QJsonArray bars = array(root, QStringLiteral("toolbars"));
        for (qsizetype i = 0; i < bars.size(); ++i) {
            const QJsonObject j = element(bars, i, QStringLiteral("toolbar"));
            m_where = QStringLiteral("toolbar %1").arg(i + 1);
            const auto b = m_into.toolbars()->Add(string(j, QStringLiteral("Name")),
                                                  integer(j, QStringLiteral("Style"), 0));
            m_where = QStringLiteral("toolbar '%1'").arg(b->Name());
            toolbar(*b, j);
        }
    }

    const QString& where() const { return m_where; }

private:
    QJsonValue value(const QJsonObject& j, const QString& key) const
    {
        return j.value(key);
    }

    QJsonObject object(const QJsonObject& j, const QString& key) const
    {
        const QJsonValue v = j.value(key);
        if (v.isUndefined())
            return {};
        if (!v.isObject())
            damaged(QStringLiteral("'%1' is not an object").arg(key));
        return v.toObject();
    }

    QJsonArray array(const QJsonObject& j, const QString& key) const
    {
        const QJsonValue v = j.value(key);
        if (v.isUndefined())
            return {};
        if (!v.isArray())
            damaged(QStringLiteral("'%1' is not a list").arg(key));
        return v.toArray();
    }

    static QJsonObject element(const QJsonArray& a, qsizetype i, const QString& what)
    {
        if (!a.at(i).isObject())
            damaged(QStringLiteral("%1 %2 is not an object").arg(what).arg(i + 1));
        return a.at(i).toObject();
    }

    QString string(const QJsonObject& j, const QString& key, const QString& fallback = {}) const
    {
        const QJsonValue v = j.value(key);
        if (v.isUndefined())
            return fallback;
        if (!v.isString())
            damaged(QStringLiteral("'%1' is not a text").arg(key));
        return v.toString();
    }

    int32_t number(const QJsonObject& j, const QString& key, int32_t fallback, double lo,
                   double hi) const
    {
        const QJsonValue v = j.value(key);
        if (v.isUndefined())
            return fallback;
        const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
        if (!v.isDouble() || d != std::floor(d) || d < lo || d > hi)
            damaged(QStringLiteral("'%1' is not a whole number from %2 to %3")
                        .arg(key)
                        .arg(lo, 0, 'f', 0)
                        .arg(hi, 0, 'f', 0));
        return int32_t(d);
    }

    int16_t integer(const QJsonObject& j, const QString& key, int16_t fallback) const
    {
        return int16_t(number(j, key, fallback, -32768, 32767));
    }

    int32_t longValue(const QJsonObject& j, const QString& key, int32_t fallback) const
    {
        return number(j, key, fallback, -2147483648.0, 2147483647.0);
    }

    bool boolean(const QJsonObject& j, const QString& key, bool fallback) const
    {
        const QJsonValue v = j.value(key);
        if (v.isUndefined())
            return fallback;
        if (!v.isBool())
            damaged(QStringLiteral("'%1' is not True or False").arg(key));
        return v.toBool();
    }

    void options(const QJsonObject& j)
    {
        m_where = QStringLiteral("the control options");
        ControlOptions o;
        o.visible = boolean(j, QStringLiteral("Visible"), o.visible);
        o.activeColors = boolean(j, QStringLiteral("ActiveColors"), o.activeColors);
        o.fontSource = longValue(j, QStringLiteral("FontSource"), o.fontSource);
        o.menuAnimations = longValue(j, QStringLiteral("MenuAnimations"), o.menuAnimations);
        o.showShortcuts = boolean(j, QStringLiteral("ShowShortcuts"), o.showShortcuts);
        o.showTooltips = boolean(j, QStringLiteral("ShowTooltips"), o.showTooltips);
        o.largeIcons = boolean(j, QStringLiteral("LargeIcons"), o.largeIcons);
        o.personalizedMenus =
            longValue(j, QStringLiteral("PersonalizedMenus"), o.personalizedMenus);
        o.style = longValue(j, QStringLiteral("Style"), o.style);
        o.floatingFadeDelay =
            integer(j, QStringLiteral("FloatingTBFadeDelay"), o.floatingFadeDelay);
        m_into.setOptions(o);
    }

    rt::Variant tag(const QJsonObject& j) const
    {
        const QString type = string(j, QStringLiteral("type"), QStringLiteral("Empty"));
        const QJsonValue v = j.value(QStringLiteral("value"));
        auto text = [&] {
            if (!v.isString())
                damaged(QStringLiteral("the tag's value is not a text"));
            return v.toString();
        };
        auto whole = [&](double lo, double hi) {
            const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
            if (!v.isDouble() || d != std::floor(d) || d < lo || d > hi)
                damaged(QStringLiteral("the tag's value does not fit its type %1").arg(type));
            return d;
        };
        if (type == QLatin1String("Empty"))
            return {};
        if (type == QLatin1String("Null"))
            return rt::Variant::null();
        if (type == QLatin1String("Boolean")) {
            if (!v.isBool())
                damaged(QStringLiteral("the tag's value is not True or False"));
            return v.toBool();
        }
        if (type == QLatin1String("Integer"))
            return int16_t(whole(-32768, 32767));
        if (type == QLatin1String("Long"))
            return int32_t(whole(-2147483648.0, 2147483647.0));
        if (type == QLatin1String("Byte"))
            return uint8_t(whole(0, 255));
        if (type == QLatin1String("Single") || type == QLatin1String("Double")) {
            bool ok = false;
            const double d = text().toDouble(&ok);
            if (!ok)
                damaged(QStringLiteral("the tag's value is not a number"));
            return type == QLatin1String("Single") ? rt::Variant(float(d)) : rt::Variant(d);
        }
        if (type == QLatin1String("String"))
            return text();
        if (type == QLatin1String("Byte()"))
            return QByteArray::fromBase64(text().toLatin1());
        damaged(QStringLiteral("the tag has the unknown type '%1'").arg(type));
    }

    forms::Picture picture(const QJsonValue& v, const QString& state)
    {
        const double d = v.toDouble(-1);
        if (!v.isDouble() || d != std::floor(d) || d < 0 || d >= double(m_pictures.size()))
            damaged(QStringLiteral("picture %1 refers to no stored picture").arg(state));
        const auto index = size_t(d);
        if (m_pictures[index])
            return m_pictures[index];
        const QJsonValue text = m_pictureTexts.at(qsizetype(index));
        if (!text.isString())
            damaged(QStringLiteral("stored picture %1 is not a text").arg(index));
        QByteArray png = QByteArray::fromBase64(text.toString().toLatin1(),
                                                QByteArray::AbortOnBase64DecodingErrors);
        if (png.isEmpty())
            damaged(QStringLiteral("stored picture %1 is not base64 data").arg(index));
        QBuffer buffer(&png);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "png");
        reader.setAllocationLimit(16);   // megabytes; a tool picture is tiny
        const QSize size = reader.size();
        if (size.width() > MaxPictureSide || size.height() > MaxPictureSide)
            damaged(QStringLiteral("stored picture %1 is %2 x %3 pixels, more than %4 x %4")
                        .arg(index)
                        .arg(size.width())
                        .arg(size.height())
                        .arg(MaxPictureSide));
        const QImage image = reader.read();
        if (image.isNull())
            damaged(QStringLiteral("stored picture %1 is not a readable PNG image (%2)")
                        .arg(index)
                        .arg(reader.errorString()));
        auto pic = forms::StdPicture::fromImage(image);
        if (!pic || pic->Handle() == 0)
            damaged(QStringLiteral("stored picture %1 could not be made into a bitmap")
                        .arg(index));
        m_pictures[index] = pic;
        return pic;
    }

    void look(Tool& t, const QJsonObject& j)
    {
        t.setName(string(j, QStringLiteral("Name"), t.Name()));
        t.setDisplayStyle(integer(j, QStringLiteral("DisplayStyle"), t.DisplayStyle()));
        t.setForecolor(longValue(j, QStringLiteral("Forecolor"), t.Forecolor()));
        t.setForecolorSource(integer(j, QStringLiteral("ForecolorSource"), t.ForecolorSource()));
        t.setWidth(integer(j, QStringLiteral("Width"), t.Width()));
    }

    void tool(Tool& t, const QJsonObject& j)
    {
        look(t, j);
        t.setCategory(string(j, QStringLiteral("Category")));
        t.setDescription(string(j, QStringLiteral("Description")));
        t.setTooltipText(string(j, QStringLiteral("TooltipText")));
        t.setShortcutKey(integer(j, QStringLiteral("ShortcutKey"), 0));
        t.setStateGroupName(string(j, QStringLiteral("StateGroupName")));
        t.setStateAllowAllUp(boolean(j, QStringLiteral("StateAllowAllUp"), t.StateAllowAllUp()));
        t.setMenuVisibility(integer(j, QStringLiteral("MenuVisibility"), 0));
        t.setAutoWrap(boolean(j, QStringLiteral("AutoWrap"), t.AutoWrap()));
        t.setCustomizable(boolean(j, QStringLiteral("Customizable"), t.Customizable()));
        t.setEnabled(boolean(j, QStringLiteral("Enabled"), t.Enabled()));
        t.setVisible(boolean(j, QStringLiteral("Visible"), t.Visible()));
        t.setTag(tag(object(j, QStringLiteral("Tag"))));
        t.setImageSize(integer(j, QStringLiteral("ImageSize"), t.ImageSize()));
        t.setUseMaskColor(boolean(j, QStringLiteral("UseMaskColor"), t.UseMaskColor()));
        // Taken as stored: a loaded configuration is the saved one, so no
        // group release (which could uncheck a tool saved checked) and no click.
        const int16_t stored = integer(j, QStringLiteral("State"), 0);
        checkRange(QStringLiteral("Tool.State"), stored, mqUnchecked, mqChecked);
        t.state()->shared().state = stored;
        const QJsonObject pictures = object(j, QStringLiteral("Pictures"));
        for (auto it = pictures.begin(); it != pictures.end(); ++it) {
            int state = -1;
            for (int i = 0; i < PictureStateCount; ++i) {
                if (it.key() == pictureStateName(PictureState(i)))
                    state = i;
            }
            if (state < 0)
                damaged(QStringLiteral("'%1' is not a picture state").arg(it.key()));
            t.setPicture(PictureState(state), picture(it.value(), it.key()));
        }

        if (j.contains(QStringLiteral("ComboBox")))
            comboBox(*t.comboBox(), object(j, QStringLiteral("ComboBox")));
        if (j.contains(QStringLiteral("Edit")))
            edit(*t.edit(), object(j, QStringLiteral("Edit")));
    }

    void comboBox(ToolComboBox& combo, const QJsonObject& c)
    {
        for (const QJsonValue item : array(c, QStringLiteral("Items"))) {
            const QJsonArray pair = item.toArray();
            if (!item.isArray() || pair.size() != 2 || !pair[0].isString() || !pair[1].isDouble())
                damaged(QStringLiteral("a combo box item is not a text and a number"));
            combo.AddItem(pair[0].toString());
            const double d = pair[1].toDouble();
            if (d != std::floor(d) || d < -2147483648.0 || d > 2147483647.0)
                damaged(QStringLiteral("a combo box item's data is not a Long"));
            combo.setItemData(combo.NewIndex(), int32_t(d));
        }
        combo.setSorted(boolean(c, QStringLiteral("Sorted"), false));   // after the items
        combo.setStyle(integer(c, QStringLiteral("Style"), 0));
        combo.setLocked(boolean(c, QStringLiteral("Locked"), false));
        combo.setListIndex(integer(c, QStringLiteral("ListIndex"), -1));
        combo.setText(string(c, QStringLiteral("Text")));
    }

    void edit(ToolEdit& edit, const QJsonObject& e)
    {
        edit.setLocked(boolean(e, QStringLiteral("Locked"), false));
        edit.setMaxLength(integer(e, QStringLiteral("MaxLength"), 0));
        edit.setText(string(e, QStringLiteral("Text")));
        edit.setPasswordChar(string(e, QStringLiteral("PasswordChar")));
    }

    void entries(Tools& tools, const QJsonArray& a)
    {
        for (qsizetype i = 0; i < a.size(); ++i) {
            const QJsonObject j = element(a, i, QStringLiteral("entry"));
            if (boolean(j, QStringLiteral("Separator"), false)) {
                tools.addState(QStringLiteral("Separator"), mqSeparator);
                continue;
            }
            const auto entry = Tool::view(tools.addState(string(j, QStringLiteral("ID"))));
            look(*entry, j);
        }
    }

    void toolbar(Toolbar& b, const QJsonObject& j)
    {
        b.setVisible(boolean(j, QStringLiteral("Visible"), b.Visible()));
        b.setAllowCustomize(boolean(j, QStringLiteral("AllowCustomize"), b.AllowCustomize()));
        b.setAllowHiding(boolean(j, QStringLiteral("AllowHiding"), b.AllowHiding()));
        b.setCaptionAlignment(longValue(j, QStringLiteral("CaptionAlignment"),
                                        b.CaptionAlignment()));
        b.setDisplayGrabHandles(boolean(j, QStringLiteral("DisplayGrabHandles"),
                                        b.DisplayGrabHandles()));
        b.setDisplayMoreToolsButton(boolean(j, QStringLiteral("DisplayMoreToolsButton"),
                                            b.DisplayMoreToolsButton()));
        b.setDockingFlags(longValue(j, QStringLiteral("DockingFlags"), b.DockingFlags()));
        b.setFont3D(longValue(j, QStringLiteral("Font3D"), b.Font3D()));
        b.setConfigured(boolean(j, QStringLiteral("Configured"), b.Configured()));
        const QJsonArray ps = array(j, QStringLiteral("PositionState"));
        if (!ps.isEmpty() && ps.size() != 7)
            damaged(QStringLiteral("'PositionState' does not hold seven values"));
        for (qsizetype n = 0; n < ps.size(); ++n) {
            const double d = ps[n].toDouble(std::numeric_limits<double>::quiet_NaN());
            if (!ps[n].isDouble() || d != std::floor(d) || d < -2147483648.0 ||
                d > 2147483647.0)
                damaged(QStringLiteral("position state %1 is not a whole number").arg(n + 1));
            b.setPositionState(int(n + 1), int32_t(d));
        }
        entries(*b.tools(), array(j, QStringLiteral("Tools")));
    }

    MqZentribar& m_into;
    QJsonArray m_pictureTexts;
    std::vector<forms::Picture> m_pictures;
    QString m_where;
};

[[noreturn]] void invalid(const QString& origin, const QString& what)
{
    rt::raise(InvalidFormat, QStringLiteral("MqZentribar"),
              QStringLiteral("%1 is not a valid toolbar configuration: %2.").arg(origin, what));
}

}  // namespace

QByteArray writeDocument(const MqZentribar& control)
{
    return Writer().document(control);
}

void readDocument(MqZentribar& into, const QByteArray& document, const QString& origin)
{
    if (document.size() > MaxDocumentBytes)
        invalid(origin, QStringLiteral("it is larger than %1 MB").arg(MaxDocumentBytes >> 20));
    Reader reader(into);
    try {
        reader.read(document);
    } catch (const Damage& d) {
        invalid(origin, reader.where().isEmpty() ? d.what : reader.where() + QStringLiteral(": ")
                                                               + d.what);
    } catch (const rt::Error& e) {
        invalid(origin, reader.where() + QStringLiteral(": ") + e.description());
    }
}

void writeFile(const MqZentribar& control, const QString& path)
{
    if (path.isEmpty())
        rt::raise(rt::errc::BadFileNameOrNumber, QStringLiteral("MqZentribar"),
                  QStringLiteral("No file name was given for the configuration."));
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        rt::raise(rt::errc::PathNotFound, QStringLiteral("MqZentribar"),
                  QStringLiteral("Cannot save the configuration to '%1': the folder does not "
                                 "exist.")
                      .arg(path));
    const QByteArray doc = writeDocument(control);
    rt::SaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        rt::raise(rt::errc::PathFileAccess, QStringLiteral("MqZentribar"),
                  QStringLiteral("Cannot save the configuration to '%1': %2")
                      .arg(path, file.errorString()));
    if (file.write(doc) != doc.size() || !file.commit()) {
        const QString why = file.errorString();
        file.cancelWriting();
        rt::raise(rt::errc::PathFileAccess, QStringLiteral("MqZentribar"),
                  QStringLiteral("Cannot save the configuration to '%1': %2").arg(path, why));
    }
    qCDebug(lcQrv) << "saved" << path << doc.size() << "bytes";
}

void readFile(MqZentribar& into, const QString& path)
{
    if (path.isEmpty())
        rt::raise(rt::errc::BadFileNameOrNumber, QStringLiteral("MqZentribar"),
                  QStringLiteral("No configuration file name was given."));
    const QFileInfo info(path);
    if (!info.exists())
        rt::raise(rt::errc::FileNotFound, QStringLiteral("MqZentribar"),
                  QStringLiteral("The configuration file '%1' does not exist.").arg(path));
    if (info.isDir())
        rt::raise(rt::errc::PathFileAccess, QStringLiteral("MqZentribar"),
                  QStringLiteral("The configuration file '%1' is a folder.").arg(path));
    if (info.size() > MaxDocumentBytes)
        invalid(QStringLiteral("'%1'").arg(path),
                QStringLiteral("it is larger than %1 MB").arg(MaxDocumentBytes >> 20));
    QFile file(path);
    QString error;
    if (!rt::openRegularFile(file, error))
        rt::raise(rt::errc::PermissionDenied, QStringLiteral("MqZentribar"),
                  QStringLiteral("Cannot read the configuration file '%1': %2").arg(path, error));
    // Read at most one byte past the limit, in case the file grew meanwhile.
    const QByteArray bytes = file.read(MaxDocumentBytes + 1);
    readDocument(into, bytes, QStringLiteral("'%1'").arg(path));
}

}  // namespace toolbar::qrv
