#include "common/Colours.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quorx {
namespace {

int ChannelError(quint32 a, quint32 b)
{
    return std::max(
        {std::abs(RedOf(a) - RedOf(b)), std::abs(GreenOf(a) - GreenOf(b)), std::abs(BlueOf(a) - BlueOf(b))});
}

TEST(ColoursTest, SystemColoursResolveAndPlainColoursStay)
{
    EXPECT_EQ(ResolveColour(0xFF00001Cu), 0xF2E4D7u); // RGB(215,228,242)
    EXPECT_EQ(ResolveColour(0xFF00000Fu), MakeColour(240, 240, 240));
    EXPECT_EQ(ResolveColour(0xFF000005u), MakeColour(255, 255, 255));
    EXPECT_EQ(ResolveColour(0xFF0000FFu), 0u);
    EXPECT_EQ(ResolveColour(0x00123456u), 0x00123456u);
    EXPECT_EQ(ResolveColour(15529196u), 15529196u);
    EXPECT_EQ(MakeColour(255, 0, 0), 0x0000FFu);
    EXPECT_EQ(BlueOf(0xF2E4D7u), 242);
}

TEST(ColoursTest, RgbToHlsGivesWindowsValues)
{
    const struct
    {
        int r, g, b;
        Hls hls;
    } cases[] = {
        {255, 0, 0, {0, 120, 240}},     {0, 255, 0, {80, 120, 240}},      {0, 0, 255, {160, 120, 240}},
        {0, 0, 128, {160, 60, 240}},    {0, 128, 128, {120, 60, 240}},    {255, 0, 255, {200, 120, 240}},
        {255, 255, 255, {160, 240, 0}}, {0, 0, 0, {160, 0, 0}},           {128, 128, 128, {160, 120, 0}},
        {192, 192, 192, {160, 181, 0}}, {215, 228, 242, {141, 215, 122}}, {57, 109, 165, {141, 104, 117}},
        {236, 244, 236, {80, 226, 64}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.r << "," << c.g << "," << c.b);
        const Hls hls = ColorToHls(MakeColour(c.r, c.g, c.b));
        EXPECT_EQ(hls.hue, c.hls.hue);
        EXPECT_EQ(hls.luminance, c.hls.luminance);
        EXPECT_EQ(hls.saturation, c.hls.saturation);
    }
    // A system colour is taken by its value on screen.
    EXPECT_EQ(ColorToHls(0xFF00001Cu).luminance, 215);
}

TEST(ColoursTest, HlsToRgbGivesWindowsValues)
{
    EXPECT_EQ(HlsToColor(0, 120, 240), MakeColour(255, 0, 0));
    EXPECT_EQ(HlsToColor(160, 60, 240), MakeColour(0, 0, 128));
    EXPECT_EQ(HlsToColor(80, 120, 240), MakeColour(0, 255, 0));
    EXPECT_EQ(HlsToColor(160, 240, 0), MakeColour(255, 255, 255));
    EXPECT_EQ(HlsToColor(160, 120, 0), MakeColour(127, 127, 127));
    EXPECT_EQ(HlsToColor(0, 160, 240), MakeColour(255, 85, 85));
    // Out of range: the hue turns round, luminance and saturation are clamped.
    EXPECT_EQ(HlsToColor(240 + 80, 120, 240), HlsToColor(80, 120, 240));
    EXPECT_EQ(HlsToColor(-80, 120, 240), HlsToColor(160, 120, 240));
    EXPECT_EQ(HlsToColor(0, 300, 240), MakeColour(255, 255, 255));
    EXPECT_EQ(HlsToColor(0, -5, 240), MakeColour(0, 0, 0));
    EXPECT_EQ(HlsToColor(0, 120, 999), MakeColour(255, 0, 0));
}

TEST(ColoursTest, RoundTripsStayCloseToTheColour)
{
    std::vector<quint32> colours;
    for (int grey = 0; grey < 256; ++grey)
        colours.push_back(MakeColour(grey, grey, grey));
    for (const int v : {128, 255}) {
        colours.push_back(MakeColour(v, 0, 0));
        colours.push_back(MakeColour(0, v, 0));
        colours.push_back(MakeColour(0, 0, v));
        colours.push_back(MakeColour(v, v, 0));
        colours.push_back(MakeColour(0, v, v));
        colours.push_back(MakeColour(v, 0, v));
    }
    for (const quint32 index : {0x00u, 0x02u, 0x03u, 0x04u, 0x0Bu, 0x0Fu, 0x18u, 0x1Au, 0x1Bu, 0x1Cu, 0x1Du})
        colours.push_back(ResolveColour(0xFF000000u | index));
    colours.insert(colours.end(), {15529196u, 14471111u, 13750737u, MakeColour(255, 128, 0)});
    for (const quint32 c : colours) {
        SCOPED_TRACE(c);
        const Hls hls = ColorToHls(c);
        EXPECT_LE(ChannelError(HlsToColor(hls.hue, hls.luminance, hls.saturation), c), 1);
    }

    // The 0..240 hue scale cannot hold every colour: the integer conversions lose at most 5 per
    // channel anywhere in the cube, and no more may be lost here.
    int worst = 0;
    for (int r = 0; r < 256; r += 3)
        for (int g = 0; g < 256; g += 3)
            for (int b = 0; b < 256; b += 3) {
                const quint32 c = MakeColour(r, g, b);
                const Hls hls = ColorToHls(c);
                worst = std::max(worst, ChannelError(HlsToColor(hls.hue, hls.luminance, hls.saturation), c));
            }
    EXPECT_LE(worst, 5);
}

TEST(ColoursTest, LuminanceAdjustsWithinRange)
{
    EXPECT_EQ(AdjustLuminance(MakeColour(255, 0, 0), 40), MakeColour(255, 85, 85));
    EXPECT_EQ(AdjustLuminance(MakeColour(255, 0, 0), -60), MakeColour(128, 0, 0));
    EXPECT_EQ(AdjustLuminance(MakeColour(255, 255, 255), 50), MakeColour(255, 255, 255));
    EXPECT_EQ(AdjustLuminance(MakeColour(10, 10, 10), -50), MakeColour(0, 0, 0));
    EXPECT_EQ(AdjustLuminance(MakeColour(0, 0, 128), 500), MakeColour(255, 255, 255));
    // The panel's default system colour is darkened as it is shown.
    EXPECT_EQ(ColorToHls(AdjustLuminance(0xFF00001Cu, -20)).luminance, 195);
}

TEST(ColoursTest, ContrastTextIsBlackOnlyAboveTheThreshold)
{
    const quint32 black = 0x000000u;
    const quint32 white = 0xFFFFFFu;
    EXPECT_EQ(ContrastTextColour(MakeColour(255, 255, 255)), black);
    EXPECT_EQ(ContrastTextColour(MakeColour(0, 0, 128)), white);
    EXPECT_EQ(ContrastTextColour(0xFF00001Cu), black);
    // Pure red sits at luminance 120: white at the usual threshold, black in the guide grid's.
    EXPECT_EQ(ContrastTextColour(MakeColour(255, 0, 0)), white);
    EXPECT_EQ(ContrastTextColour(MakeColour(255, 0, 0), 119), black);
    EXPECT_EQ(ContrastTextColour(MakeColour(130, 130, 130)), black); // luminance 122
}

} // namespace
} // namespace quorx
