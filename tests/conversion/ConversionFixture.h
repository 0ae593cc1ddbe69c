#pragma once
// A fresh copy of the sample project tree per test, the form runtime's test
// hooks, and no saved settings.

#include "conversion/windows/MainForm.h"
#include "platform/forms/Testing.h"
#include "tests/support/FileBytes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gmock/gmock.h>

class ConversionWindow : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static MainForm& main() { return forms::instance<MainForm>(); }
    QString root() const { return m_dir.path() + QStringLiteral("/Projects"); }
    QString at(const QString& relative) const { return root() + u'/' + relative; }
    // Chooses a conversion, the folders and the subfolder box, then Find.
    void find(int row, const QString& folders, bool subFolders = true);
    QStringList listed();
    QStringList checked();

    QTemporaryDir m_dir;
};

void writeAll(const QString& path, const QByteArray& bytes);

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
