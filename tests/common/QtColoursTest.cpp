#include "common/QtColours.h"

#include <gtest/gtest.h>

namespace quorx {
namespace {

TEST(QtColoursTest, WindowsColourValuesMapToQColorChannels)
{
    EXPECT_EQ(ToQColor(0x0000FFu), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(0x563412u), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(ToQColor(0xFF00001Cu), QColor(215, 228, 242));
    EXPECT_EQ(FromQColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    EXPECT_EQ(FromQColor(QColor::fromHsv(0, 255, 255)), 0x0000FFu);
    for (const quint32 c : {0u, 0xFFFFFFu, 15529196u, 14471111u, 10841401u})
        EXPECT_EQ(FromQColor(ToQColor(c)), c);
}

} // namespace
} // namespace quorx
