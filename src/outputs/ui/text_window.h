// The window of the text log: a read-only text with a line per plotted value, saved as
// an output file or as plain text, copied and printed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "outputs/ui/output_window.h"

class QPlainTextEdit;
class QPrinter;
class QToolBar;
class TTextForm;

class TTextWindow : public TOutputWindow {
  Q_OBJECT

public:
  explicit TTextWindow(TTextForm& form);

  // The menu and tool-bar handlers.
  // The save chooser for a ".txt" file, which then holds exactly the window's text.
  void SaveAsTextClick();
  // The whole text on the clipboard.
  void CopyToClipboardClick();
  // Asks first ("Qorv Warning"); Yes empties the text.
  void ClearClick() override;
  void TitleClick();
  // The font dialog with the text's font; on OK the text takes it.
  void FontClick();
  // The print dialog; on OK the text is printed.
  void PrintClick();
  // Prints the caption and the lines to a printer already set up; false when the
  // printer could not start.
  bool PrintTo(QPrinter& printer);

  // The text control (tests and screenshots).
  QPlainTextEdit* TextControl() const { return RichEdit; }

protected:
  // Appends only the lines added since the last refresh; the text follows the newest
  // line while it was scrolled to the end.
  void Refresh() override;
  // An imported text file's whole text is added after the text shown.
  void ImportText(const std::string& text) override;

private:
  void ApplyTextStyle();

  TTextForm& Kind;
  QPlainTextEdit* RichEdit;
  QToolBar* ToolBar;
  QAction* SaveButton;
  QAction* PasteButton;
  QAction* PrintButton;
  QAction* FontButton;
  QAction* HelpButton;
  QAction* SaveAsTextItem;
  QAction* PrintItem;
  QAction* TitleItem;
  QAction* FontMenuItem;
  QAction* HelpMenuItem;
  QAction* TextHelpItem;
  // What the control shows of the form's lines.
  std::uint64_t ShownResets = 0;
  std::size_t ShownLines = 0;
};
