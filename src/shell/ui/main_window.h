// The main window.
#pragma once

#include <QMainWindow>

class TQorvForm : public QMainWindow {
  Q_OBJECT

public:
  explicit TQorvForm(QWidget* parent = nullptr);
};
