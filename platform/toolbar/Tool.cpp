#include "platform/toolbar/Tool.h"

#include "platform/toolbar/MqZentribar.h"
#include "platform/toolbar/ToolState.h"
#include "platform/toolbar/Tools.h"

#include "platform/gdi/Gdi.h"

#include <QCollator>

#include <algorithm>

namespace toolbar {

void refuse(const QString& where, const QString& why, int32_t number)
{
    rt::raise(number, QStringLiteral("MqZentribar"), where + QStringLiteral(": ") + why);
}

QString pictureStateName(PictureState state)
{
    switch (state) {
    case PictureState::Normal: return QStringLiteral("Normal");
    case PictureState::Pressed: return QStringLiteral("Pressed");
    case PictureState::Disabled: return QStringLiteral("Disabled");
    case PictureState::DisabledPressed: return QStringLiteral("DisabledPressed");
    }
    return {};
}

namespace {
void raiseChanged(const std::shared_ptr<ToolState>& s);
}  // namespace

// ---- ComboBox ----------------------------------------------------------------

ToolComboBox::ToolComboBox()
{
    defineProperty(QStringLiteral("ItemData"), com::DispidUnknown,
                   [this](com::Args& a) {
                       if (a.empty())
                           refuse(QStringLiteral("ComboBox.ItemData"),
                                  QStringLiteral("an index is required."), 450);
                       return rt::Variant(ItemData(a[0].toInteger()));
                   },
                   [this](com::Args& a, const rt::Variant& v) {
                       if (a.empty())
                           refuse(QStringLiteral("ComboBox.ItemData"),
                                  QStringLiteral("an index is required."), 450);
                       setItemData(a[0].toInteger(), v.toLong());
                   });
    defineProperty(QStringLiteral("List"), com::DispidUnknown,
                   [this](com::Args& a) {
                       if (a.empty())
                           refuse(QStringLiteral("ComboBox.List"),
                                  QStringLiteral("an index is required."), 450);
                       return rt::Variant(List(a[0].toInteger()));
                   },
                   [this](com::Args& a, const rt::Variant& v) {
                       if (a.empty())
                           refuse(QStringLiteral("ComboBox.List"),
                                  QStringLiteral("an index is required."), 450);
                       setList(a[0].toInteger(), v.toString());
                   });
    bind<&ToolComboBox::ListCount>(QStringLiteral("ListCount"));
    bind<&ToolComboBox::ListIndex, &ToolComboBox::setListIndex>(QStringLiteral("ListIndex"));
    bind<&ToolComboBox::Locked, &ToolComboBox::setLocked>(QStringLiteral("Locked"));
    bind<&ToolComboBox::NewIndex>(QStringLiteral("NewIndex"));
    bind<&ToolComboBox::Sorted, &ToolComboBox::setSorted>(QStringLiteral("Sorted"));
    bind<&ToolComboBox::Style, &ToolComboBox::setStyle>(QStringLiteral("Style"));
    bind<&ToolComboBox::Text, &ToolComboBox::setText>(QStringLiteral("Text"));
    defineMethod(QStringLiteral("AddItem"), com::DispidUnknown, [this](com::Args& a) {
        if (a.empty())
            refuse(QStringLiteral("ComboBox.AddItem"), QStringLiteral("an item is required."),
                   450);
        std::optional<int16_t> index;
        if (a.size() > 1 && !a[1].isEmpty())
            index = a[1].toInteger();
        AddItem(a[0].toString(), index);
        return rt::Variant();
    });
    defineMethod(QStringLiteral("RemoveItem"), com::DispidUnknown, [this](com::Args& a) {
        if (a.empty())
            refuse(QStringLiteral("ComboBox.RemoveItem"),
                   QStringLiteral("an index is required."), 450);
        RemoveItem(a[0].toInteger());
        return rt::Variant();
    });
    defineMethod(QStringLiteral("Clear"), com::DispidUnknown, [this](com::Args&) {
        Clear();
        return rt::Variant();
    });
}

void ToolComboBox::changed()
{
    raiseChanged(m_tool.lock());
}

void ToolComboBox::checkIndex(int16_t index, const char* what) const
{
    if (index < 0 || index >= ListCount())
        refuse(QStringLiteral("ComboBox.%1").arg(QLatin1String(what)),
               QStringLiteral("item %1 does not exist (the list holds %2).")
                   .arg(index).arg(ListCount()),
               381);
}

int32_t ToolComboBox::ItemData(int16_t index) const
{
    checkIndex(index, "ItemData");
    return m_items[size_t(index)].data;
}

void ToolComboBox::setItemData(int16_t index, int32_t data)
{
    checkIndex(index, "ItemData");
    if (m_items[size_t(index)].data == data)
        return;
    m_items[size_t(index)].data = data;
    changed();
}

QString ToolComboBox::List(int16_t index) const
{
    // Reading past the end gives an empty text, as list controls do.
    if (index < 0 || index >= ListCount())
        return {};
    return m_items[size_t(index)].text;
}

void ToolComboBox::setList(int16_t index, const QString& text)
{
    checkIndex(index, "List");
    if (m_items[size_t(index)].text == text)
        return;
    m_items[size_t(index)].text = text;
    changed();
}

void ToolComboBox::setListIndex(int16_t index)
{
    if (index < -1 || index >= ListCount())
        refuse(QStringLiteral("ComboBox.ListIndex"),
               QStringLiteral("%1 is not -1 or the index of an item (the list holds %2).")
                   .arg(index).arg(ListCount()),
               380);
    if (index == m_listIndex)
        return;
    m_listIndex = index;
    if (index >= 0)
        m_text = m_items[size_t(index)].text;
    changed();
}

void ToolComboBox::setLocked(bool v)
{
    if (v == m_locked)
        return;
    m_locked = v;
    changed();
}

namespace {
bool textLess(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}
}  // namespace

void ToolComboBox::setSorted(bool v)
{
    if (v == m_sorted)
        return;
    m_sorted = v;
    if (v) {
        // Sort positions, not items, so that the selection follows its own
        // item even when another item has the same text.
        std::vector<size_t> order(m_items.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) {
            return textLess(m_items[a].text, m_items[b].text);
        });
        std::vector<Item> sorted;
        sorted.reserve(m_items.size());
        int16_t listIndex = -1;
        for (size_t i = 0; i < order.size(); ++i) {
            sorted.push_back(std::move(m_items[order[i]]));
            if (int16_t(order[i]) == m_listIndex)
                listIndex = int16_t(i);
        }
        m_items = std::move(sorted);
        m_listIndex = listIndex;
        m_newIndex = -1;
    }
    changed();
}

void ToolComboBox::setStyle(int16_t v)
{
    checkRange(QStringLiteral("ComboBox.Style"), v, 0, 1);
    if (v == m_style)
        return;
    m_style = v;
    changed();
}

void ToolComboBox::setText(const QString& v)
{
    if (v == m_text)
        return;
    m_text = v;
    changed();
}

void ToolComboBox::AddItem(const QString& text, std::optional<int16_t> index)
{
    if (m_items.size() >= 32767)
        refuse(QStringLiteral("ComboBox.AddItem"), QStringLiteral("the list is full."), 7);
    size_t pos = m_items.size();
    if (m_sorted) {
        pos = size_t(std::upper_bound(m_items.begin(), m_items.end(), text,
                                      [](const QString& t, const Item& i) {
                                          return textLess(t, i.text);
                                      }) -
                     m_items.begin());
    } else if (index) {
        if (*index < 0 || *index > ListCount())
            refuse(QStringLiteral("ComboBox.AddItem"),
                   QStringLiteral("position %1 is outside the list (0 to %2).")
                       .arg(*index).arg(ListCount()),
                   5);
        pos = size_t(*index);
    }
    m_items.insert(m_items.begin() + ptrdiff_t(pos), Item{text, 0});
    if (m_listIndex >= int16_t(pos))
        ++m_listIndex;
    m_newIndex = int16_t(pos);
    changed();
}

void ToolComboBox::RemoveItem(int16_t index)
{
    checkIndex(index, "RemoveItem");
    m_items.erase(m_items.begin() + index);
    if (m_listIndex == index)
        m_listIndex = -1;
    else if (m_listIndex > index)
        --m_listIndex;
    m_newIndex = -1;
    changed();
}

void ToolComboBox::Clear()
{
    if (m_items.empty() && m_listIndex == -1)
        return;
    m_items.clear();
    m_listIndex = -1;
    m_newIndex = -1;
    changed();
}

void ToolComboBox::assign(const ToolComboBox& other)
{
    m_items = other.m_items;
    m_listIndex = other.m_listIndex;
    m_newIndex = other.m_newIndex;
    m_locked = other.m_locked;
    m_sorted = other.m_sorted;
    m_style = other.m_style;
    m_text = other.m_text;
    changed();
}

// ---- Edit --------------------------------------------------------------------

ToolEdit::ToolEdit()
{
    bind<&ToolEdit::Locked, &ToolEdit::setLocked>(QStringLiteral("Locked"));
    bind<&ToolEdit::MaxLength, &ToolEdit::setMaxLength>(QStringLiteral("MaxLength"));
    bind<&ToolEdit::Text, &ToolEdit::setText>(QStringLiteral("Text"));
    bind<&ToolEdit::PasswordChar, &ToolEdit::setPasswordChar>(QStringLiteral("PasswordChar"));
}

void ToolEdit::changed()
{
    raiseChanged(m_tool.lock());
}

void ToolEdit::setLocked(bool v)
{
    if (v == m_locked)
        return;
    m_locked = v;
    changed();
}

void ToolEdit::setMaxLength(int16_t v)
{
    checkRange(QStringLiteral("Edit.MaxLength"), v, 0, 32767);
    if (v == m_maxLength)
        return;
    m_maxLength = v;
    changed();
}

void ToolEdit::setText(const QString& v)
{
    if (v == m_text)
        return;
    m_text = v;
    changed();
}

void ToolEdit::setPasswordChar(const QString& v)
{
    if (v.size() > 1)
        refuse(QStringLiteral("Edit.PasswordChar"),
               QStringLiteral("'%1' is more than one character.").arg(v));
    if (v == m_passwordChar)
        return;
    m_passwordChar = v;
    changed();
}

void ToolEdit::assign(const ToolEdit& other)
{
    m_locked = other.m_locked;
    m_maxLength = other.m_maxLength;
    m_text = other.m_text;
    m_passwordChar = other.m_passwordChar;
    changed();
}

// ---- Menu --------------------------------------------------------------------

ToolMenu::ToolMenu()
{
    defineProperty(QStringLiteral("Tools"), com::DispidUnknown,
                   [this](com::Args&) { return rt::Variant(m_tools); });
}

// ---- Tool --------------------------------------------------------------------

namespace {
std::shared_ptr<Toolbar> toolbarOf(const ToolState& s)
{
    const auto owner = s.owner.lock();
    return owner ? owner->ownerToolbar() : nullptr;
}

void raiseChanged(const std::shared_ptr<ToolState>& s)
{
    if (s && s->link->control)
        s->link->control->raiseState(change::ToolChanged, toolbarOf(*s), s);
}
}  // namespace

std::shared_ptr<ToolState> ToolState::makeDefinition(const Link& link, const QString& id,
                                                     int16_t type)
{
    checkRange(QStringLiteral("Tool.Type"), type, 0, 7);   // 8: separator entries only
    auto s = std::make_shared<ToolState>();
    s->role = Tool::Role::Definition;
    s->link = link;
    s->core = std::make_shared<ToolCore>();
    s->core->id = id;
    s->core->type = type;
    return s;
}

std::shared_ptr<ToolState> ToolState::makeEntry(const std::shared_ptr<ToolState>& definition)
{
    const std::shared_ptr<ToolState> def =
        definition->definition ? definition->definition : definition;
    auto s = std::make_shared<ToolState>();
    s->role = Tool::Role::Entry;
    s->link = def->link;
    s->definition = def;
    s->copyLookOf(*def);
    return s;
}

void ToolState::copyLookOf(const ToolState& other)
{
    name = other.name;
    displayStyle = other.displayStyle;
    forecolor = other.forecolor;
    forecolorSource = other.forecolorSource;
    width = other.width;
}

std::shared_ptr<ToolState> ToolState::makeSeparator(const Link& link)
{
    auto s = std::make_shared<ToolState>();
    s->role = Tool::Role::Separator;
    s->link = link;
    s->core = std::make_shared<ToolCore>();
    s->core->id = QStringLiteral("Separator");
    s->core->type = mqSeparator;
    return s;
}

Tool::Tool(std::shared_ptr<ToolState> state) : m_s(std::move(state)) {}

std::shared_ptr<Tool> Tool::of(const std::shared_ptr<ToolState>& state)
{
    if (!state)
        return nullptr;
    if (auto face = state->face.lock())
        return face;
    std::shared_ptr<Tool> face(new Tool(state));
    face->publish();
    state->face = face;
    return face;
}

std::shared_ptr<Tool> Tool::view(const std::shared_ptr<ToolState>& state)
{
    if (auto face = state->face.lock())
        return face;
    return std::shared_ptr<Tool>(new Tool(state));
}

Tool::Role Tool::role() const { return m_s->role; }

std::shared_ptr<Tool> Tool::definition()
{
    return m_s->definition ? of(m_s->definition) : selfAs<Tool>();
}

std::shared_ptr<const Tool> Tool::definition() const
{
    return m_s->definition ? std::shared_ptr<const Tool>(of(m_s->definition))
                           : selfAs<Tool>();
}

std::shared_ptr<Toolbar> Tool::toolbar() const
{
    return toolbarOf(*m_s);
}

void Tool::changed()
{
    raiseChanged(m_s);
}

template <class T>
void Tool::writeLook(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    changed();
}

template <class T>
void Tool::write(T& field, const T& value)
{
    if (m_s->role == Role::Separator)
        refuse(QStringLiteral("Tool"), QStringLiteral("a separator has no settings."), 383);
    writeLook(field, value);
}

QString Tool::ID() const { return m_s->shared().id; }

void Tool::setID(const QString& id)
{
    const QString trimmed = id.trimmed();
    if (m_s->role == Role::Separator)
        refuse(QStringLiteral("Tool.ID"), QStringLiteral("a separator has no ID of its own."),
               383);
    if (trimmed.isEmpty())
        refuse(QStringLiteral("Tool.ID"), QStringLiteral("the ID is empty."));
    if (trimmed.compare(QLatin1String("separator"), Qt::CaseInsensitive) == 0)
        refuse(QStringLiteral("Tool.ID"),
               QStringLiteral("'separator' is reserved for separators."));
    if (trimmed == m_s->shared().id)
        return;
    if (auto owner = m_s->definitionState().owner.lock())
        owner->rekey(m_s->definitionState(), trimmed);   // refuses a duplicate
    m_s->shared().id = trimmed;
    changed();
}

int16_t Tool::Type() const { return m_s->shared().type; }

void Tool::setType(int16_t v)
{
    checkRange(QStringLiteral("Tool.Type"), v, 0, 7);
    write(m_s->shared().type, v);
}

QString Tool::Category() const { return m_s->shared().category; }
void Tool::setCategory(const QString& v) { write(m_s->shared().category, v); }
QString Tool::Description() const { return m_s->shared().description; }
void Tool::setDescription(const QString& v) { write(m_s->shared().description, v); }
QString Tool::TooltipText() const { return m_s->shared().tooltip; }
void Tool::setTooltipText(const QString& v) { write(m_s->shared().tooltip, v); }
int16_t Tool::ShortcutKey() const { return m_s->shared().shortcut; }

void Tool::setShortcutKey(int16_t v)
{
    checkRange(QStringLiteral("Tool.ShortcutKey"), v, 0, 79);
    write(m_s->shared().shortcut, v);
}

int16_t Tool::State() const { return m_s->shared().state; }

void Tool::setState(int16_t v)
{
    checkRange(QStringLiteral("Tool.State"), v, mqUnchecked, mqChecked);
    ToolCore& core = m_s->shared();
    if (v == core.state)
        return;
    write(core.state, v);
    MqZentribar* control = m_s->link->control;
    if (v != mqChecked || !control)
        return;
    // Checking a grouped state tool releases the others of its group; and
    // a tool that goes down is clicked, whoever put it down.
    const QString group = core.group.trimmed();
    if (!group.isEmpty()) {
        for (const auto& other : control->tools()->states()) {
            ToolCore& oc = other->shared();
            if (&oc != &core && (oc.type == mqStateButton || oc.type == mqDropDownStateButton) &&
                oc.state == mqChecked &&
                oc.group.trimmed().compare(group, Qt::CaseInsensitive) == 0)
                Tool::view(other)->setState(mqUnchecked);
        }
    }
    if (control->ToolClick.count() > 0)
        control->ToolClick.emit(com::Object(of(m_s)));
}

QString Tool::StateGroupName() const { return m_s->shared().group; }
void Tool::setStateGroupName(const QString& v) { write(m_s->shared().group, v); }
bool Tool::StateAllowAllUp() const { return m_s->shared().allowAllUp; }
void Tool::setStateAllowAllUp(bool v) { write(m_s->shared().allowAllUp, v); }
int16_t Tool::MenuVisibility() const { return m_s->shared().menuVisibility; }

void Tool::setMenuVisibility(int16_t v)
{
    checkRange(QStringLiteral("Tool.MenuVisibility"), v, 0, 1);
    write(m_s->shared().menuVisibility, v);
}

bool Tool::AutoWrap() const { return m_s->shared().autoWrap; }
void Tool::setAutoWrap(bool v) { write(m_s->shared().autoWrap, v); }
bool Tool::Customizable() const { return m_s->shared().customizable; }
void Tool::setCustomizable(bool v) { write(m_s->shared().customizable, v); }
bool Tool::Enabled() const { return m_s->shared().enabled; }
void Tool::setEnabled(bool v) { write(m_s->shared().enabled, v); }
bool Tool::Visible() const { return m_s->shared().visible; }
void Tool::setVisible(bool v) { write(m_s->shared().visible, v); }
rt::Variant Tool::Tag() const { return m_s->shared().tag; }

void Tool::setTag(const rt::Variant& v)
{
    if (v.isObject())
        refuse(QStringLiteral("Tool.Tag"), QStringLiteral("an object cannot be kept as a tag."));
    write(m_s->shared().tag, v);
}

int16_t Tool::ImageSize() const { return m_s->shared().imageSize; }

void Tool::setImageSize(int16_t v)
{
    checkRange(QStringLiteral("Tool.ImageSize"), v, 16, 32);
    write(m_s->shared().imageSize, v);
}

bool Tool::UseMaskColor() const { return m_s->shared().useMask; }
void Tool::setUseMaskColor(bool v) { write(m_s->shared().useMask, v); }

int32_t Tool::Index() const
{
    const auto owner = m_s->owner.lock();
    return owner ? owner->indexOf(m_s.get()) : 0;
}

QString Tool::Name() const { return m_s->name; }
int16_t Tool::DisplayStyle() const { return m_s->displayStyle; }
int32_t Tool::Forecolor() const { return m_s->forecolor; }
int16_t Tool::ForecolorSource() const { return m_s->forecolorSource; }
int16_t Tool::Width() const { return m_s->width; }

void Tool::setName(const QString& v) { writeLook(m_s->name, v); }

void Tool::setDisplayStyle(int16_t v)
{
    checkRange(QStringLiteral("Tool.DisplayStyle"), v, 0, 3);
    writeLook(m_s->displayStyle, v);
}

void Tool::setForecolor(int32_t v)
{
    // A colour reference, or a system colour 0x800000nn with nn up to 24.
    const uint32_t u = uint32_t(v);
    const bool ok = (u & 0xFF000000u) == 0 || (u & 0xFF000000u) == 0x02000000u ||
                    ((u & 0xFFFFFF00u) == 0x80000000u && (u & 0xFFu) <= 24);
    if (!ok)
        refuse(QStringLiteral("Tool.Forecolor"),
               QStringLiteral("&H%1& is not a colour.").arg(u, 8, 16, QLatin1Char('0')));
    writeLook(m_s->forecolor, v);
}

void Tool::setForecolorSource(int16_t v)
{
    checkRange(QStringLiteral("Tool.ForecolorSource"), v, 0, 1);
    writeLook(m_s->forecolorSource, v);
}

void Tool::setWidth(int16_t v)
{
    checkRange(QStringLiteral("Tool.Width"), v, 1, 32767);
    writeLook(m_s->width, v);
}

forms::Picture Tool::picture(PictureState state) const
{
    return m_s->shared().pictures[size_t(state)];
}

void Tool::setPicture(PictureState state, forms::Picture picture)
{
    if (picture && picture->Handle() == 0)
        picture = nullptr;   // an empty picture is kept as Nothing
    if (picture) {
        const int32_t w = picture->widthPixels(), h = picture->heightPixels();
        if (w > MaxPictureSide || h > MaxPictureSide)
            refuse(QStringLiteral("Tool.Picture%1").arg(pictureStateName(state)),
                   QStringLiteral("a %1 x %2 picture is larger than %3 x %3 pixels.")
                       .arg(w).arg(h).arg(MaxPictureSide),
                   481);
    }
    write(m_s->shared().pictures[size_t(state)], picture);
}

void Tool::setPictureValue(PictureState state, const rt::Variant& value)
{
    const QString where = QStringLiteral("Tool.Picture%1").arg(pictureStateName(state));
    if (value.isEmpty() || value.isNothing()) {
        setPicture(state, nullptr);
        return;
    }
    if (value.isObject()) {
        auto pic = value.as<forms::StdPicture>();
        if (!pic)
            refuse(where, QStringLiteral("a %1 is not a picture.").arg(value.typeName()), 481);
        setPicture(state, pic);
        return;
    }
    if (value.isNumeric()) {
        const int32_t handle = value.toLong();
        if (handle == 0) {
            setPicture(state, nullptr);
            return;
        }
        const gdi::HBITMAP copy = gdi::CopyBitmap(handle);
        if (!copy)
            refuse(where, QStringLiteral("%1 is not a bitmap handle.").arg(handle), 481);
        setPicture(state, forms::StdPicture::fromBitmap(copy));
        return;
    }
    refuse(where, QStringLiteral("a %1 is not a picture.").arg(value.typeName()), 481);
}

int32_t Tool::pictureHandle(PictureState state) const
{
    const forms::Picture p = picture(state);
    return p ? p->Handle() : 0;
}

std::shared_ptr<ToolComboBox> Tool::comboBox() const
{
    ToolCore& c = m_s->shared();
    if (!c.combo) {
        c.combo = std::make_shared<ToolComboBox>();
        c.combo->m_tool = m_s->definition ? m_s->definition : m_s;
    }
    return c.combo;
}

std::shared_ptr<ToolEdit> Tool::edit() const
{
    ToolCore& c = m_s->shared();
    if (!c.edit) {
        c.edit = std::make_shared<ToolEdit>();
        c.edit->m_tool = m_s->definition ? m_s->definition : m_s;
    }
    return c.edit;
}

std::shared_ptr<ToolMenu> Tool::menu() const
{
    ToolCore& c = m_s->shared();
    if (!c.menu) {
        const auto def = m_s->definition ? m_s->definition : m_s;
        c.menu = std::make_shared<ToolMenu>();
        c.menu->m_tools = Tools::create(Tools::Kind::Entries, def->link);
        if (def->role == Role::Definition)
            c.menu->m_tools->m_menuTool = def;
    }
    return c.menu;
}

const ToolComboBox* Tool::existingComboBox() const { return m_s->shared().combo.get(); }
const ToolEdit* Tool::existingEdit() const { return m_s->shared().edit.get(); }

const Tools* Tool::existingMenuTools() const
{
    return m_s->shared().menu ? m_s->shared().menu->m_tools.get() : nullptr;
}

void Tool::assignSettings(const Tool& other)
{
    ToolCore& c = m_s->shared();
    const ToolCore& o = other.m_s->shared();
    c.type = o.type;
    c.category = o.category;
    c.description = o.description;
    c.tooltip = o.tooltip;
    c.shortcut = o.shortcut;
    c.state = o.state;
    c.group = o.group;
    c.allowAllUp = o.allowAllUp;
    c.menuVisibility = o.menuVisibility;
    c.autoWrap = o.autoWrap;
    c.customizable = o.customizable;
    c.enabled = o.enabled;
    c.visible = o.visible;
    c.tag = o.tag;
    c.imageSize = o.imageSize;
    c.useMask = o.useMask;
    c.pictures = o.pictures;
    if (o.combo || c.combo)
        comboBox()->assign(o.combo ? *o.combo : ToolComboBox());
    if (o.edit || c.edit)
        edit()->assign(o.edit ? *o.edit : ToolEdit());
    m_s->name = other.m_s->name;
    m_s->displayStyle = other.m_s->displayStyle;
    m_s->forecolor = other.m_s->forecolor;
    m_s->forecolorSource = other.m_s->forecolorSource;
    m_s->width = other.m_s->width;
    changed();
}

void Tool::publish()
{
    bind<&Tool::ID, &Tool::setID>(QStringLiteral("ID"));
    bind<&Tool::Name, &Tool::setName>(QStringLiteral("Name"));
    bind<&Tool::Type, &Tool::setType>(QStringLiteral("Type"));
    bind<&Tool::Category, &Tool::setCategory>(QStringLiteral("Category"));
    bind<&Tool::Description, &Tool::setDescription>(QStringLiteral("Description"));
    bind<&Tool::TooltipText, &Tool::setTooltipText>(QStringLiteral("TooltipText"));
    bind<&Tool::ShortcutKey, &Tool::setShortcutKey>(QStringLiteral("ShortcutKey"));
    bind<&Tool::State, &Tool::setState>(QStringLiteral("State"));
    bind<&Tool::StateGroupName, &Tool::setStateGroupName>(QStringLiteral("StateGroupName"));
    bind<&Tool::StateAllowAllUp, &Tool::setStateAllowAllUp>(QStringLiteral("StateAllowAllUp"));
    bind<&Tool::Forecolor, &Tool::setForecolor>(QStringLiteral("Forecolor"));
    bind<&Tool::ForecolorSource, &Tool::setForecolorSource>(QStringLiteral("ForecolorSource"));
    bind<&Tool::DisplayStyle, &Tool::setDisplayStyle>(QStringLiteral("DisplayStyle"));
    bind<&Tool::MenuVisibility, &Tool::setMenuVisibility>(QStringLiteral("MenuVisibility"));
    bind<&Tool::Width, &Tool::setWidth>(QStringLiteral("Width"));
    bind<&Tool::AutoWrap, &Tool::setAutoWrap>(QStringLiteral("AutoWrap"));
    bind<&Tool::Customizable, &Tool::setCustomizable>(QStringLiteral("Customizable"));
    bind<&Tool::Enabled, &Tool::setEnabled>(QStringLiteral("Enabled"));
    bind<&Tool::Visible, &Tool::setVisible>(QStringLiteral("Visible"));
    bind<&Tool::Tag, &Tool::setTag>(QStringLiteral("Tag"));
    bind<&Tool::ImageSize, &Tool::setImageSize>(QStringLiteral("ImageSize"));
    bind<&Tool::UseMaskColor, &Tool::setUseMaskColor>(QStringLiteral("UseMaskColor"));
    bind<&Tool::Index>(QStringLiteral("Index"));
    for (int i = 0; i < PictureStateCount; ++i) {
        const auto state = PictureState(i);
        const QString name = QStringLiteral("Picture") + pictureStateName(state);
        defineProperty(name, com::DispidUnknown,
                       [this, state](com::Args&) {
                           const forms::Picture p = picture(state);
                           return p ? rt::Variant(p) : rt::Variant::nothing();
                       },
                       [this, state](com::Args&, const rt::Variant& v) {
                           setPictureValue(state, v);
                       });
        defineProperty(name + QStringLiteral("Handle"), com::DispidUnknown,
                       [this, state](com::Args&) { return rt::Variant(pictureHandle(state)); },
                       [this, state, name](com::Args&, const rt::Variant& v) {
                           if (!v.isNumeric())
                               refuse(QStringLiteral("Tool.%1Handle").arg(name),
                                      QStringLiteral("a bitmap handle is a number."), 13);
                           setPictureValue(state, v);
                       });
    }
    defineProperty(QStringLiteral("ComboBox"), com::DispidUnknown,
                   [this](com::Args&) { return rt::Variant(comboBox()); });
    defineProperty(QStringLiteral("Edit"), com::DispidUnknown,
                   [this](com::Args&) { return rt::Variant(edit()); });
    defineProperty(QStringLiteral("Menu"), com::DispidUnknown,
                   [this](com::Args&) { return rt::Variant(menu()); });
}

}  // namespace toolbar
