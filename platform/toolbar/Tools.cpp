#include "platform/toolbar/Tools.h"

#include "platform/toolbar/MqZentribar.h"

#include <algorithm>

namespace toolbar {

namespace {
QString fold(const QString& id)
{
    return id.trimmed().toCaseFolded();
}
}  // namespace

std::shared_ptr<Tools> Tools::create(Kind kind, Link link)
{
    std::shared_ptr<Tools> t(new Tools(kind, std::move(link)));
    t->publish();
    return t;
}

Tools::Tools(Kind kind, Link link) : m_kind(kind), m_link(std::move(link)) {}

void Tools::publish()
{
    defineMethod(QStringLiteral("Add"), com::DispidUnknown, [this](com::Args& a) {
        if (a.empty())
            refuse(QStringLiteral("Tools.Add"), QStringLiteral("an ID is required."), 450);
        std::optional<int16_t> type;
        std::optional<int32_t> index;
        if (a.size() > 1 && !a[1].isEmpty())
            type = a[1].toInteger();
        if (a.size() > 2 && !a[2].isEmpty())
            index = a[2].toLong();
        return rt::Variant(Add(a[0].toString(), type, index));
    });
    defineMethod(QStringLiteral("Item"), 0, [this](com::Args& a) {
        if (a.empty())
            refuse(QStringLiteral("Tools.Item"), QStringLiteral("a key is required."), 450);
        return rt::Variant(Item(a[0]));
    });
    defineMethod(QStringLiteral("Remove"), com::DispidUnknown, [this](com::Args& a) {
        if (a.empty())
            refuse(QStringLiteral("Tools.Remove"), QStringLiteral("a key is required."), 450);
        Remove(a[0]);
        return rt::Variant();
    });
    bind<&Tools::Count>(QStringLiteral("Count"));
    defineMethod(QStringLiteral("Clear"), com::DispidUnknown, [this](com::Args&) {
        Clear();
        return rt::Variant();
    });
}

int32_t Tools::indexOf(const ToolState* tool) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == tool)
            return int32_t(i + 1);
    }
    return 0;
}

std::shared_ptr<ToolState> Tools::findState(const QString& id) const
{
    if (m_kind == Kind::Definitions)
        return m_byId.value(fold(id));
    const QString key = id.trimmed();   // stored IDs are trimmed
    for (const auto& t : m_items) {
        if (t->role != Tool::Role::Separator &&
            t->shared().id.compare(key, Qt::CaseInsensitive) == 0)
            return t;
    }
    return nullptr;
}

std::shared_ptr<Tool> Tools::find(const QString& id) const
{
    return Tool::of(findState(id));
}

std::shared_ptr<Tool> Tools::Item(const QString& id) const
{
    auto t = find(id);
    if (!t)
        refuse(QStringLiteral("Tools.Item"),
               QStringLiteral("there is no tool with the ID '%1'.").arg(id), rt::errc::InvalidCall);
    return t;
}

std::shared_ptr<Tool> Tools::Item(int32_t index) const
{
    if (index < 1 || index > Count())
        refuse(QStringLiteral("Tools.Item"),
               QStringLiteral("there is no tool at position %1 (the collection holds %2).")
                   .arg(index).arg(Count()),
               rt::errc::SubscriptOutOfRange);
    return Tool::of(m_items[size_t(index - 1)]);
}

std::shared_ptr<Tool> Tools::Item(const rt::Variant& indexOrKey) const
{
    if (indexOrKey.isString())
        return Item(indexOrKey.toString());
    return Item(indexOrKey.toLong());
}

void Tools::insert(const std::shared_ptr<ToolState>& tool, std::optional<int32_t> index)
{
    size_t pos = m_items.size();
    if (index) {
        if (*index < 1)
            refuse(QStringLiteral("Tools.Add"),
                   QStringLiteral("position %1 is before the first position.").arg(*index),
                   rt::errc::SubscriptOutOfRange);
        pos = std::min(size_t(*index - 1), m_items.size());   // past the end appends
    }
    m_items.insert(m_items.begin() + ptrdiff_t(pos), tool);
    tool->owner = selfAs<Tools>();
    if (m_kind == Kind::Definitions)
        m_byId.insert(fold(tool->shared().id), tool);
}

Tools::Refusal Tools::refusalFor(const ToolState& definition) const
{
    if (std::any_of(m_items.begin(), m_items.end(),
                    [&](const auto& t) { return t->definition.get() == &definition; }))
        return Refusal::Duplicate;
    const auto menuTool = m_menuTool.lock();
    if (!menuTool)
        return Refusal::None;
    // The new entry may not lead back to the menu that would hold it.
    std::vector<const ToolState*> pending{&definition};
    std::vector<const ToolState*> seen;
    while (!pending.empty()) {
        const ToolState* t = pending.back();
        pending.pop_back();
        if (t == menuTool.get())
            return Refusal::Cycle;
        if (std::find(seen.begin(), seen.end(), t) != seen.end())
            continue;
        seen.push_back(t);
        if (const auto& menu = t->shared().menu) {
            for (const auto& e : menu->tools()->states()) {
                if (e->role == Tool::Role::Entry)
                    pending.push_back(e->definition.get());
            }
        }
    }
    return Refusal::None;
}

void Tools::refuseEntry(Refusal why, const ToolState& definition) const
{
    if (why == Refusal::Cycle)
        refuse(QStringLiteral("Menu.Tools.Add"),
               QStringLiteral("the menu '%1' cannot contain itself.")
                   .arg(m_menuTool.lock()->shared().id));
    refuse(QStringLiteral("Tools.Add"),
           QStringLiteral("the tool '%1' is already in this list.").arg(definition.shared().id),
           rt::errc::DuplicateKey);
}

bool Tools::canHold(const ToolState& definition) const
{
    return m_kind == Kind::Entries && refusalFor(definition) == Refusal::None;
}

std::shared_ptr<ToolState> Tools::addState(const QString& id, std::optional<int16_t> type,
                                           std::optional<int32_t> index)
{
    std::shared_ptr<ToolState> tool;
    if (m_kind == Kind::Definitions) {
        const QString trimmed = id.trimmed();
        if (trimmed.isEmpty())
            refuse(QStringLiteral("Tools.Add"), QStringLiteral("the ID is empty."));
        if (trimmed.compare(QLatin1String("separator"), Qt::CaseInsensitive) == 0)
            refuse(QStringLiteral("Tools.Add"),
                   QStringLiteral("'separator' is reserved for separators."));
        if (findState(trimmed))
            refuse(QStringLiteral("Tools.Add"),
                   QStringLiteral("a tool with the ID '%1' already exists.").arg(trimmed),
                   rt::errc::DuplicateKey);
        tool = ToolState::makeDefinition(m_link, trimmed, type.value_or(mqButton));
    } else if (type && *type == mqSeparator) {
        tool = ToolState::makeSeparator(m_link);
    } else {
        if (type)
            checkRange(QStringLiteral("Tools.Add"), *type, 0, 8);
        const MqZentribar* control = m_link->control;
        const auto def = control ? control->tools()->findState(id) : nullptr;
        if (!def)
            refuse(QStringLiteral("Tools.Add"),
                   QStringLiteral("the control has no tool with the ID '%1'.").arg(id.trimmed()),
                   rt::errc::InvalidCall);
        if (const Refusal why = refusalFor(*def); why != Refusal::None)
            refuseEntry(why, *def);
        tool = ToolState::makeEntry(def);
    }
    insert(tool, index);
    if (m_link->control)
        m_link->control->raiseState(change::Added, ownerToolbar(), tool);
    return tool;
}

std::shared_ptr<Tool> Tools::Add(const QString& id, std::optional<int16_t> type,
                                 std::optional<int32_t> index)
{
    return Tool::of(addState(id, type, index));
}

void Tools::removeAt(size_t pos)
{
    const std::shared_ptr<ToolState> tool = m_items[pos];
    m_items.erase(m_items.begin() + ptrdiff_t(pos));
    tool->owner.reset();
    if (m_kind == Kind::Definitions) {
        m_byId.remove(fold(tool->shared().id));
        if (m_link->control)
            m_link->control->removeEntriesOf(tool.get());
    }
    if (m_link->control)
        m_link->control->raiseState(change::Removed, ownerToolbar(), tool);
}

void Tools::Remove(const rt::Variant& indexOrKey)
{
    const std::shared_ptr<Tool> tool = Item(indexOrKey);
    removeAt(size_t(indexOf(tool->state().get()) - 1));
}

std::shared_ptr<Tool> Tools::placeEntry(const std::shared_ptr<ToolState>& entry, int32_t index,
                                        bool copy)
{
    const auto from = entry->owner.lock();
    const bool separator = entry->role == Tool::Role::Separator;
    if (m_kind != Kind::Entries || entry->role == Tool::Role::Definition || !from)
        refuse(QStringLiteral("Tools.Add"), QStringLiteral("only an entry can be placed."));
    if (!separator && (copy || from.get() != this)) {
        if (const Refusal why = refusalFor(*entry->definition); why != Refusal::None)
            refuseEntry(why, *entry->definition);
    }
    size_t pos = std::min(size_t(std::max(index, 1) - 1), m_items.size());
    std::shared_ptr<ToolState> placed;
    if (copy) {
        placed = separator ? ToolState::makeSeparator(m_link) : ToolState::makeEntry(entry);
        placed->copyLookOf(*entry);
    } else {
        const size_t old = size_t(from->indexOf(entry.get()) - 1);
        if (from.get() == this && (pos == old || pos == old + 1))
            return Tool::of(entry);   // dropped where it is
        from->removeAt(old);
        if (from.get() == this && pos > old)
            --pos;
        placed = entry;
    }
    insert(placed, int32_t(pos + 1));
    if (m_link->control)
        m_link->control->raiseState(change::Added, ownerToolbar(), placed);
    return Tool::of(placed);
}

void Tools::Clear()
{
    if (m_items.empty())
        return;
    const States old = std::move(m_items);
    m_items.clear();
    m_byId.clear();
    for (const auto& t : old)
        t->owner.reset();
    if (m_kind == Kind::Definitions && m_link->control) {
        for (const auto& t : old)
            m_link->control->removeEntriesOf(t.get());
    }
    if (m_link->control)
        m_link->control->raise(change::Removed, ownerToolbar(), nullptr);
}

void Tools::rekey(const ToolState& tool, const QString& newId)
{
    if (m_kind != Kind::Definitions)
        return;
    const auto other = findState(newId);
    if (other && other.get() != &tool)
        refuse(QStringLiteral("Tool.ID"),
               QStringLiteral("a tool with the ID '%1' already exists.").arg(newId.trimmed()),
               rt::errc::DuplicateKey);
    auto self = m_byId.take(fold(tool.shared().id));
    m_byId.insert(fold(newId), self);
}

bool Tools::removeEntriesOf(const ToolState* definition)
{
    bool any = false;
    for (size_t i = m_items.size(); i-- > 0;) {
        const auto& t = m_items[i];
        if (t->role == Tool::Role::Entry && t->definition.get() == definition) {
            t->owner.reset();
            m_items.erase(m_items.begin() + ptrdiff_t(i));
            any = true;
        }
    }
    return any;
}

}  // namespace toolbar
