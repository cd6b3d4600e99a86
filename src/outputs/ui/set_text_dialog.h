// "Set Title": asks for a title, which may not be empty. The Title items of the output
// windows ask through it (installed at start-up as the windows' title question).
#pragma once

#include <QDialog>

#include <memory>
#include <string>

namespace Ui {
class TSetTextForm;
}

class TSetTextForm : public QDialog {
  Q_OBJECT

public:
  explicit TSetTextForm(QWidget* parent = nullptr);
  ~TSetTextForm() override;

  // The title the edit shows when the dialog opens.
  void SetText(const QString& text);
  // The title taken by OK; empty until then (every showing empties it).
  const QString& Text() const { return Result; }
  // What is wrong with the edit's title; empty when OK can take it.
  QString Validate() const;
  // OK: an empty title is refused with its message and the focus goes back to the edit.
  void OkClick();

protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  std::unique_ptr<Ui::TSetTextForm> Ui;
  QString Result;
};

// The dialog above parent starting from title; true with the new title on OK.
bool ExecuteSetTextForm(QWidget* parent, std::string& title);
