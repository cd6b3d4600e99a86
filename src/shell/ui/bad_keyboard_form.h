// The warning about regional settings under which Qorv cannot read its own files.
#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TBadKeyboardForm;
}

class TBadKeyboardForm : public QDialog {
  Q_OBJECT

public:
  // A borderless window centred on the screen.
  explicit TBadKeyboardForm(QWidget* parent = nullptr);
  ~TBadKeyboardForm() override;

  // True when the text "1.2" converts to a number under the regional settings in use
  // (the decimal separator the application took from the system's locale). Files keep
  // their numbers with a period, so with any other separator they cannot be read.
  static bool NumbersConvert();

protected:
  void showEvent(QShowEvent* event) override;

private:
  std::unique_ptr<Ui::TBadKeyboardForm> Ui;
};

// The start-up check: when the regional settings fail NumbersConvert, the warning is
// shown modally through showModally; start-up goes on in either case. Answers whether
// the settings are compatible.
bool CheckRegionalSettings(const std::function<void(QDialog&)>& showModally);
