#include "shell/ui/debug_output_actions.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPrinter>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QWidget>

#include "model/ui_port.h"
#include "shell/ui/debug_list_box.h"
#include "shell/ui/user_dialogs.h"

void CopyDebugLogToClipboard(const TDebugLog& log) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(QString::fromStdString(log.Text("\n")));
}

bool SaveDebugLog(QWidget* parent, const TDebugLog& log) {
  TFileChoice choice;
  choice.Save = true;
  choice.Filter = "Text (*.txt)|*.txt";
  choice.DefaultExt = ".txt";
  if (!UserDialogs().ChooseFile(parent, choice)) return false;
  return log.SaveToFile(WithDefaultExtension(choice.FileName, choice.DefaultExt));
}

void BuildDebugLogDocument(QTextDocument& document, const TDebugLog& log,
                           const std::string& experimentTitle) {
  document.clear();
  document.setMetaInformation(QTextDocument::DocumentTitle, QString());
  QTextCursor cursor(&document);
  QTextCharFormat heading;
  heading.setFontWeight(QFont::Bold);
  cursor.insertText(QString::fromStdString("Debug Output from: " + experimentTitle), heading);
  cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
  const QFont base = document.defaultFont();
  for (const TDebugFormat& line : log.Lines()) {
    QTextCharFormat format;
    // The style only: colours are not printed.
    const QFont styled = TDebugLineDelegate::StyledFont(base, line.Style);
    format.setFontWeight(styled.weight());
    format.setFontItalic(styled.italic());
    format.setFontUnderline(styled.underline());
    format.setFontStrikeOut(styled.strikeOut());
    cursor.insertBlock(QTextBlockFormat(), format);
    cursor.insertText(QString::fromStdString(line.Text), format);
  }
}

bool PrintDebugLog(QWidget* parent, const TDebugLog& log, const std::string& experimentTitle) {
  QPrinter printer;
  printer.setDocName(QString());
  if (!UserDialogs().SetUpPrinter(parent, printer)) return false;
  QTextDocument document;
  BuildDebugLogDocument(document, log, experimentTitle);
  document.print(&printer);
  if (printer.printerState() == QPrinter::Error) {
    UiPort().ShowMessage("The debug output could not be printed.", "", TMessageKind::Error);
    return false;
  }
  return true;
}

TDebugOutputActions::TDebugOutputActions(TDebugLog& log, const TActions& actions, QWidget* parent,
                                         std::function<std::string()> experimentTitle)
    : QObject(parent), Log(log), Bound(actions), Window(parent), Title(std::move(experimentTitle)) {
  Bind();
}

TDebugOutputActions::TDebugOutputActions(TDebugLog& log, QMenu& menu, QWidget* parent,
                                         std::function<std::string()> experimentTitle)
    : QObject(parent), Log(log), Window(parent), Title(std::move(experimentTitle)) {
  Bound.Copy = menu.addAction("Copy To Clipboard");
  Bound.Save = menu.addAction("Save To File");
  Bound.Print = menu.addAction("Print");
  Bound.Clear = menu.addAction("Clear");
  Bind();
}

TDebugOutputActions::~TDebugOutputActions() { Log.RemoveListener(this); }

void TDebugOutputActions::Bind() {
  if (Bound.Copy)
    connect(Bound.Copy, &QAction::triggered, this, [this] {
      if (!Log.IsEmpty()) CopyDebugLogToClipboard(Log);
    });
  if (Bound.Save)
    connect(Bound.Save, &QAction::triggered, this, [this] {
      if (!Log.IsEmpty()) SaveDebugLog(Window, Log);
    });
  if (Bound.Print)
    connect(Bound.Print, &QAction::triggered, this, [this] {
      if (!Log.IsEmpty()) PrintDebugLog(Window, Log, Title ? Title() : std::string());
    });
  if (Bound.Clear) connect(Bound.Clear, &QAction::triggered, this, [this] { Log.Clear(); });
  Alive = {Bound.Copy, Bound.Save, Bound.Print, Bound.Clear};
  Log.AddListener(this);
  UpdateEnabled();
}

void TDebugOutputActions::UpdateEnabled() {
  const bool lines = !Log.IsEmpty();
  for (const QPointer<QAction>& action : Alive)
    if (action) action->setEnabled(lines);
}

void TDebugOutputActions::LinesAdded(int, int) { UpdateEnabled(); }

void TDebugOutputActions::LogCleared() { UpdateEnabled(); }
