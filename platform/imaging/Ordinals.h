#pragma once
// Binding by ordinal: each stand-in kernel exports one symbol, a getter of its
// ordinal table, and every other operation is reached through a number.
// Shared by the kernels, the filter and the 32-bit host and tests.

#include <cstdint>

#if defined(__i386__)
#define BW_STDCALL __attribute__((stdcall))
#else
#define BW_STDCALL
#endif
#define BW_EXPORT __attribute__((visibility("default")))

namespace imaging {

using Proc = void(BW_STDCALL*)();

struct OrdinalEntry {
    uint16_t ordinal;
    Proc proc;
};

struct OrdinalTable {
    uint32_t count;
    const OrdinalEntry* entries;  // sorted by ordinal
};

using TableGetter = const OrdinalTable*(BW_STDCALL*)();

// The procedure of `ordinal`, or null when the table has none.
inline Proc procByOrdinal(const OrdinalTable* table, uint16_t ordinal)
{
    if (!table)
        return nullptr;
    for (uint32_t i = 0; i < table->count; ++i) {
        if (table->entries[i].ordinal == ordinal)
            return table->entries[i].proc;
    }
    return nullptr;
}

// Typed look-up: `bind(table, 190, read)` fills `read` and reports success.
template <typename F>
bool bind(const OrdinalTable* table, uint16_t ordinal, F& out)
{
    Proc p = procByOrdinal(table, ordinal);
    out = reinterpret_cast<F>(p);
    return p != nullptr;
}

template <typename F>
OrdinalEntry entry(uint16_t ordinal, F f)
{
    return OrdinalEntry{ordinal, reinterpret_cast<Proc>(f)};
}

}  // namespace imaging
