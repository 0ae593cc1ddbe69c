#pragma once
// A program's command line, read before any window exists, so that --help and
// a wrong argument are answered on the terminal even without a display. Qt's
// own options (-platform NAME, -display NAME, -style NAME, ...) pass through
// to the application object.

#include <QStringList>

namespace forms {

struct CommandLine {
    int exitStatus = -1;   // >= 0: answered; end with this status
    QStringList files;     // the positional arguments
};

// `usage` is printed for --help, -h or -?; more than `maxFiles` positional
// arguments, or an option the program does not know, is an error (status 2).
CommandLine readCommandLine(int argc, char** argv, const char* usage, int maxFiles);

}  // namespace forms
