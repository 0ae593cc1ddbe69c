#pragma once
// The common dialog control: file open and save, colour, and help.
// Cancel raises error 32755 when CancelError is set. In a test the file and
// colour dialogs take the answers queued in forms::testing.
//
// Help files are plain UTF-8 text. A line "[<context id>] <title>" opens a
// topic; the lines up to the next such line are its body (blank lines make
// paragraphs). Lines before the first topic, and lines starting with ";",
// are ignored. ShowHelp with HelpCommand 1 (context) shows the topic of
// HelpContext, 3 or 11 (contents/finder) the list of topics, 2 closes the
// help window. A missing file or topic shows a line saying so.

#include "platform/forms/Control.h"

namespace forms {

// Flags
inline constexpr int32_t cdlOFNReadOnly = 0x1;
inline constexpr int32_t cdlOFNOverwritePrompt = 0x2;
inline constexpr int32_t cdlOFNHideReadOnly = 0x4;
inline constexpr int32_t cdlOFNPathMustExist = 0x800;
inline constexpr int32_t cdlOFNFileMustExist = 0x1000;
inline constexpr int32_t cdlCCRGBInit = 0x1;
// Help commands
inline constexpr int32_t cdlHelpContext = 1;
inline constexpr int32_t cdlHelpQuit = 2;
inline constexpr int32_t cdlHelpIndex = 3;
inline constexpr int32_t cdlHelpFinder = 11;

class CommonDialog final : public Control {
public:
    using Control::Control;

    QString FileName;
    QString FileTitle;
    QString Filter;        // "Description|*.ext|Description|*.a;*.b"
    int16_t FilterIndex = 1;
    QString InitDir;
    QString DialogTitle;
    QString DefaultExt;
    int32_t Flags = 0;
    bool CancelError = false;
    int32_t Color = 0;
    QString HelpFile;
    int32_t HelpCommand = 0;
    int32_t HelpContext = 0;

    void ShowOpen();
    void ShowSave();
    void ShowColor();
    void ShowHelp();

protected:
    QWidget* createWidget(QWidget*) override { return nullptr; }
    void resetState() override;

private:
    void showFile(bool save);
    void cancelled();
};

namespace detail {
// The filter list a file dialog shows for Filter: "Description (patterns)"
// each, the pattern once also where the description holds it already.
QStringList fileDialogFilters(const QString& filter);
}  // namespace detail

// The help window of the runtime (one per process); used by ShowHelp and F1.
namespace help {
struct Topic {
    int32_t id = 0;
    QString title;
    QString body;
};
// Reads a help file; error 53 when it is missing.
std::vector<Topic> readHelpFile(const QString& path);
// Shows a topic (or the contents for id < 0); returns the title shown.
QString show(const QString& path, int32_t contextId);
void close();
// A help command as ShowHelp runs it (in a test: recorded, not shown).
void run(const QString& path, int32_t command, int32_t contextId);
}  // namespace help

}  // namespace forms
