#include "communication/console_colors.h"

#include "model/assertion.h"

namespace {

constexpr std::uint32_t Table[TAllowedColors::COLORCOUNT] = {
    0x000000, 0x008080, 0x000080, 0x800000, 0x808080, 0x008000, 0x800080, 0xFF0000,
    0xC0C0C0, 0x808000, 0x0000FF, 0xFFFF00, 0xFFFFFF, 0x00FF00, 0xFF00FF, 0x00FFFF};

const char* const RoleNames[acROLECOUNT] = {"Background 1", "Background 2", "Action Text",
                                            "Send Text",    "Read Text",    "GPIB Text",
                                            "Error Text"};

}  // namespace

TAllowedColors::TAllowedColors() : Indices(DefaultIndices()) {}

TAllowedColors::TRoleIndices TAllowedColors::DefaultIndices() {
  return {12, 15, 0, 7, 5, 9, 10};
}

std::uint32_t TAllowedColors::GetColor(int index) const {
  return index >= 0 && index < COLORCOUNT ? Table[index] : 0;
}

std::uint32_t TAllowedColors::GetRoleColor(int role) const {
  QORV_ASSERT(role >= 0 && role < acROLECOUNT);
  return GetColor(Indices[static_cast<std::size_t>(role)]);
}

const char* TAllowedColors::RoleName(int role) {
  QORV_ASSERT(role >= 0 && role < acROLECOUNT);
  return RoleNames[role];
}

int TColorString::Add(const std::string& text, int textRole, int backgroundRole) {
  QORV_ASSERT(textRole >= acACTION && textRole <= acERROR);
  QORV_ASSERT(backgroundRole == acBACK1 || backgroundRole == acBACK2);
  Lines.push_back({text, textRole, backgroundRole});
  return Count() - 1;
}

TColorString::SColoredString TColorString::Get(int index) const {
  if (index < 0 || index >= Count()) return {"none", 0x000000, 0xFFFFFF};
  const SStoredColoredString& line = Lines[static_cast<std::size_t>(index)];
  return {line.Text, Colors->GetRoleColor(line.TextRole),
          Colors->GetRoleColor(line.BackgroundRole)};
}
