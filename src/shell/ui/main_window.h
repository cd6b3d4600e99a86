// The main window.
#pragma once

#include <QMainWindow>
#include <QString>

#include <array>

class QLabel;

class TQorvForm : public QMainWindow {
  Q_OBJECT

public:
  // The panels of the status bar, left to right.
  enum TStatusPanel {
    spRunState = 0,  // "Stopped" or "Running"
    spBlock = 1,     // the title of the current block
    spModified = 2,  // the modified mark
    spHint = 3,      // the hint of the control under the mouse
    spCount = 4,
  };

  explicit TQorvForm(QWidget* parent = nullptr);

  // The window title ("Qorv Current Experiment: " + the experiment's title).
  void SetCaption(const QString& caption);
  QString StatusText(int panel) const;
  void SetStatusText(int panel, const QString& text);

  // Message 2024, delivered synchronously: modified != 0 marks the experiment modified
  // ("Modified" in the status bar), 0 clears the mark; refresh == 0 also refreshes the
  // run buttons.
  void ExperimentChanged(int modified, int refresh);

  // Repaints the views of the experiment.
  void RefreshViews();

private:
  // Enables the buttons that need a non-empty experiment.
  void UpdateRunButtons();

  std::array<QLabel*, spCount> StatusPanels{};
};
