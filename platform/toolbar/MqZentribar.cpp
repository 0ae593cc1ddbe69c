#include "platform/toolbar/MqZentribar.h"

#include "platform/toolbar/QrvFormat.h"

namespace toolbar {

QString fileNameOfArgument(const QString& argument)
{
    const qsizetype nul = argument.indexOf(QChar(0));
    return (nul < 0 ? argument : argument.left(nul)).trimmed();
}

MqZentribar::MqZentribar() : m_link(std::make_shared<ControlLink>())
{
    m_link->control = this;
    m_tools = Tools::create(Tools::Kind::Definitions, m_link);
    m_toolbars = Toolbars::create(m_link);
    publish();
}

MqZentribar::~MqZentribar()
{
    m_link->control = nullptr;   // objects still held elsewhere lose their events
}

void MqZentribar::publish()
{
    defineProperty(QStringLiteral("Tools"), dispid::Tools,
                   [this](com::Args&) { return rt::Variant(m_tools); });
    defineProperty(QStringLiteral("Toolbars"), dispid::Toolbars,
                   [this](com::Args&) { return rt::Variant(m_toolbars); });
    bind<&MqZentribar::Redraw, &MqZentribar::setRedraw>(QStringLiteral("Redraw"), dispid::Redraw);
    bind<&MqZentribar::Visible, &MqZentribar::setVisible>(QStringLiteral("Visible"), dispid::Visible);
    bind<&MqZentribar::ActiveColors, &MqZentribar::setActiveColors>(QStringLiteral("ActiveColors"), dispid::ActiveColors);
    bind<&MqZentribar::FontSource, &MqZentribar::setFontSource>(QStringLiteral("FontSource"), dispid::FontSource);
    bind<&MqZentribar::MenuAnimations, &MqZentribar::setMenuAnimations>(QStringLiteral("MenuAnimations"), dispid::MenuAnimations);
    bind<&MqZentribar::ShowShortcuts, &MqZentribar::setShowShortcuts>(QStringLiteral("ShowShortcuts"), dispid::ShowShortcuts);
    bind<&MqZentribar::ShowTooltips, &MqZentribar::setShowTooltips>(QStringLiteral("ShowTooltips"), dispid::ShowTooltips);
    bind<&MqZentribar::LargeIcons, &MqZentribar::setLargeIcons>(QStringLiteral("LargeIcons"), dispid::LargeIcons);
    bind<&MqZentribar::PersonalizedMenus, &MqZentribar::setPersonalizedMenus>(QStringLiteral("PersonalizedMenus"), dispid::PersonalizedMenus);
    bind<&MqZentribar::Style, &MqZentribar::setStyle>(QStringLiteral("Style"), dispid::Style);
    bind<&MqZentribar::FloatingTBFadeDelay, &MqZentribar::setFloatingTBFadeDelay>(QStringLiteral("FloatingTBFadeDelay"), dispid::FloatingTBFadeDelay);
    defineProperty(QStringLiteral("ContainerFlag"), dispid::ContainerFlag,
                   [this](com::Args&) { return rt::Variant(m_containerFlag); },
                   [this](com::Args&, const rt::Variant& v) { m_containerFlag = v.toBool(); });
    defineMethod(QStringLiteral("SwitchConfigMode"), dispid::SwitchConfigMode,
                 [this](com::Args& a) {
                     if (a.empty())
                         refuse(QStringLiteral("MqZentribar.SwitchConfigMode"),
                                QStringLiteral("an access code is required."), 450);
                     SwitchConfigMode(a[0].toInteger());
                     return rt::Variant();
                 });
    defineMethod(QStringLiteral("LoadConfiguration"), dispid::LoadConfiguration,
                 [this](com::Args& a) {
                     if (a.empty())
                         refuse(QStringLiteral("MqZentribar.LoadConfiguration"),
                                QStringLiteral("a file name is required."), 450);
                     LoadConfiguration(a[0].toString());
                     return rt::Variant();
                 });
    defineMethod(QStringLiteral("SaveConfiguration"), dispid::SaveConfiguration,
                 [this](com::Args& a) {
                     if (a.empty())
                         refuse(QStringLiteral("MqZentribar.SaveConfiguration"),
                                QStringLiteral("a file name is required."), 450);
                     SaveConfiguration(a[0].toString());
                     return rt::Variant();
                 });
    defineMethod(QStringLiteral("SaveConfigurationEx"), com::DispidUnknown,
                 [this](com::Args&) { return rt::Variant(SaveConfigurationEx()); });
    defineMethod(QStringLiteral("LoadConfigurationEx"), com::DispidUnknown,
                 [this](com::Args& a) {
                     if (a.empty())
                         refuse(QStringLiteral("MqZentribar.LoadConfigurationEx"),
                                QStringLiteral("a configuration is required."), 450);
                     LoadConfigurationEx(a[0]);
                     return rt::Variant();
                 });
    bind<&MqZentribar::CallerIsVBTestPgm, &MqZentribar::setCallerIsVBTestPgm>(QStringLiteral("CallerIsVBTestPgm"));
    defineMethod(QStringLiteral("ConfigUtilityExiting"), com::DispidUnknown,
                 [this](com::Args&) {
                     ConfigUtilityExiting();
                     return rt::Variant();
                 });
}

void MqZentribar::raise(int32_t change, const std::shared_ptr<Toolbar>& bar,
                        const std::shared_ptr<Tool>& tool)
{
    touched();
    ConfigurationModified.emit(change, com::Object(bar), com::Object(tool));
}

void MqZentribar::raiseState(int32_t change, const std::shared_ptr<Toolbar>& bar,
                             const std::shared_ptr<ToolState>& tool)
{
    touched();
    if (ConfigurationModified.count() > 0)
        ConfigurationModified.emit(change, com::Object(bar), com::Object(Tool::of(tool)));
}

void MqZentribar::touched()
{
    if (m_redraw)
        ViewChanged.emit();
}

void MqZentribar::setRedraw(bool v)
{
    if (v == m_redraw)
        return;
    m_redraw = v;
    touched();
}

template <class T>
void MqZentribar::writeOption(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    raise(change::ControlChanged, nullptr, nullptr);
}

void MqZentribar::setVisible(bool v) { writeOption(m_options.visible, v); }
void MqZentribar::setActiveColors(bool v) { writeOption(m_options.activeColors, v); }

void MqZentribar::setFontSource(int32_t v)
{
    checkRange(QStringLiteral("MqZentribar.FontSource"), v, 0, 1);
    writeOption(m_options.fontSource, v);
}

void MqZentribar::setMenuAnimations(int32_t v)
{
    checkRange(QStringLiteral("MqZentribar.MenuAnimations"), v, 0, 5);
    writeOption(m_options.menuAnimations, v);
}

void MqZentribar::setShowShortcuts(bool v) { writeOption(m_options.showShortcuts, v); }
void MqZentribar::setShowTooltips(bool v) { writeOption(m_options.showTooltips, v); }
void MqZentribar::setLargeIcons(bool v) { writeOption(m_options.largeIcons, v); }

void MqZentribar::setPersonalizedMenus(int32_t v)
{
    checkRange(QStringLiteral("MqZentribar.PersonalizedMenus"), v, 0, 2);
    writeOption(m_options.personalizedMenus, v);
}

void MqZentribar::setStyle(int32_t v)
{
    checkRange(QStringLiteral("MqZentribar.Style"), v, 0, 2);
    writeOption(m_options.style, v);
}

void MqZentribar::setFloatingTBFadeDelay(int16_t v)
{
    checkRange(QStringLiteral("MqZentribar.FloatingTBFadeDelay"), v, 0, 32767);
    writeOption(m_options.floatingFadeDelay, v);
}

void MqZentribar::setOptions(const ControlOptions& o)
{
    checkRange(QStringLiteral("MqZentribar.FontSource"), o.fontSource, 0, 1);
    checkRange(QStringLiteral("MqZentribar.MenuAnimations"), o.menuAnimations, 0, 5);
    checkRange(QStringLiteral("MqZentribar.PersonalizedMenus"), o.personalizedMenus, 0, 2);
    checkRange(QStringLiteral("MqZentribar.Style"), o.style, 0, 2);
    checkRange(QStringLiteral("MqZentribar.FloatingTBFadeDelay"), o.floatingFadeDelay, 0,
               32767);
    writeOption(m_options, o);
}

void MqZentribar::SwitchConfigMode(int16_t code)
{
    if (code != ConfigModeAccessCode)
        refuse(QStringLiteral("MqZentribar.SwitchConfigMode"),
               QStringLiteral("%1 is not the access code.").arg(code), rt::errc::InvalidCall);
    m_configMode = !m_configMode;
    touched();
}

void MqZentribar::LoadConfiguration(const QString& file)
{
    MqZentribar loaded;
    qrv::readFile(loaded, fileNameOfArgument(file));
    takeConfiguration(loaded);
}

void MqZentribar::SaveConfiguration(const QString& file) const
{
    qrv::writeFile(*this, fileNameOfArgument(file));
}

QByteArray MqZentribar::SaveConfigurationEx() const
{
    return qrv::writeDocument(*this);
}

void MqZentribar::LoadConfigurationEx(const rt::Variant& value)
{
    if (!value.isByteArray())
        refuse(QStringLiteral("MqZentribar.LoadConfigurationEx"),
               QStringLiteral("a %1 is not a configuration; pass what SaveConfigurationEx "
                              "returned.")
                   .arg(value.typeName()),
               rt::errc::TypeMismatch);
    loadDocument(value.toBytes(), QStringLiteral("the configuration value"));
}

void MqZentribar::loadDocument(const QByteArray& document, const QString& origin)
{
    MqZentribar loaded;
    qrv::readDocument(loaded, document, origin.isEmpty() ? QStringLiteral("the document") : origin);
    takeConfiguration(loaded);
}

void MqZentribar::ConfigUtilityExiting()
{
    UtilityExiting.emit();
}

void MqZentribar::clickTool(const std::shared_ptr<Tool>& tool)
{
    if (!tool || tool->role() == Tool::Role::Separator)
        return;
    if (m_configMode) {
        raise(change::ToolSelected, tool->toolbar(), tool);
        return;
    }
    if (!tool->Enabled())
        return;
    const int16_t type = tool->Type();
    if (type == mqStateButton || type == mqDropDownStateButton) {
        const auto def = tool->definition();
        if (tool->State() == mqUnchecked) {
            tool->setState(mqChecked);   // raises ToolClick itself
            raise(change::StateToggled, tool->toolbar(), tool);
            return;
        }
        // A grouped button stays down unless its group allows all up.
        if (def->StateGroupName().trimmed().isEmpty() || def->StateAllowAllUp()) {
            tool->setState(mqUnchecked);
            raise(change::StateToggled, tool->toolbar(), tool);
        }
    }
    ToolClick.emit(com::Object(tool));
}

void MqZentribar::removeEntriesOf(const ToolState* definition)
{
    for (const auto& bar : *m_toolbars) {
        if (bar->tools()->removeEntriesOf(definition))
            raise(change::Removed, bar, nullptr);
    }
    for (const auto& def : m_tools->states()) {
        if (const auto& menu = def->shared().menu)
            menu->tools()->removeEntriesOf(definition);
    }
}

void MqZentribar::takeConfiguration(MqZentribar& other)
{
    // The other control's objects join this one by taking over its link;
    // this control's old objects keep theirs, now cut.
    m_link->control = nullptr;
    m_link = other.m_link;
    m_link->control = this;
    other.m_link = std::make_shared<ControlLink>();
    other.m_link->control = &other;

    auto moveTools = [](Tools& from, Tools& to) {
        for (const auto& t : to.m_items)
            t->owner.reset();
        to.m_items = std::move(from.m_items);
        to.m_byId = std::move(from.m_byId);
        from.m_items.clear();
        from.m_byId.clear();
        const auto owner = to.selfAs<Tools>();
        for (const auto& t : to.m_items)
            t->owner = owner;
    };
    moveTools(*other.m_tools, *m_tools);
    m_tools->m_link = m_link;
    other.m_tools->m_link = other.m_link;

    for (const auto& b : m_toolbars->m_items)
        b->m_owner.reset();
    m_toolbars->m_items = std::move(other.m_toolbars->m_items);
    m_toolbars->m_byName = std::move(other.m_toolbars->m_byName);
    other.m_toolbars->m_items.clear();
    other.m_toolbars->m_byName.clear();
    for (const auto& b : m_toolbars->m_items)
        b->m_owner = m_toolbars->selfAs<Toolbars>();
    m_toolbars->m_link = m_link;
    other.m_toolbars->m_link = other.m_link;

    m_options = other.m_options;
    raise(change::ControlChanged, nullptr, nullptr);
}

}  // namespace toolbar
