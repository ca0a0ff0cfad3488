#include <QCoreApplication>

#include <gtest/gtest.h>

// Local sockets deliver through the event loop, which needs an application object.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
