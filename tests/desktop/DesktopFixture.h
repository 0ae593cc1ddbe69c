#pragma once
// A fresh desktop per test, and what the tests read back: the settings store
// a program wrote, a window's pixels.

#include "Desktop.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <memory>

namespace desktop {

// How long a window may take to appear (sanitizer builds start slowly) and
// how soon a program must end once its last window went (a sanitizer build
// checks the whole heap for leaks on its way out; a busy machine is slow).
constexpr int kAppear = kPatience;
constexpr int kEnd = kPatience;

// Every printable ASCII character, and the letters the desktop's keyboard has
// besides (Desktop::kLetters) with their upper-case forms.
inline QString printableText()
{
    QString s;
    for (char16_t c = 32; c < 127; ++c)
        s += QChar(c);
    return s + Desktop::kLetters + Desktop::kLetters.toUpper();
}

// A value of the JSON settings store (the registry stand-in's file): the
// root's keys by name down the path, then the named value's text.
inline QString storedValue(const QString& storeFile, const QStringList& keyPath,
                           const QString& valueName, const QString& root = "HKEY_CURRENT_USER")
{
    QFile f(storeFile);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("<no store>");
    QJsonObject key = QJsonDocument::fromJson(f.readAll())["roots"][root].toObject();
    for (const QString& name : keyPath) {
        QJsonObject next;
        for (const QJsonValue sub : key["keys"].toArray())
            if (sub["name"].toString().compare(name, Qt::CaseInsensitive) == 0)
                next = sub.toObject();
        if (next.isEmpty())
            return QStringLiteral("<no key %1>").arg(name);
        key = next;
    }
    for (const QJsonValue v : key["values"].toArray())
        if (v["name"].toString().compare(valueName, Qt::CaseInsensitive) == 0)
            return v["text"].toString();
    return QStringLiteral("<no value %1>").arg(valueName);
}

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        d = std::make_unique<Desktop>();
        if (!d->ok() && d->error().contains(QStringLiteral("not installed")))
            GTEST_SKIP() << d->error().toStdString();
        ASSERT_TRUE(d->ok()) << d->error().toStdString();
    }
    void TearDown() override { d.reset(); }

    // Starts a program and waits for its window; the window is active.
    WindowId launch(const QString& program, const QStringList& args, const QString& title,
                    QProcess** process = nullptr)
    {
        QProcess& p = d->start(program, args);
        if (process)
            *process = &p;
        return appeared(title);
    }
    // Waits for a window to show and paint, then makes it active.
    WindowId appeared(const QString& title, int timeoutMs = kAppear)
    {
        const WindowId w = d->waitForWindow(title, timeoutMs);
        if (w) {
            d->waitForPainted(w, kAppear);
            d->activate(w);
        }
        return w;
    }
    QString storePath() const { return d->path(QStringLiteral("registry.json")); }
    // A writable copy of the example configuration in this test's folder;
    // empty when it could not be made.
    QString copyOfSample() const
    {
        const QString file = d->path(QStringLiteral("sample.qrv"));
        if (!QFile::copy(QStringLiteral(BW_SOURCE_DIR "/examples/sample.qrv"), file))
            return {};
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        return file;
    }
    // The program ends, by itself and well, within kEnd.
    static void expectEndsSoon(QProcess& process)
    {
        ASSERT_TRUE(Desktop::waitForExit(process, kEnd)) << "still running";
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
    }

    std::unique_ptr<Desktop> d;
};

// The point at x (client pixels) in the middle of the first run of at least
// minRun white rows below fromY: where a text box sits in a window's picture.
inline QPoint whiteBoxAt(const QImage& shot, int x, int fromY, int minRun = 12)
{
    int run = 0;
    for (int y = fromY; y < shot.height(); ++y) {
        const QRgb p = shot.pixel(x, y);
        if (qRed(p) > 245 && qGreen(p) > 245 && qBlue(p) > 245) {
            if (++run == minRun)
                return QPoint(x, y - minRun / 2);
        } else {
            run = 0;
        }
    }
    return {-1, -1};
}

}  // namespace desktop
