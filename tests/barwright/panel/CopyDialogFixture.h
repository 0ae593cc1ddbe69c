#pragma once
// Copying out of configuration files: a source control saved to a temporary
// .qrv file, a working copy standing in for the preview's, and the answers a
// user gives the copy dialogs and their replace questions.

#include "barwright/panel/CopyDestination.h"
#include "barwright/panel/frmLoadToolConflict.h"
#include "barwright/panel/frmLoadToolbarConflict.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Testing.h"
#include "platform/toolbar/MqZentribar.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

class CopyDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        forms::testing::enable();
        ASSERT_TRUE(m_dir.isValid());
        CopyDestination::setWorkingCopy(com::Object(wc));
    }
    void TearDown() override
    {
        for (forms::Form* f : forms::Form::loadedForms())
            f->Unload();
        CopyDestination::setWorkingCopy({});
        EXPECT_THAT(forms::testing::takeFailures(), ::testing::IsEmpty());
    }

    // A definition of that ID with a category and description that tell
    // the two controls apart.
    static std::shared_ptr<toolbar::Tool> addTool(toolbar::MqZentribar& c, const QString& id,
                                                  const QString& origin, int16_t type = 0)
    {
        auto t = c.tools()->Add(id, type);
        t->setCategory(origin);
        t->setDescription(origin + u' ' + id);
        return t;
    }
    static QString categoryOf(toolbar::MqZentribar& c, const QString& id)
    {
        const auto t = c.tools()->find(id);
        return t ? t->Category() : QStringLiteral("<missing>");
    }
    // Entries of a toolbar as IDs, "|" for a separator.
    static QStringList entriesOf(toolbar::MqZentribar& c, const QString& bar)
    {
        QStringList out;
        if (const auto b = c.toolbars()->find(bar))
            for (const auto& t : *b->tools())
                out << (t->Type() == toolbar::mqSeparator ? QStringLiteral("|") : t->ID());
        return out;
    }

    QString saveSource(const QString& name = QStringLiteral("source.qrv"))
    {
        const QString path = m_dir.filePath(name);
        source.SaveConfiguration(path);
        return path;
    }
    QString tempPath(const QString& name) const { return m_dir.filePath(name); }

    // The next tool question gets this answer (1 to 5); Cancel is confirmed.
    // seen, when given, receives the question's text.
    static void answerTool(int32_t code, QString* seen = nullptr)
    {
        forms::testing::answerNextModal<frmLoadToolConflict>([code, seen](frmLoadToolConflict& d) {
            if (seen)
                *seen = d.lbMain.Caption();
            forms::CommandButton* b[] = {&d.cmdYes, &d.cmdYesAll, &d.CmdNo, &d.cmdNoAll,
                                         &d.cmdCxl};
            if (code == 5)
                forms::testing::answerNextMsgBox(forms::vbYes);
            b[code - 1]->click();
        });
    }
    static void answerToolbar(int32_t code)
    {
        forms::testing::answerNextModal<frmLoadToolbarConflict>([code](frmLoadToolbarConflict& d) {
            forms::CommandButton* b[] = {&d.cmdYes, &d.cmdYesAll, &d.CmdNo, &d.cmdNoAll,
                                         &d.cmdCxl};
            b[code - 1]->click();
        });
    }

    std::shared_ptr<toolbar::MqZentribar> wc = std::make_shared<toolbar::MqZentribar>();
    toolbar::MqZentribar source;

private:
    QTemporaryDir m_dir;
};
