#pragma once
// The App object of the original runtime and DoEvents.

#include <QString>

#include <cstdint>

namespace forms {

class App {
public:
    // The application title: set by the program; default the executable name.
    static QString Title();
    static void setTitle(const QString& title);
    // The folder of the executable, without a trailing "/".
    static QString Path();
    // The executable's file name without extension.
    static QString EXEName();
    // The help file of the application ("" when none).
    static QString HelpFile();
    static void setHelpFile(const QString& path);
    // True when another instance of this program was running at start
    // (decided by markPrevInstance; false otherwise).
    static bool PrevInstance();
    static void setPrevInstance(bool on);
    // Runs the program until its last loaded form unloads (at once when none
    // is loaded); returns the exit status.
    static int run();
    static int32_t Major() { return 1; }
    static int32_t Minor() { return 0; }
    static int32_t Revision() { return 0; }
};

namespace detail {
// The last loaded form has unloaded: ends a running program (App::run).
void lastFormUnloaded();
}  // namespace detail

// Lets pending window messages (timers, paints, input) run; returns the
// number of open forms.
int16_t DoEvents();

}  // namespace forms
