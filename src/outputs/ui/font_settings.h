// The fonts and colours that output windows keep in their records (TFontSettings, colours
// as 0x00BBGGRR) as Qt fonts and colours, both ways.
#pragma once

#include <QColor>
#include <QFont>

#include <cstdint>

#include "outputs/output_form.h"

// The font of the settings; a size that no font has (from a damaged record) is brought
// into 1 to 1000 points.
QFont FontOf(const TFontSettings& settings);
// The settings of a font chosen in the font dialog; the colour stays that of current.
TFontSettings FontSettingsOf(const QFont& font, const TFontSettings& current);
// The colour of 0x00BBGGRR; an invalid colour for a value with the top byte set (a
// system colour, whose meaning is the desktop's palette).
QColor ColorOf(std::int32_t bgr);
