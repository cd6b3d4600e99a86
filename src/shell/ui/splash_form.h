// The splash window shown while the program starts.
#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TSplashForm;
}

class TSplashForm : public QWidget {
  Q_OBJECT

public:
  // A borderless window above the others; closing it deletes it.
  explicit TSplashForm(QWidget* parent = nullptr);
  ~TSplashForm() override;

protected:
  void showEvent(QShowEvent* event) override;

private:
  // The version text, the picture filling the panel, the window around the panel and
  // the window centred on its screen.
  void Arrange();

  std::unique_ptr<Ui::TSplashForm> Ui;
};
