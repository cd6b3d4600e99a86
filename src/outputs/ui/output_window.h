// The Qt window of one output form (graph, table, big number, text): the menus every kind
// shares, the caption, showing and hiding, and a redraw paced to the screen. The form in
// the core holds the data; this window only renders it and turns menu clicks into the
// form's operations. Each kind derives from it and fills OutPanel().
#pragma once

#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <cstdint>
#include <functional>

#include "outputs/output_form.h"

class QAbstractButton;
class QAction;
class QMenu;

class TOutputWindow : public QMainWindow, public TOutputView {
  Q_OBJECT

public:
  // A top-level window that becomes the form's view; it lives as long as the form.
  explicit TOutputWindow(TOutputForm& form);
  ~TOutputWindow() override;

  // The form shown; none once the form was destroyed (the window then closes).
  TOutputForm* Form() const { return PForm; }

  // The view side of the form.
  void Changed(TOutputForm& form) override;
  void ShowRequested(TOutputForm& form) override;
  void HideRequested(TOutputForm& form) override;
  bool IsVisible(const TOutputForm& form) const override;
  void FormDestroyed(TOutputForm& form) override;
  void BringToFrontRequested(TOutputForm& form) override;
  void ShowInFrontRequested(TOutputForm& form) override;

  // Draws what the form holds now, at once (tests; the pacing timer calls it too).
  void RefreshNow();

  // The common menu's handlers. Save writes the remembered ".opt" file or asks; Save As
  // always asks; a kind with a question before Clear overrides ClearClick, which does
  // nothing while a run is active. OffLine hands a live window to the main window's
  // detached-output list (during a run only its message shows); Number Format asks
  // for the window's notation and decimals.
  void SaveClick();
  void SaveAsClick();
  virtual void ClearClick();
  void OffLineClick();
  void NumberFormatClick();
  // Import > Text File: a text file chosen and read ("Error opening file" when it cannot
  // be), then ImportText.
  void ImportTextFileClick();
  // The Paste buttons: refused with "Cannot paste while running" during a run; else the
  // clipboard's text pasted.
  void PasteButtonClick();
  // The outputs' clipboard text becomes data sets at once; any other text goes through
  // the import wizard; the window's ImportData receives what either gives.
  void PasteFromClipboard();
  static bool ClipboardHasText();
  // Import > MATLAB File: the data sets chosen in the MAT import dialog are imported.
  void ImportMatLabFileClick();

  // The background of a window taken off-line (the inactive caption's colour).
  static QColor InactiveCaptionColor();

  // The longest a changed form waits for its redraw (about 30 redraws a second).
  static constexpr int RefreshIntervalMs = 33;

protected:
  // The kind draws the form's current state; called at most once per interval while
  // the form changes, and when the window shows.
  virtual void Refresh() = 0;
  // The kind's state after the window was taken off-line (buttons of live windows).
  virtual void AfterOffLine() {}

  // The kind's Paste button: its clicks paste, and it is enabled exactly while the
  // clipboard holds text.
  void SetPasteControl(QAction* action);
  void SetPasteControl(QAbstractButton* button);
  void changeEvent(QEvent* event) override;
  // An imported file's text: its lines through the import wizard into ImportData (the
  // text window adds the text itself).
  virtual void ImportText(const std::string& text);

  // The client area in which each kind places its display.
  QWidget* OutPanel() const { return Panel; }
  QMenu* OutputMenu() const { return OutputMenuPtr; }
  // The kind's menu ("&BigNum", "Text", "Graph", "Table"): Number Format, then the
  // kind's items.
  QMenu* SpecificMenu() const { return SpecificMenuPtr; }
  QMenu* HelpMenu() const { return HelpMenuPtr; }
  // Sets the kind's menu caption.
  void SetSpecificCaption(const QString& caption);

  // The common items, named as their objectName.
  QAction* SaveItem = nullptr;
  QAction* SaveAsItem = nullptr;
  QAction* CopyToClipboardItem = nullptr;
  QMenu* ImportDataMenu = nullptr;
  QAction* ImportTextFileItem = nullptr;
  QAction* ImportMatLabFileItem = nullptr;
  QAction* ClearItem = nullptr;
  QAction* OffLineItem = nullptr;
  QAction* NumberFormatItem = nullptr;
  QAction* OutputHelpItem = nullptr;

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  // Saves to the name chosen (an empty name: nothing).
  void SaveTo(const std::string& fileName);
  void ScheduleRefresh();
  void UpdateCommonItems();
  void UpdatePasteControl();

  TOutputForm* PForm;
  QWidget* Panel = nullptr;
  QMenu* OutputMenuPtr = nullptr;
  QMenu* SpecificMenuPtr = nullptr;
  QMenu* HelpMenuPtr = nullptr;
  QTimer Pacer;
  bool Stale = false;
  std::function<void(bool)> EnablePaste;
};
