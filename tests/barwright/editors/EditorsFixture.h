#pragma once
// The property editors under test: a working copy and panel lists of the
// test's own, handed to the dialogs through their link functions, and the
// form runtime's hooks playing the developer.

#include "barwright/editors/EditorLinks.h"
#include "platform/forms/Form.h"
#include "platform/forms/Testing.h"
#include "platform/toolbar/MqZentribar.h"

#include <QWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

class EditorsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        forms::testing::enable();
        categories.Add(rt::Variant(QStringLiteral("General")), QStringLiteral("GENERAL"));
        editors::setWorkingCopySource([this] { return control; });
        editors::setPanelLists(&categories, &groups);
    }
    void TearDown() override
    {
        for (forms::Form* f : forms::Form::loadedForms())
            f->Unload();
        editors::setWorkingCopySource({});
        editors::setPanelLists(nullptr, nullptr);
        EXPECT_THAT(forms::testing::takeFailures(), ::testing::IsEmpty());
    }

    // Shows the dialog modally with `play` as the developer.
    template <class Dialog>
    static void runModal(Dialog& dialog, std::function<void(Dialog&)> play)
    {
        forms::testing::answerNextModal<Dialog>(std::move(play));
        dialog.Show(forms::vbModal);
    }

    // The control the dialog's window gives the focus to (offscreen windows
    // are never active, so the application has no focus widget).
    static bool focused(forms::Control& control)
    {
        QWidget* w = control.widget();
        return w && w->window()->focusWidget() == w;
    }

    static QStringList shownTexts()
    {
        QStringList texts;
        for (const auto& box : forms::testing::shownMsgBoxes())
            texts << box.text;
        return texts;
    }

    std::shared_ptr<toolbar::MqZentribar> control = std::make_shared<toolbar::MqZentribar>();
    rt::Collection categories;
    rt::Collection groups;
};
