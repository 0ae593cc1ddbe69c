#pragma once
// The 1-based Collection of the original runtime: items in insertion order,
// optional keys compared without case. Item of a missing key raises error 5,
// a bad index error 9, a duplicate key error 457.

#include "platform/runtime/Variant.h"

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace rt {

class Collection {
public:
    struct Entry {
        Variant value;
        QString key;     // as given; empty when added without key
        bool hasKey = false;
    };

    // Adds at the end, or before / after the item named by index or key.
    void Add(const Variant& item, const std::optional<QString>& key = std::nullopt,
             const std::optional<Variant>& before = std::nullopt,
             const std::optional<Variant>& after = std::nullopt);
    const Variant& Item(int32_t index) const;
    const Variant& Item(const QString& key) const;
    const Variant& Item(const Variant& indexOrKey) const;
    void Remove(int32_t index);
    void Remove(const QString& key);
    void Remove(const Variant& indexOrKey);
    int32_t Count() const { return int32_t(m_items.size()); }
    bool contains(const QString& key) const;   // no error raised
    void clear();

    // In-order iteration over the values.
    class const_iterator {
    public:
        using Inner = std::vector<Entry>::const_iterator;
        explicit const_iterator(Inner it) : m_it(it) {}
        const Variant& operator*() const { return m_it->value; }
        const Variant* operator->() const { return &m_it->value; }
        const_iterator& operator++() { ++m_it; return *this; }
        bool operator==(const const_iterator& o) const { return m_it == o.m_it; }
    private:
        Inner m_it;
    };
    const_iterator begin() const { return const_iterator(m_items.cbegin()); }
    const_iterator end() const { return const_iterator(m_items.cend()); }
    const std::vector<Entry>& entries() const { return m_items; }

private:
    static QString fold(const QString& key) { return key.toCaseFolded(); }
    int32_t indexOf(const Variant& indexOrKey) const;   // 0-based, raises
    void reindexFrom(size_t from);

    std::vector<Entry> m_items;
    QHash<QString, size_t> m_keys;   // folded key -> 0-based position
};

}  // namespace rt
