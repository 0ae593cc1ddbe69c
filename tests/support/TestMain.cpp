// Every test executable runs on Qt's offscreen platform with a private,
// throw-away settings store, so tests never touch the developer's own files.
#include <QApplication>
#include <QTemporaryDir>
#include <gmock/gmock.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir home;
    setenv("BW_REGISTRY_FILE", qPrintable(home.filePath("registry.json")), 1);
    setenv("XDG_CONFIG_HOME", qPrintable(home.path()), 1);
    QApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
