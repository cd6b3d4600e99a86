// How a tree node is drawn when its object draws it itself. The Qt delegate paints it.
#pragma once

#include <cstdint>
#include <string>

// Marks a tree shows on a node besides its text and image; a set of these bits.
enum TNodeMark : unsigned {
  nmNone = 0,
  nmPaused = 1u << 1,   // the paused run executes this command next
  nmAborted = 1u << 2,  // the run was stopped at this command: the row is drawn on red
};

struct TNodeStyle {
  // Colours are in blue-green-red order: 0xFF0000 is blue, 0x0000FF red. Black stands
  // for the view's usual text colour.
  std::uint32_t Colour = 0x000000;
  bool Italic = false;
  bool Bold = false;
  std::string Text;      // the text to draw, when it differs from the node's text
  int ImageIndex = -1;   // the image to draw, -1 for none
  int Indent = 0;        // extra indentation, in tree levels
  unsigned Marks = nmNone;
};
