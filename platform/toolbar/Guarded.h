#pragma once
// What the developer does on screen reaches handlers of the control's
// events; their errors must not escape into Qt's event loop.

#include "platform/runtime/Error.h"

#include <QLoggingCategory>

#include <exception>

namespace toolbar {

Q_DECLARE_LOGGING_CATEGORY(lcToolbarView)

template <class F>
void guarded(F&& action)
{
    try {
        action();
    } catch (const rt::Error& e) {
        qCWarning(lcToolbarView) << "toolbar event failed:" << e.description();
    } catch (const std::exception& e) {
        qCWarning(lcToolbarView) << "toolbar event failed:" << e.what();
    }
}

}  // namespace toolbar
