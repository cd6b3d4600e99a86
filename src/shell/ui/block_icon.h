// The picture a block's box shows: the icon file chosen for the block, read at 32 × 32
// pixels, or the default drawing (one for the start block, one for every other block).
#pragma once

#include <QPixmap>

#include <string>

// The side of a block icon in pixels.
inline constexpr int BlockIconSide = 32;

// The icon file's picture at BlockIconSide square (the entry of that size of a
// multi-size file when there is one, otherwise scaled); the default drawing when the
// name is empty or the file cannot be read.
QPixmap BlockIcon(const std::string& iconFile, bool startBlock);
