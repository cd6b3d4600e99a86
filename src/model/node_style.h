// How a tree node is drawn when its object draws it itself. The Qt delegate paints it.
#pragma once

#include <cstdint>
#include <string>

struct TNodeStyle {
  // Colours are in blue-green-red order: 0xFF0000 is blue, 0x0000FF red.
  std::uint32_t Colour = 0x000000;
  bool Italic = false;
  bool Bold = false;
  std::string Text;      // the text to draw, when it differs from the node's text
  int ImageIndex = -1;   // the image to draw, -1 for none
  int Indent = 0;        // extra indentation, in tree levels
};
