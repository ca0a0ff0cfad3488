#pragma once

#include <QtGlobal>

namespace quorx {

// Colours are Windows colour values (COLORREF): red in the low byte, then green, then blue,
// stored as decimal integers. A value whose high byte is 0xFF names a system colour by its low
// byte: the panel colour's default 0xFF00001C is the gradient of inactive title bars.
constexpr quint32 MakeColour(int red, int green, int blue)
{
    return static_cast<quint32>(red & 0xFF) | (static_cast<quint32>(green & 0xFF) << 8) |
           (static_cast<quint32>(blue & 0xFF) << 16);
}
constexpr int RedOf(quint32 colour)
{
    return static_cast<int>(colour & 0xFF);
}
constexpr int GreenOf(quint32 colour)
{
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int BlueOf(quint32 colour)
{
    return static_cast<int>((colour >> 16) & 0xFF);
}

constexpr bool IsSystemColour(quint32 value)
{
    return (value & 0xFF000000u) == 0xFF000000u;
}

// System colours become the RGB values of a default Windows 10 desktop (an unknown index gives
// black, as Windows does); any other value is returned unchanged.
quint32 ResolveColour(quint32 value);

// Hue, luminance and saturation on Windows' 0..240 scale.
struct Hls
{
    int hue;
    int luminance;
    int saturation;
};

// The integer conversions of Windows (HLSMAX 240, RGBMAX 255), with their rounding; greys get
// hue 160. System colours are resolved first.
Hls ColorToHls(quint32 colorref);
// Values outside 0..240 are brought into range (the hue turns round, the others are clamped).
quint32 HlsToColor(int hue, int luminance, int saturation);

// The colour with its luminance moved by delta and kept within 0..240.
quint32 AdjustLuminance(quint32 colorref, int delta);

// Black text on a light background, white on a dark one: black when the luminance is above
// the threshold (the guide grid uses 119).
quint32 ContrastTextColour(quint32 background, int threshold = 120);

} // namespace quorx
