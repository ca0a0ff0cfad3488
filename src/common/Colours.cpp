#include "common/Colours.h"

#include <algorithm>
#include <array>

namespace quorx {

namespace {

constexpr int kHlsMax = 240;
constexpr int kRgbMax = 255;
constexpr int kUndefinedHue = kHlsMax * 2 / 3;

// Indexes 0 (COLOR_SCROLLBAR) to 30 (COLOR_MENUBAR); 25 is unused by Windows.
constexpr std::array<quint32, 31> kSystemColours = {
    MakeColour(200, 200, 200), // scroll bar
    MakeColour(0, 0, 0),       // desktop
    MakeColour(153, 180, 209), // active caption
    MakeColour(191, 205, 219), // inactive caption
    MakeColour(240, 240, 240), // menu
    MakeColour(255, 255, 255), // window
    MakeColour(100, 100, 100), // window frame
    MakeColour(0, 0, 0),       // menu text
    MakeColour(0, 0, 0),       // window text
    MakeColour(0, 0, 0),       // caption text
    MakeColour(180, 180, 180), // active border
    MakeColour(244, 247, 252), // inactive border
    MakeColour(171, 171, 171), // application workspace
    MakeColour(0, 120, 215),   // highlight
    MakeColour(255, 255, 255), // highlight text
    MakeColour(240, 240, 240), // button face
    MakeColour(160, 160, 160), // button shadow
    MakeColour(109, 109, 109), // grey text
    MakeColour(0, 0, 0),       // button text
    MakeColour(0, 0, 0),       // inactive caption text
    MakeColour(255, 255, 255), // button highlight
    MakeColour(105, 105, 105), // 3D dark shadow
    MakeColour(227, 227, 227), // 3D light
    MakeColour(0, 0, 0),       // tooltip text
    MakeColour(255, 255, 225), // tooltip background
    MakeColour(0, 0, 0),       // unused
    MakeColour(0, 102, 204),   // hot-tracked item
    MakeColour(185, 209, 234), // gradient of active captions
    MakeColour(215, 228, 242), // gradient of inactive captions
    MakeColour(51, 153, 255),  // menu highlight
    MakeColour(240, 240, 240), // menu bar
};

int HueToRgb(int n1, int n2, int hue)
{
    if (hue < 0)
        hue += kHlsMax;
    if (hue > kHlsMax)
        hue -= kHlsMax;
    if (hue < kHlsMax / 6)
        return n1 + ((n2 - n1) * hue + kHlsMax / 12) / (kHlsMax / 6);
    if (hue < kHlsMax / 2)
        return n2;
    if (hue < kHlsMax * 2 / 3)
        return n1 + ((n2 - n1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6);
    return n1;
}

int ToChannel(int value)
{
    return std::clamp((value * kRgbMax + kHlsMax / 2) / kHlsMax, 0, kRgbMax);
}

} // namespace

quint32 ResolveColour(quint32 value)
{
    if (!IsSystemColour(value))
        return value;
    const quint32 index = value & 0xFF;
    return index < kSystemColours.size() ? kSystemColours[index] : 0;
}

Hls ColorToHls(quint32 colorref)
{
    const quint32 rgb = ResolveColour(colorref);
    const int r = RedOf(rgb);
    const int g = GreenOf(rgb);
    const int b = BlueOf(rgb);
    const int cMax = std::max({r, g, b});
    const int cMin = std::min({r, g, b});

    Hls hls{};
    hls.luminance = ((cMax + cMin) * kHlsMax + kRgbMax) / (2 * kRgbMax);
    if (cMax == cMin) {
        hls.saturation = 0;
        hls.hue = kUndefinedHue;
        return hls;
    }
    const int sum = cMax + cMin;
    const int span = cMax - cMin;
    if (hls.luminance <= kHlsMax / 2)
        hls.saturation = (span * kHlsMax + sum / 2) / sum;
    else
        hls.saturation = (span * kHlsMax + (2 * kRgbMax - sum) / 2) / (2 * kRgbMax - sum);

    const int rDelta = ((cMax - r) * (kHlsMax / 6) + span / 2) / span;
    const int gDelta = ((cMax - g) * (kHlsMax / 6) + span / 2) / span;
    const int bDelta = ((cMax - b) * (kHlsMax / 6) + span / 2) / span;
    if (r == cMax)
        hls.hue = bDelta - gDelta;
    else if (g == cMax)
        hls.hue = kHlsMax / 3 + rDelta - bDelta;
    else
        hls.hue = kHlsMax * 2 / 3 + gDelta - rDelta;
    if (hls.hue < 0)
        hls.hue += kHlsMax;
    if (hls.hue > kHlsMax)
        hls.hue -= kHlsMax;
    return hls;
}

quint32 HlsToColor(int hue, int luminance, int saturation)
{
    if (hue < 0 || hue > kHlsMax)
        hue = ((hue % kHlsMax) + kHlsMax) % kHlsMax;
    luminance = std::clamp(luminance, 0, kHlsMax);
    saturation = std::clamp(saturation, 0, kHlsMax);
    if (saturation == 0) {
        const int grey = luminance * kRgbMax / kHlsMax;
        return MakeColour(grey, grey, grey);
    }
    const int magic2 = luminance <= kHlsMax / 2
                           ? (luminance * (kHlsMax + saturation) + kHlsMax / 2) / kHlsMax
                           : luminance + saturation - (luminance * saturation + kHlsMax / 2) / kHlsMax;
    const int magic1 = 2 * luminance - magic2;
    return MakeColour(ToChannel(HueToRgb(magic1, magic2, hue + kHlsMax / 3)),
                      ToChannel(HueToRgb(magic1, magic2, hue)),
                      ToChannel(HueToRgb(magic1, magic2, hue - kHlsMax / 3)));
}

quint32 AdjustLuminance(quint32 colorref, int delta)
{
    const Hls hls = ColorToHls(colorref);
    return HlsToColor(hls.hue, std::clamp(hls.luminance + delta, 0, kHlsMax), hls.saturation);
}

quint32 ContrastTextColour(quint32 background, int threshold)
{
    return ColorToHls(background).luminance > threshold ? 0x000000u : 0xFFFFFFu;
}

} // namespace quorx
