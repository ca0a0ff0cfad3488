#include <QCoreApplication>

#include <gtest/gtest.h>

// The Qt timers need an application object for their event loops.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
