// The one seam through which the Qt side shows message boxes and file choosers. The
// application uses real Qt dialogs; tests install a scripted seam that records every box
// and answers from a script, so that no test ever waits on a modal window. Code calls
// UserDialogs(), never the static QMessageBox or QFileDialog functions.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <utility>

#include "model/ui_port.h"

class QColor;
class QFont;
class QPrinter;
class QWidget;

// A message box as it is shown, every choice already made: the caption is never empty,
// the default and escape buttons are among the buttons.
struct TMessageBox {
  QString Caption;
  QString Text;
  TMessageKind Kind = TMessageKind::Information;
  TMessageButtons Buttons = mbOK;
  TMessageButton Default = mbOK;  // what Enter presses
  TMessageButton Escape = mbOK;   // what Escape or closing the box answers
};

// The box of a plain message: OK only. An empty caption becomes "Qorv".
TMessageBox MessageBoxOf(const std::string& text, const std::string& caption,
                         TMessageKind kind);
// The box of a question. Buttons outside the core's set are dropped and none left shows
// OK; the default is the given button when offered, else the first of OK, Yes, Retry
// (else the first button); Escape answers Cancel, else No, else the last button.
TMessageBox QuestionBoxOf(const std::string& text, const std::string& caption,
                          TMessageKind kind, TMessageButtons buttons,
                          TMessageButton defaultButton);

class TUserDialogs {
public:
  virtual ~TUserDialogs() = default;

  // Shows the box modally above parent (none: no parent); answers the button pressed.
  virtual TMessageButton Message(QWidget* parent, const TMessageBox& box) = 0;

  // A modal file chooser for choice (see TFileChoice): true with the chosen path in
  // choice.FileName, false when cancelled (choice.FileName is then left as it was).
  virtual bool ChooseFile(QWidget* parent, TFileChoice& choice) = 0;

  // A modal font dialog starting at font: true with the chosen font in font, false when
  // cancelled (font is then left as it was).
  virtual bool ChooseFont(QWidget* parent, QFont& font) = 0;

  // The print dialog for printer: true when confirmed, the printer then set up as chosen.
  virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;

  // A modal chooser of a folder, captioned, starting in directory when it exists: true
  // with the chosen folder in directory, false when cancelled (directory left as it was).
  virtual bool ChooseDirectory(QWidget* parent, const QString& caption,
                               std::string& directory) = 0;

  // A modal colour dialog starting at color: true with the chosen colour in color, false
  // when cancelled (color is then left as it was).
  virtual bool ChooseColor(QWidget* parent, QColor& color) = 0;
};

// The application's seam: real QMessageBox and QFileDialog objects.
class TQtUserDialogs final : public TUserDialogs {
public:
  TMessageButton Message(QWidget* parent, const TMessageBox& box) override;
  bool ChooseFile(QWidget* parent, TFileChoice& choice) override;
  bool ChooseFont(QWidget* parent, QFont& font) override;
  bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
  bool ChooseDirectory(QWidget* parent, const QString& caption, std::string& directory) override;
  bool ChooseColor(QWidget* parent, QColor& color) override;
};

// A seam without a user, for programs that show the windows unattended (the screenshots,
// the benchmarks): each box goes to note (when given) and answers its default button;
// every chooser is cancelled.
class TUnattendedDialogs final : public TUserDialogs {
public:
  explicit TUnattendedDialogs(std::function<void(const TMessageBox&)> note = {})
      : Note(std::move(note)) {}
  TMessageButton Message(QWidget* parent, const TMessageBox& box) override;
  bool ChooseFile(QWidget*, TFileChoice&) override { return false; }
  bool ChooseFont(QWidget*, QFont&) override { return false; }
  bool SetUpPrinter(QWidget*, QPrinter&) override { return false; }
  bool ChooseDirectory(QWidget*, const QString&, std::string&) override { return false; }
  bool ChooseColor(QWidget*, QColor&) override { return false; }

private:
  std::function<void(const TMessageBox&)> Note;
};

// The seam in use: Qt's dialogs unless another one is installed.
TUserDialogs& UserDialogs();
// Installs a seam (none to go back to Qt's dialogs); answers the previous one.
TUserDialogs* SetUserDialogs(TUserDialogs* dialogs);

// The core's filter text ("Experiment (*.qve) | *.qve|All Files (*.*)|*.*": description
// and patterns in pairs) as Qt name filters ("Experiment (*.qve)", "All Files (*)"). The
// patterns of each pair are what the chooser matches; "*.*" matches every file.
QStringList NameFiltersOf(const std::string& filter);
// The extension of a default-extension text ("qve", ".qve", "*.qve" → "qve").
QString ExtensionOf(const std::string& defaultExt);
// The path with "." + extension appended when its file name has no extension.
std::string WithDefaultExtension(const std::string& path, const std::string& defaultExt);
