#pragma once
// A Tools collection of the toolbar control. The control-wide one holds tool
// definitions keyed by ID (without case); a toolbar's or a menu's holds
// entries that refer to definitions by ID, plus separators (type 8), in
// order. Item of a missing key raises error 5, of a bad index error 9.

#include "platform/toolbar/ToolState.h"

#include <QHash>

#include <memory>
#include <optional>
#include <vector>

namespace toolbar {

class Toolbar;

class Tools final : public ModelObject {
public:
    enum class Kind { Definitions, Entries };
    static std::shared_ptr<Tools> create(Kind kind, Link link);
    QString className() const override { return QStringLiteral("Tools"); }
    Kind kind() const { return m_kind; }

    // Definitions: a new tool of that ID and type (default 0).
    // Entries: an entry of the defined tool of that ID, or with type 8 a
    // separator. index: the 1-based position it takes (default: the end).
    std::shared_ptr<Tool> Add(const QString& id, std::optional<int16_t> type = std::nullopt,
                              std::optional<int32_t> index = std::nullopt);
    // By 1-based position (a number) or by ID (a text, without case; in a
    // toolbar or menu the first entry of that tool).
    std::shared_ptr<Tool> Item(const rt::Variant& indexOrKey) const;
    std::shared_ptr<Tool> Item(const QString& id) const;
    std::shared_ptr<Tool> Item(int32_t index) const;
    std::shared_ptr<Tool> find(const QString& id) const;   // null, no error
    void Remove(const rt::Variant& indexOrKey);
    int32_t Count() const { return int32_t(m_items.size()); }
    void Clear();

    // Iteration hands out the tools' late-bound objects, in order, over the
    // list as it was when the loop began: a loop that adds (a separator
    // before each tool, say) visits every tool that was there exactly once.
    using States = std::vector<std::shared_ptr<ToolState>>;
    class const_iterator {
    public:
        const_iterator(std::shared_ptr<const States> snapshot, size_t pos)
            : m_snapshot(std::move(snapshot)), m_pos(pos)
        {
        }
        std::shared_ptr<Tool> operator*() const { return Tool::of((*m_snapshot)[m_pos]); }
        const_iterator& operator++()
        {
            ++m_pos;
            return *this;
        }
        bool operator==(const const_iterator& o) const { return m_pos == o.m_pos; }

    private:
        std::shared_ptr<const States> m_snapshot;   // null in end()
        size_t m_pos;
    };
    const_iterator begin() const
    {
        return const_iterator(std::make_shared<const States>(m_items), 0);
    }
    const_iterator end() const { return const_iterator(nullptr, m_items.size()); }
    // The tools' data, for work inside the control that needs no objects.
    const States& states() const { return m_items; }
    int32_t indexOf(const ToolState* tool) const;   // 1-based, 0 when absent

    // Add without making the late-bound object (loading uses it).
    std::shared_ptr<ToolState> addState(const QString& id,
                                        std::optional<int16_t> type = std::nullopt,
                                        std::optional<int32_t> index = std::nullopt);

    std::shared_ptr<Toolbar> ownerToolbar() const { return m_toolbar.lock(); }
    // The menu tool whose Menu.Tools this is; null otherwise.
    std::shared_ptr<ToolState> ownerMenuTool() const { return m_menuTool.lock(); }

    // Entries: whether Add would take an entry of that definition (a tool is
    // in a list once, and a menu never inside itself).
    bool canHold(const ToolState& definition) const;
    // Entries: puts an entry of this or another list at the 1-based index
    // (past the end appends) with its own look. A move raises change 5 where
    // it was, then 4 here (nothing when it stays where it is); with copy a
    // new entry of the same look is added and the original stays. Refused as
    // Add refuses. Returns the entry now at that place.
    std::shared_ptr<Tool> placeEntry(const std::shared_ptr<ToolState>& entry, int32_t index,
                                     bool copy);

private:
    friend class Tool;
    friend class Toolbar;
    friend class MqZentribar;
    Tools(Kind kind, Link link);
    void publish();
    std::shared_ptr<ToolState> findState(const QString& id) const;
    void insert(const std::shared_ptr<ToolState>& tool, std::optional<int32_t> index);
    void removeAt(size_t pos);
    void rekey(const ToolState& tool, const QString& newId);   // definitions
    // Removes the entries of a definition from this list; true when any went.
    bool removeEntriesOf(const ToolState* definition);
    enum class Refusal { None, Duplicate, Cycle };
    Refusal refusalFor(const ToolState& definition) const;
    [[noreturn]] void refuseEntry(Refusal why, const ToolState& definition) const;

    Kind m_kind;
    Link m_link;
    States m_items;
    QHash<QString, std::shared_ptr<ToolState>> m_byId;   // definitions: case-folded ID
    std::weak_ptr<Toolbar> m_toolbar;
    std::weak_ptr<ToolState> m_menuTool;
};

}  // namespace toolbar
