#pragma once
// Sizes and colours as the stored data and the designs give them.

#include <QColor>
#include <QWidget>

#include <optional>

namespace qv::ui {

// 1440 twips are one inch; the widget's screen gives the dots per inch.
inline int twipsToPixels(int twips, const QWidget* widget = nullptr) {
    const double dpi = widget ? widget->logicalDpiX() : 96.0;
    return static_cast<int>(twips * dpi / 1440.0 + 0.5);
}

// A stored colour value: red in the low byte, then green, then blue.
inline QColor colourFromStored(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
inline int storedFromColour(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

// A model's 0xRRGGBB role value.
inline QColor colourFromRgb(int rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace qv::ui
