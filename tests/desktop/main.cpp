// The desktop tests drive the real programs on private X servers; the test
// process itself needs no display.
#include <QCoreApplication>
#include <gmock/gmock.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
