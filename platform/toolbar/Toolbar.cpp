#include "platform/toolbar/Toolbar.h"

#include "platform/toolbar/MqZentribar.h"

#include <algorithm>

namespace toolbar {

namespace {
QString fold(const QString& name)
{
    return name.trimmed().toCaseFolded();
}
}  // namespace

std::shared_ptr<Toolbar> Toolbar::create(const Link& link, const QString& name, int16_t style)
{
    checkRange(QStringLiteral("Toolbar.Style"), style, 0, 1);
    std::shared_ptr<Toolbar> bar(new Toolbar(link, name, style));
    bar->m_tools = Tools::create(Tools::Kind::Entries, link);
    bar->m_tools->m_toolbar = bar;
    bar->publish();
    return bar;
}

Toolbar::Toolbar(Link link, const QString& name, int16_t style)
    : m_link(std::move(link)), m_name(name), m_style(style)
{
    if (style == 1) {
        // A menu bar is always shown, stretched along the top and cannot hide.
        m_allowHiding = false;
        m_moreTools = false;
        m_dockingFlags |= mqStretch;
    }
}

void Toolbar::publish()
{
    bind<&Toolbar::Name, &Toolbar::setName>(QStringLiteral("Name"));
    bind<&Toolbar::Style>(QStringLiteral("Style"));
    bind<&Toolbar::Visible, &Toolbar::setVisible>(QStringLiteral("Visible"));
    bind<&Toolbar::AllowCustomize, &Toolbar::setAllowCustomize>(QStringLiteral("AllowCustomize"));
    bind<&Toolbar::AllowHiding, &Toolbar::setAllowHiding>(QStringLiteral("AllowHiding"));
    bind<&Toolbar::CaptionAlignment, &Toolbar::setCaptionAlignment>(QStringLiteral("CaptionAlignment"));
    bind<&Toolbar::DisplayGrabHandles, &Toolbar::setDisplayGrabHandles>(QStringLiteral("DisplayGrabHandles"));
    bind<&Toolbar::DisplayMoreToolsButton, &Toolbar::setDisplayMoreToolsButton>(QStringLiteral("DisplayMoreToolsButton"));
    bind<&Toolbar::DockingFlags, &Toolbar::setDockingFlags>(QStringLiteral("DockingFlags"));
    bind<&Toolbar::Font3D, &Toolbar::setFont3D>(QStringLiteral("Font3D"));
    bind<&Toolbar::Configured, &Toolbar::setConfigured>(QStringLiteral("Configured"));
    bind<&Toolbar::Index>(QStringLiteral("Index"));
    bind<&Toolbar::PositionState1, &Toolbar::setPositionState1>(QStringLiteral("PositionState1"));
    bind<&Toolbar::PositionState2, &Toolbar::setPositionState2>(QStringLiteral("PositionState2"));
    for (int n = 3; n <= 7; ++n) {
        defineProperty(QStringLiteral("PositionState%1").arg(n), com::DispidUnknown,
                       [this, n](com::Args&) { return rt::Variant(positionState(n)); },
                       [this, n](com::Args&, const rt::Variant& v) {
                           setPositionState(n, v.toLong());
                       });
    }
    defineProperty(QStringLiteral("Tools"), com::DispidUnknown,
                   [this](com::Args&) { return rt::Variant(m_tools); });
}

void Toolbar::changed(int32_t change)
{
    if (m_link->control)
        m_link->control->raise(change, selfAs<Toolbar>(), nullptr);
}

template <class T>
void Toolbar::write(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    changed();
}

void Toolbar::setName(const QString& v)
{
    const QString trimmed = v.trimmed();
    if (trimmed.isEmpty())
        refuse(QStringLiteral("Toolbar.Name"), QStringLiteral("the name is empty."));
    if (trimmed == m_name)
        return;
    if (auto owner = m_owner.lock())
        owner->rekey(*this, trimmed);   // refuses a duplicate
    m_name = trimmed;
    changed();
}

void Toolbar::setVisible(bool v)
{
    if (v == m_visible)
        return;
    m_visible = v;
    changed(v ? change::Shown : change::Hidden);
}

void Toolbar::setAllowCustomize(bool v) { write(m_allowCustomize, v); }
void Toolbar::setAllowHiding(bool v) { write(m_allowHiding, v); }

void Toolbar::setCaptionAlignment(int32_t v)
{
    checkRange(QStringLiteral("Toolbar.CaptionAlignment"), v, 0, 3);
    write(m_captionAlignment, v);
}

void Toolbar::setDisplayGrabHandles(bool v) { write(m_grabHandles, v); }
void Toolbar::setDisplayMoreToolsButton(bool v) { write(m_moreTools, v); }

void Toolbar::setDockingFlags(int32_t v)
{
    checkRange(QStringLiteral("Toolbar.DockingFlags"), v, 0, 127);
    write(m_dockingFlags, v);
}

void Toolbar::setFont3D(int32_t v)
{
    checkRange(QStringLiteral("Toolbar.Font3D"), v, 0, 5);
    write(m_font3D, v);
}

void Toolbar::setConfigured(bool v) { write(m_configured, v); }

int32_t Toolbar::Index() const
{
    const auto owner = m_owner.lock();
    return owner ? owner->indexOf(this) : 0;
}

void Toolbar::setPositionState1(int16_t v)
{
    checkRange(QStringLiteral("Toolbar.PositionState1"), v, 0, 4);
    write(m_ps1, v);
}

void Toolbar::setPositionState2(int16_t v)
{
    checkRange(QStringLiteral("Toolbar.PositionState2"), v, 0, 255);
    write(m_ps2, v);
}

int32_t Toolbar::positionState(int n) const
{
    switch (n) {
    case 1: return m_ps1;
    case 2: return m_ps2;
    default: return n >= 3 && n <= 7 ? m_ps3to7[size_t(n - 3)] : 0;
    }
}

void Toolbar::setPositionState(int n, int32_t v)
{
    switch (n) {
    case 1: setPositionState1(rt::Variant(v).toInteger()); return;
    case 2: setPositionState2(rt::Variant(v).toInteger()); return;
    default:
        checkRange(QStringLiteral("Toolbar.PositionState"), n, 1, 7);
        write(m_ps3to7[size_t(n - 3)], v);
    }
}

void Toolbar::moveTo(DockArea area, int16_t row, int32_t offset, int32_t floatLeft,
                     int32_t floatTop)
{
    m_ps1 = int16_t(area);
    m_ps2 = std::clamp<int16_t>(row, 0, 255);
    m_ps3to7[0] = std::max(0, offset);
    m_ps3to7[1] = floatLeft;
    m_ps3to7[2] = floatTop;
    if (m_link->control)
        m_link->control->touched();
}

DockArea Toolbar::dockArea() const
{
    static constexpr int32_t flagOf[] = {mqDockTop, mqDockBottom, mqDockLeft, mqDockRight,
                                         mqFloating};
    if (m_ps1 >= 0 && m_ps1 <= 4 && (m_dockingFlags & flagOf[m_ps1]))
        return DockArea(m_ps1);
    for (int i = 0; i < 5; ++i) {
        if (m_dockingFlags & flagOf[i])
            return DockArea(i);
    }
    return DockArea::Top;   // nowhere allowed: stays where toolbars start
}

void Toolbar::assignSettings(const Toolbar& o)
{
    m_visible = o.m_visible;
    m_allowCustomize = o.m_allowCustomize;
    m_allowHiding = o.m_allowHiding;
    m_captionAlignment = o.m_captionAlignment;
    m_grabHandles = o.m_grabHandles;
    m_moreTools = o.m_moreTools;
    m_dockingFlags = o.m_dockingFlags;
    m_font3D = o.m_font3D;
    m_configured = o.m_configured;
    m_ps1 = o.m_ps1;
    m_ps2 = o.m_ps2;
    m_ps3to7 = o.m_ps3to7;
    changed();
}

// ---- Toolbars ----------------------------------------------------------------

std::shared_ptr<Toolbars> Toolbars::create(Link link)
{
    std::shared_ptr<Toolbars> t(new Toolbars(std::move(link)));
    t->publish();
    return t;
}

Toolbars::Toolbars(Link link) : m_link(std::move(link)) {}

void Toolbars::publish()
{
    defineMethod(QStringLiteral("Add"), com::DispidUnknown, [this](com::Args& a) {
        if (a.empty())
            refuse(QStringLiteral("Toolbars.Add"), QStringLiteral("a name is required."), 450);
        const int16_t style = a.size() > 1 && !a[1].isEmpty() ? a[1].toInteger() : int16_t(0);
        return rt::Variant(Add(a[0].toString(), style));
    });
    defineMethod(QStringLiteral("Item"), 0, [this](com::Args& a) {
        if (a.empty())
            refuse(QStringLiteral("Toolbars.Item"), QStringLiteral("a key is required."), 450);
        return rt::Variant(Item(a[0]));
    });
    defineMethod(QStringLiteral("Remove"), com::DispidUnknown, [this](com::Args& a) {
        if (a.empty())
            refuse(QStringLiteral("Toolbars.Remove"), QStringLiteral("a key is required."),
                   450);
        Remove(a[0]);
        return rt::Variant();
    });
    bind<&Toolbars::Count>(QStringLiteral("Count"));
    defineMethod(QStringLiteral("Clear"), com::DispidUnknown, [this](com::Args&) {
        Clear();
        return rt::Variant();
    });
}

int32_t Toolbars::indexOf(const Toolbar* bar) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == bar)
            return int32_t(i + 1);
    }
    return 0;
}

std::shared_ptr<Toolbar> Toolbars::find(const QString& name) const
{
    return m_byName.value(fold(name));
}

std::shared_ptr<Toolbar> Toolbars::menuBar() const
{
    for (const auto& b : m_items) {
        if (b->Style() == 1)
            return b;
    }
    return nullptr;
}

std::shared_ptr<Toolbar> Toolbars::Item(const QString& name) const
{
    auto bar = find(name);
    if (!bar)
        refuse(QStringLiteral("Toolbars.Item"),
               QStringLiteral("there is no toolbar named '%1'.").arg(name), rt::errc::InvalidCall);
    return bar;
}

std::shared_ptr<Toolbar> Toolbars::Item(int32_t index) const
{
    if (index < 1 || index > Count())
        refuse(QStringLiteral("Toolbars.Item"),
               QStringLiteral("there is no toolbar at position %1 (the collection holds %2).")
                   .arg(index).arg(Count()),
               rt::errc::SubscriptOutOfRange);
    return m_items[size_t(index - 1)];
}

std::shared_ptr<Toolbar> Toolbars::Item(const rt::Variant& indexOrKey) const
{
    if (indexOrKey.isString())
        return Item(indexOrKey.toString());
    return Item(indexOrKey.toLong());
}

void Toolbars::insert(const std::shared_ptr<Toolbar>& bar)
{
    m_items.push_back(bar);
    m_byName.insert(fold(bar->Name()), bar);
    bar->m_owner = selfAs<Toolbars>();
}

std::shared_ptr<Toolbar> Toolbars::Add(const QString& name, int16_t style)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        refuse(QStringLiteral("Toolbars.Add"), QStringLiteral("the name is empty."));
    if (find(trimmed))
        refuse(QStringLiteral("Toolbars.Add"),
               QStringLiteral("a toolbar named '%1' already exists.").arg(trimmed),
               rt::errc::DuplicateKey);
    checkRange(QStringLiteral("Toolbars.Add"), style, 0, 1);
    if (style == 1) {
        if (const auto menu = menuBar())
            refuse(QStringLiteral("Toolbars.Add"),
                   QStringLiteral("the control already has a menu bar ('%1').")
                       .arg(menu->Name()));
    }
    const auto bar = Toolbar::create(m_link, trimmed, style);
    insert(bar);
    if (m_link->control)
        m_link->control->raise(change::Added, bar, nullptr);
    return bar;
}

void Toolbars::Remove(const rt::Variant& indexOrKey)
{
    const auto bar = Item(indexOrKey);
    m_items.erase(m_items.begin() + (indexOf(bar.get()) - 1));
    m_byName.remove(fold(bar->Name()));
    bar->m_owner.reset();
    if (m_link->control)
        m_link->control->raise(change::Removed, bar, nullptr);
}

void Toolbars::Clear()
{
    if (m_items.empty())
        return;
    for (const auto& b : m_items)
        b->m_owner.reset();
    m_items.clear();
    m_byName.clear();
    if (m_link->control)
        m_link->control->raise(change::Removed, nullptr, nullptr);
}

void Toolbars::rekey(const Toolbar& bar, const QString& newName)
{
    const auto other = find(newName);
    if (other && other.get() != &bar)
        refuse(QStringLiteral("Toolbar.Name"),
               QStringLiteral("a toolbar named '%1' already exists.").arg(newName),
               rt::errc::DuplicateKey);
    auto self = m_byName.take(fold(bar.Name()));
    m_byName.insert(fold(newName), self);
}

}  // namespace toolbar
