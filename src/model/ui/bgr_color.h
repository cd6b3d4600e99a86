// The core keeps colours as blue-green-red numbers (red in the low byte).
#pragma once

#include <QColor>

#include <cstdint>

inline QColor BgrColor(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}
