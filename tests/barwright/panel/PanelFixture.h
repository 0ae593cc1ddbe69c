#pragma once
// The control panel under test: the barwright program's client host started
// on a copy of the sample configuration, with the form runtime's test hooks.

#include "barwright/panel/ProgramHost.h"
#include "barwright/panel/frmCtlPanel.h"
#include "barwright/panel/frmPreview.h"
#include "platform/forms/Testing.h"

#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        forms::testing::enable();
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override
    {
        for (forms::Form* f : forms::Form::loadedForms())
            f->Unload();
        m_host.reset();
        EXPECT_THAT(forms::testing::takeFailures(), ::testing::IsEmpty());
    }

    QString sampleCopy(const QString& name = QStringLiteral("config.qrv"))
    {
        const QString path = m_dir.filePath(name);
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(QStringLiteral(BW_SOURCE_DIR "/examples/sample.qrv"), path));
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }
    QString tempPath(const QString& name) const { return m_dir.filePath(name); }

    ProgramHost& start(const QString& file)
    {
        m_host = std::make_unique<ProgramHost>(file);
        m_host->start();
        return *m_host;
    }
    ProgramHost& host() { return *m_host; }
    static frmCtlPanel& panel() { return frmCtlPanel::get(); }
    static toolbar::MqZentribar& workingCopy()
    {
        return *frmPreview::get().tbarPreview.control();
    }
    static QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ProgramHost> m_host;
};
