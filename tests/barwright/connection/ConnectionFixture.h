#pragma once
// A fresh registry store and answered message boxes for each test, and small
// late-bound stand-ins for the client control and its collections.

#include "barwright/connection/mGlobals.h"
#include "platform/automation/Dispatch.h"
#include "platform/forms/Testing.h"
#include "platform/system/Registry.h"

#include <QTemporaryDir>
#include <gmock/gmock.h>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// A late-bound object whose members a test defines on the spot.
class FakeObject final : public com::Dispatch {
public:
    using com::Dispatch::defineMethod;
    using com::Dispatch::defineProperty;
    static std::shared_ptr<FakeObject> make() { return std::make_shared<FakeObject>(); }
};

class ConnectionFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        storeFile = dir.filePath(QStringLiteral("registry.json"));
        m_saved = qEnvironmentVariable("BW_REGISTRY_FILE");
        qputenv("BW_REGISTRY_FILE", storeFile.toUtf8());
        restartStore();
        forms::testing::enable();
    }
    void TearDown() override
    {
        EXPECT_THAT(forms::testing::takeFailures(), ::testing::IsEmpty());
        qputenv("BW_REGISTRY_FILE", m_saved.toUtf8());
        restartStore();
    }
    // As a new process would find the store (the open settings key goes too).
    static void restartStore()
    {
        mGlobals::gRegBaseKey.reset();
        sys::testing::reloadRegistry();
    }

    QTemporaryDir dir;
    QString storeFile;

private:
    QString m_saved;
};
