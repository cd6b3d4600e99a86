// The debug window's "Debug Output" menu: Copy To Clipboard, Save To File, Print and
// Clear of its log, each enabled only while the log has lines.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

#include "shell/debug_log.h"

class QAction;
class QMenu;
class QTextDocument;
class QWidget;

// The clipboard receives the log's lines as text, one per line.
void CopyDebugLogToClipboard(const TDebugLog& log);
// The save chooser ("Text (*.txt)", default extension ".txt"), then the lines with CR LF
// line ends; true when a file was written.
bool SaveDebugLog(QWidget* parent, const TDebugLog& log);
// The printed form of the log: "Debug Output from: " + title in bold, an empty line, then
// every line in its style, all in black; the document has no title.
void BuildDebugLogDocument(QTextDocument& document, const TDebugLog& log,
                           const std::string& experimentTitle);
// The print dialog, then the document above printed with no document name; true when
// printed.
bool PrintDebugLog(QWidget* parent, const TDebugLog& log, const std::string& experimentTitle);

// Binds the menu's actions to a log: their clicks run the operations above (and Clear),
// and they are enabled exactly while the log has lines.
class TDebugOutputActions final : public QObject, private TDebugLogListener {
  Q_OBJECT

public:
  struct TActions {
    QAction* Copy = nullptr;   // "Copy To Clipboard"
    QAction* Save = nullptr;   // "Save To File"
    QAction* Print = nullptr;  // "Print"
    QAction* Clear = nullptr;  // "Clear"
  };

  // Binds the given actions (any may be none). parent is the window the dialogs belong
  // to and owns this object; experimentTitle answers the title printed. The log must
  // outlive this object.
  TDebugOutputActions(TDebugLog& log, const TActions& actions, QWidget* parent,
                      std::function<std::string()> experimentTitle);
  // Makes the four actions in menu, in the order above, and binds them.
  TDebugOutputActions(TDebugLog& log, QMenu& menu, QWidget* parent,
                      std::function<std::string()> experimentTitle);
  ~TDebugOutputActions() override;

  const TActions& Actions() const { return Bound; }
  // Sets the actions' enabling from the log.
  void UpdateEnabled();

private:
  void Bind();
  void LinesAdded(int first, int count) override;
  void LogCleared() override;

  TDebugLog& Log;
  TActions Bound;
  std::vector<QPointer<QAction>> Alive;  // the menu may go first
  QWidget* Window;
  std::function<std::string()> Title;
};
