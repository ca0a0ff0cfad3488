#include <QCoreApplication>

#include <gtest/gtest.h>

// The waits run Qt event loops, and the test's own servers need one too.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
