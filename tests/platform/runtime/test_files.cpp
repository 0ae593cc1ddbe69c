// Opening files for reading: regular files only, decided on the opened file.
#include "platform/runtime/Files.h"
#include "tests/support/FifoWatch.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(OpenRegularFile, OpensFilesAndSaysWhyItRefusesTheRest)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.txt"));
    {
        QFile f(plain);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("content");
    }
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    ASSERT_TRUE(bwtest::makeFifo(pipe.toStdString()));
    bwtest::FifoWatch watch(pipe.toStdString());

    QString error;
    QFile file(plain);
    ASSERT_TRUE(rt::openRegularFile(file, error));
    EXPECT_EQ(file.readAll(), "content");   // blocking reads again after the check

    // A missing file gets the system's own words (in the user's language).
    const struct {
        QString path;
        const char* says;
    } refused[] = {{pipe, "it is not a regular file"},
                   {dir.path(), "it is a folder"},
                   {dir.filePath(QStringLiteral("missing")), nullptr},
                   {QString(), nullptr}};
    for (const auto& r : refused) {
        SCOPED_TRACE(r.path.toStdString());
        QFile f(r.path);
        error.clear();
        EXPECT_FALSE(rt::openRegularFile(f, error));
        if (r.says)
            EXPECT_EQ(error, QLatin1String(r.says));
        else
            EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(f.isOpen());
    }
    EXPECT_FALSE(watch.released()) << "opening the pipe blocked";
}
