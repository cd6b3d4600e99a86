// The window of the big number: the newest value in large text, optionally logged to a
// file; the status bar says where the values go.
#pragma once

#include "outputs/ui/output_window.h"

class QLabel;
class TBigNumForm;

class TBigNumWindow : public TOutputWindow {
  Q_OBJECT

public:
  explicit TBigNumWindow(TBigNumForm& form);

  // The menu and form handlers.
  // The shown value as text on the clipboard; an empty display gives "No data to put in
  // clipboard.".
  void CopyToClipboardClick();
  // The title question with the window's name; on OK the window is renamed.
  void TitleClick();
  // The font dialog with the label's font; on OK the label takes it and the window is
  // sized to the label.
  void FontClick();
  // Switches logging; switched on without a log file, the log dialog opens.
  void EnableLoggingClick();
  // The log dialog (only while logging is on); cancelled without a log file, logging
  // goes off.
  void EditLogParametersClick();

  // What the window shows (tests and screenshots).
  QLabel* Label() const { return DataLabel; }
  QString StatusText() const;

protected:
  void Refresh() override;

private:
  // The label's font and colours from the form's label record.
  void ApplyLabelStyle();
  // The size the label's text needs (with an empty text, that of a typical value when
  // typical is set).
  QSize LabelExtent(bool typical) const;
  // The room around the label: 5 above and below, more beside it.
  QSize Margin() const;
  // The client area becomes the label's size plus the margin.
  void FitToLabel();
  // The items of "Log Data To File", as each opening of the menu sets them.
  void UpdateLogItems();

  TBigNumForm& Kind;
  QLabel* DataLabel;
  class TStatusPanel;
  TStatusPanel* StatusPanel;
  QMenu* LogToFileMenu;
  QAction* TitleItem;
  QAction* FontMenuItem;
  QAction* EnableLoggingItem;
  QAction* EditLogParametersItem;
  QAction* BigNumHelpItem;
};
