// The base of every command dialog: the dialog's own controls in Panel1 above the OK,
// Cancel and Help buttons. It is made from the command's request (a new command or the
// one changed), keeps OK disabled while a run is active, and gives the derived dialog's
// OK its two steps: the command to set up (the edited one, or a new one made at the
// insertion point) and the close that marks the experiment modified.
//
// A dialog derives from it, builds its .ui form into Panel1(), fills its controls from
// the request's command (or with the defaults for a new one) and overrides OkClick:
// validate (Refuse on failure), then Apply the settings with the command's own set-up
// operation.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

#include "scripts/script_request.h"

class QPushButton;
class QWidget;

class TScriptForm : public QDialog {
  Q_OBJECT

public:
  // helpContext: the dialog's help page, kept on Help's "helpContext" property.
  TScriptForm(TScriptRequest& request, int helpContext, QWidget* parent);

  // The area of the dialog's own controls.
  QWidget* Panel1() const { return Panel; }

protected:
  // Validates and applies; Refuse keeps the dialog open, Done closes it with OK.
  virtual void OkClick() = 0;
  // The OK's last step: setUp runs on the command edited, or on a new one of the type
  // made just before the blank line of the current block; then message 2024 (experiment
  // modified) and the dialog closes with OK. An exception from setUp shows its message,
  // destroys the command this OK made and keeps the dialog open (a command edited is left
  // as its set-up operation leaves it on failure); answers whether it closed.
  bool Apply(int type, const std::function<void(TScript&)>& setUp);
  // The message, the focus to the control (its text selected), the dialog stays open.
  void Refuse(const std::string& text, QWidget* focus);
  // Sizes the dialog from the OK button's height h: height x h, width y h.
  void SizeFromOk(int heights, int widths);
  // The control that gets the focus when the dialog shows.
  void SetFirstInput(QWidget* control) { FirstInput = control; }

  void showEvent(QShowEvent* event) override;

  TScriptRequest& Request;

private:
  QWidget* Panel = nullptr;
  QPushButton* Ok = nullptr;
  QPushButton* Cancel = nullptr;
  QPushButton* Help = nullptr;
  QWidget* FirstInput = nullptr;
};
