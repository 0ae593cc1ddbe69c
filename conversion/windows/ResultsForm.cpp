#include "conversion/windows/ResultsForm.h"

#include "conversion/windows/Centre.h"
#include "conversion/windows/MainForm.h"
#include "platform/runtime/Error.h"

#include <algorithm>
#include <vector>

ResultsForm::ResultsForm()
{
    cmdOK.Click = [this] { cmdOK_Click(); };
}

void ResultsForm::Form_Design()
{
    setCaption(QStringLiteral("Converted Files"));
    setDesignSize(6300, 3600);
    List1.Move(120, 120, 6060, 2760);
    cmdOK.setCaption(QStringLiteral("OK"));
    cmdOK.setDefault(true);
    cmdOK.setCancel(true);
    cmdOK.Move(2520, 3030, 1260, 375);
}

void ResultsForm::Form_Load()
{
    CentreOnScreen(*this);
    MainForm& main = forms::instance<MainForm>();
    try {
        for (const rt::Variant& index : main.cConverted)
            List1.AddItem(main.List1.List(index.toLong()));
    } catch (const rt::Error&) {
        Unload();
    }
}

void ResultsForm::cmdOK_Click()
{
    MainForm& main = forms::instance<MainForm>();
    try {
        // Highest index first, each once: the same project converted twice
        // (results closed without OK in between) must not take a neighbour
        // off the list with it.
        std::vector<int32_t> indexes;
        for (const rt::Variant& index : main.cConverted)
            indexes.push_back(index.toLong());
        std::sort(indexes.begin(), indexes.end(), std::greater<>());
        indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
        for (int32_t index : indexes) {
            if (index >= 0 && index < main.List1.ListCount())
                main.List1.RemoveItem(index);
        }
        main.cConverted.clear();
    } catch (const rt::Error&) {
        // Errors close the window.
    }
    Unload();
}
