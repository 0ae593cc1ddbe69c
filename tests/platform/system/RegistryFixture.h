#pragma once
// A fresh registry store file per test, as if the process had just started.

#include "platform/system/Registry.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

class RegistryFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        storeFile = dir.filePath(QStringLiteral("registry.json"));
        m_saved = qEnvironmentVariable("BW_REGISTRY_FILE");
        qputenv("BW_REGISTRY_FILE", storeFile.toUtf8());
        sys::testing::reloadRegistry();
    }
    void TearDown() override
    {
        qputenv("BW_REGISTRY_FILE", m_saved.toUtf8());
        sys::testing::reloadRegistry();
    }

    QTemporaryDir dir;
    QString storeFile;

private:
    QString m_saved;
};
