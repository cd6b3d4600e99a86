// The help window ("Qorv Help"): the help pages in a browser with back and forward, the
// contents as a tree and the index as a list of topics filtered by what the user types.
// One window serves the whole program; ShowHelp opens it at the page and anchor of a help
// context number.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTextBlock>
#include <QUrl>

class QAction;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

class THelpWindow : public QMainWindow {
  Q_OBJECT

public:
  // The window, made on first use.
  static THelpWindow& Instance();
  // The window when it exists, else none.
  static THelpWindow* Existing();
  // Deletes the window (the program's end, and tests).
  static void Close();

  // Shows the topic of a help context number; an unknown number shows the contents.
  void ShowContext(int context);
  // Shows the contents page with the Contents tab.
  void ShowContents();
  // Shows the Index tab with the typing box ready, over the index page.
  void ShowIndex();

  // The page shown, with the anchor it was opened at.
  QUrl CurrentUrl() const;
  QTextBrowser& Browser() const { return *Pages; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  THelpWindow();
  ~THelpWindow() override;
  void BuildToolBar();
  void BuildContents();
  void BuildIndex();
  void ApplyStyle();
  // Shows a page in the browser, at its anchor when the URL has one.
  void Go(const QUrl& url);
  // The paragraph that holds an anchor of the page shown (none when it has none).
  QTextBlock AnchorBlock(const QString& anchor) const;
  // Marks the heading of the URL's anchor, unless it is the page's own heading.
  void MarkAnchor(const QUrl& url);
  // Brings the window up in front of the user; while a modal dialog is open it becomes
  // that dialog's window, which a modal dialog does not block.
  void Present();
  void FollowModalDialog();
  void LeaveModalDialog();
  // Makes the window a window of the owner (none: a window of its own), where it was.
  void Reparent(QWidget* owner);
  void PageChanged(const QUrl& url);
  void FilterIndex(const QString& text);
  void OpenIndexEntry();
  void MoveIndexSelection(int step);

  QTextBrowser* Pages = nullptr;
  QTabWidget* Tabs = nullptr;
  QTreeWidget* ContentsTree = nullptr;
  QLineEdit* FindEdit = nullptr;
  QListWidget* TopicList = nullptr;
  QAction* BackAction = nullptr;
  QAction* ForwardAction = nullptr;
  QUrl Current;
  bool EverShown = false;
  // The modal dialog the window belongs to while it is open.
  QPointer<QWidget> ModalOwner;

  static QPointer<THelpWindow> TheWindow;
};

// Opens the help window at the topic of a help context number.
void ShowHelp(int context);
// Opens the help window at its contents.
void ShowHelpContents();
// Opens the help window at its index, ready for a word to find.
void ShowHelpIndex();
