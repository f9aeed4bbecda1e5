#pragma once
// Colours are 24-bit RGB values with red in the low byte. DefaultColor on a point means
// "draw it in the series colour"; on a pen it means "the engine's usual colour for it".

#include <QColor>
#include <cstdint>

namespace velkor::chart {

using Color = std::uint32_t;

constexpr Color DefaultColor = 0x20000000;

constexpr Color Rgb(int red, int green, int blue) {
    return static_cast<Color>(red & 0xff) | (static_cast<Color>(green & 0xff) << 8) |
           (static_cast<Color>(blue & 0xff) << 16);
}

constexpr Color Black = Rgb(0, 0, 0);
constexpr Color White = Rgb(255, 255, 255);
constexpr Color Red = Rgb(255, 0, 0);
constexpr Color Green = Rgb(0, 128, 0);
constexpr Color Blue = Rgb(0, 0, 255);
constexpr Color Grey = Rgb(128, 128, 128);
// The window background of the desktop the logger tool runs on.
constexpr Color ButtonFace = Rgb(240, 240, 240);

inline QColor ToQColor(Color c) {
    return QColor(static_cast<int>(c & 0xff), static_cast<int>((c >> 8) & 0xff),
                  static_cast<int>((c >> 16) & 0xff));
}

// The colour to use: `c` itself unless it is DefaultColor, then `fallback`.
constexpr Color Resolve(Color c, Color fallback) {
    return c == DefaultColor ? fallback : c;
}

} // namespace velkor::chart
