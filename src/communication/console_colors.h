// The console's colours: a fixed table of 16 colours and seven roles (two backgrounds
// and five kinds of text) that the user may point at other table entries, and the
// coloured line lists of the console's log, which keep roles so that a colour change
// recolours the old lines as well.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Colour roles, in the order the colour dialog lists them.
enum TColorRole : int {
  acBACK1 = 0, acBACK2, acACTION, acSEND, acREAD, acGPIB, acERROR, acROLECOUNT
};

class TAllowedColors {
public:
  static constexpr int COLORCOUNT = 16;
  using TRoleIndices = std::array<int, acROLECOUNT>;

  TAllowedColors();

  // The table colour (0x00BBGGRR); 0 (black) outside 0..15.
  std::uint32_t GetColor(int index) const;
  // The colour of the role's table index.
  std::uint32_t GetRoleColor(int role) const;
  TRoleIndices GetRoleIndices() const { return Indices; }
  // Indices outside the table are kept as they come; GetColor answers black for them.
  void SetRoleIndices(const TRoleIndices& indices) { Indices = indices; }

  // "Background 1" ... "Error Text".
  static const char* RoleName(int role);
  static TRoleIndices DefaultIndices();

private:
  TRoleIndices Indices;
};

class TColorString {
public:
  struct SColoredString {
    std::string Text;
    std::uint32_t Foreground = 0;
    std::uint32_t Background = 0xFFFFFF;
  };

  explicit TColorString(const TAllowedColors& colors) : Colors(&colors) {}

  // A text role 2..6 on background role 0 or 1; anything else is a programming error.
  int Add(const std::string& text, int textRole, int backgroundRole);
  // Resolved through the current role assignment; outside the list "none", black on white.
  SColoredString Get(int index) const;
  int Count() const { return static_cast<int>(Lines.size()); }
  void Clear() { Lines.clear(); }

private:
  struct SStoredColoredString {
    std::string Text;
    int TextRole = acACTION;
    int BackgroundRole = acBACK1;
  };
  const TAllowedColors* Colors;
  std::vector<SStoredColoredString> Lines;
};
