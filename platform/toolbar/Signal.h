#pragma once
// A small multi-subscriber event: handlers are std::function callbacks that
// can be disconnected, also from inside a handler while the event runs.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace toolbar {

template <class... Args>
class Signal {
public:
    using Handler = std::function<void(Args...)>;

    // Returns an id for disconnect(); ids are never reused.
    int32_t connect(Handler handler)
    {
        auto slot = std::make_shared<Slot>(Slot{++m_lastId, std::move(handler)});
        m_slots.push_back(std::move(slot));
        return m_lastId;
    }

    bool disconnect(int32_t id)
    {
        for (auto it = m_slots.begin(); it != m_slots.end(); ++it) {
            if ((*it)->id == id) {
                (*it)->handler = nullptr;   // a running emit() skips it from now on
                m_slots.erase(it);
                return true;
            }
        }
        return false;
    }

    void disconnectAll()
    {
        for (auto& s : m_slots)
            s->handler = nullptr;
        m_slots.clear();
    }

    int32_t count() const { return int32_t(m_slots.size()); }

    // Handlers connected during the emission wait for the next one. An error
    // a handler throws reaches whoever made the change (the control's widget
    // catches it, so it never crosses Qt's event loop).
    void emit(Args... args) const
    {
        const auto snapshot = m_slots;
        for (const auto& s : snapshot) {
            if (!s->handler)
                continue;
            const Handler handler = s->handler;   // survives a disconnect from inside
            handler(args...);
        }
    }

private:
    struct Slot {
        int32_t id;
        Handler handler;
    };
    std::vector<std::shared_ptr<Slot>> m_slots;
    int32_t m_lastId = 0;
};

}  // namespace toolbar
