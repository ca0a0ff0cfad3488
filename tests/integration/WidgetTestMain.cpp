#include <QApplication>

#include <gtest/gtest.h>

// The windows need a QApplication; without a display they are drawn offscreen, which also lets the
// test list be read where no screen exists.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
