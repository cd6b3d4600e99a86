// "Number Format": the notation of a window's numbers (Standard, Fixed, Scientific) and,
// for Fixed and Scientific, the number of decimal places. The Number Format item of every
// output window opens it, and so will the float-format buttons of the command dialogs.
#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>

class QButtonGroup;

namespace Ui {
class TNumberFormatForm;
}

class TNumberFormatForm : public QDialog {
  Q_OBJECT

public:
  explicit TNumberFormatForm(QWidget* parent = nullptr);
  ~TNumberFormatForm() override;

  // Shows the notation (0 standard, 1 fixed, 2 scientific) and the decimals, modally;
  // true on OK, the answers then in Kind() and DecimalPlaces().
  bool Execute(std::uint8_t kind, std::int32_t decimals);
  // Fills the controls as Execute does, without showing the dialog.
  void SetFormat(std::uint8_t kind, std::int32_t decimals);
  std::uint8_t Kind() const { return AKind; }
  // At most the decimals numbers are shown with; 0 with Standard.
  std::int32_t DecimalPlaces() const { return ADecimalPlaces; }

  // OK: with the decimals shown, an empty entry or one that is not an integer of at
  // least 0 is refused with its message and the focus goes back to the entry.
  void accept() override;

private:
  // The decimals are asked for Fixed and Scientific only.
  void GroupClick();
  void Refuse(const char* text);

  std::unique_ptr<Ui::TNumberFormatForm> Ui;
  QButtonGroup* Items;
  std::uint8_t AKind = 0;
  std::int32_t ADecimalPlaces = 0;
};
