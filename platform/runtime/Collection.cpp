#include "platform/runtime/Collection.h"

#include "platform/runtime/Error.h"

namespace rt {

int32_t Collection::indexOf(const Variant& indexOrKey) const
{
    if (indexOrKey.isString()) {
        const auto it = m_keys.constFind(fold(indexOrKey.toString()));
        if (it == m_keys.cend())
            raise(errc::InvalidCall);
        return int32_t(*it);
    }
    if (!indexOrKey.isNumeric())
        raise(errc::TypeMismatch);
    const int32_t index = indexOrKey.toLong();
    if (index < 1 || index > Count())
        raise(errc::SubscriptOutOfRange);
    return index - 1;
}

void Collection::reindexFrom(size_t from)
{
    for (size_t i = from; i < m_items.size(); ++i)
        if (m_items[i].hasKey)
            m_keys[fold(m_items[i].key)] = i;
}

void Collection::Add(const Variant& item, const std::optional<QString>& key,
                     const std::optional<Variant>& before, const std::optional<Variant>& after)
{
    if (before && after)
        raise(errc::InvalidCall);
    if (key && m_keys.contains(fold(*key)))
        raise(errc::DuplicateKey);
    size_t at = m_items.size();
    if (before)
        at = size_t(indexOf(*before));
    else if (after)
        at = size_t(indexOf(*after)) + 1;
    Entry entry{item, key.value_or(QString()), key.has_value()};
    m_items.insert(m_items.begin() + qsizetype(at), std::move(entry));
    if (key)
        m_keys.insert(fold(*key), at);
    if (at + 1 < m_items.size())
        reindexFrom(at + 1);
}

const Variant& Collection::Item(int32_t index) const
{
    return m_items[size_t(indexOf(Variant(index)))].value;
}

const Variant& Collection::Item(const QString& key) const
{
    return m_items[size_t(indexOf(Variant(key)))].value;
}

const Variant& Collection::Item(const Variant& indexOrKey) const
{
    return m_items[size_t(indexOf(indexOrKey))].value;
}

void Collection::Remove(const Variant& indexOrKey)
{
    const size_t at = size_t(indexOf(indexOrKey));
    if (m_items[at].hasKey)
        m_keys.remove(fold(m_items[at].key));
    m_items.erase(m_items.begin() + qsizetype(at));
    reindexFrom(at);
}

void Collection::Remove(int32_t index)
{
    Remove(Variant(index));
}

void Collection::Remove(const QString& key)
{
    Remove(Variant(key));
}

bool Collection::contains(const QString& key) const
{
    return m_keys.contains(fold(key));
}

void Collection::clear()
{
    m_items.clear();
    m_keys.clear();
}

}  // namespace rt
