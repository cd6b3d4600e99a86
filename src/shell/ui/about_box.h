// The about box ("About Qorv"), shown modally from the Help menu.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutBox;
}

class TAboutBox : public QDialog {
  Q_OBJECT

public:
  // The box is 18 OK-button heights wide and 14 high.
  explicit TAboutBox(QWidget* parent = nullptr);
  ~TAboutBox() override;

protected:
  // Writes the current version, so that the box never shows a text of its own.
  void showEvent(QShowEvent* event) override;

private:
  std::unique_ptr<Ui::TAboutBox> Ui;
};
