#include "platform/ui/help_window.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/ui/help_pages.h"
#include "platform/ui/help_topics.h"
#include "shell/ui/icons.h"

QPointer<THelpWindow> THelpWindow::TheWindow;

namespace {

constexpr int UrlRole = Qt::UserRole;
// Pixels of the page shown above an anchor's heading.
constexpr int AnchorMargin = 12;

// The look of the pages, in the colours of the desktop's palette so that they read as
// well on a dark theme as on a light one.
QString PageStyle(const QPalette& palette) {
  const QString heading = palette.color(QPalette::Text).name();
  const QString shade = palette.color(QPalette::AlternateBase).name();
  const QString rule = palette.color(QPalette::Mid).name();
  return QStringLiteral(
             "h1 { font-size: x-large; color: %1; margin-top: 6px; margin-bottom: 10px; }"
             "h2 { font-size: large; color: %1; margin-top: 20px; margin-bottom: 6px; }"
             "h3 { font-size: medium; color: %1; margin-top: 14px; margin-bottom: 4px; }"
             "p { margin-top: 4px; margin-bottom: 8px; }"
             "li { margin-bottom: 3px; }"
             "table { border-collapse: collapse; border-style: solid; border-color: %3;"
             " margin-top: 4px; margin-bottom: 10px; }"
             "th { background-color: %2; border-style: solid; border-color: %3;"
             " border-width: 1px; padding: 5px; text-align: left; }"
             "td { border-style: solid; border-color: %3; border-width: 1px; padding: 5px;"
             " vertical-align: top; }"
             "p.see { margin-top: 16px; }")
      .arg(heading, shade, rule);
}

}  // namespace

THelpWindow& THelpWindow::Instance() {
  if (!TheWindow) TheWindow = new THelpWindow;
  return *TheWindow;
}

THelpWindow* THelpWindow::Existing() { return TheWindow.data(); }

void THelpWindow::Close() { delete TheWindow.data(); }

THelpWindow::THelpWindow() : QMainWindow(nullptr) {
  LoadHelpResource();
  setObjectName("HelpWindow");
  setWindowTitle("Qorv Help");
  // The help stays open beside the program but never keeps it running on its own.
  setAttribute(Qt::WA_QuitOnClose, false);

  Pages = new QTextBrowser;
  Pages->setObjectName("HelpBrowser");
  Pages->setOpenExternalLinks(true);
  Pages->document()->setDocumentMargin(16);
  ApplyStyle();

  Tabs = new QTabWidget;
  Tabs->setObjectName("TopicTabs");
  BuildContents();
  BuildIndex();

  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->setObjectName("HelpSplitter");
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(Tabs);
  splitter->addWidget(Pages);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({320, 680});
  setCentralWidget(splitter);
  BuildToolBar();

  connect(Pages, &QTextBrowser::sourceChanged, this, &THelpWindow::PageChanged);
  resize(1000, 700);
}

THelpWindow::~THelpWindow() {
  if (ModalOwner) ModalOwner->removeEventFilter(this);
}

void THelpWindow::BuildToolBar() {
  QToolBar* tools = addToolBar("Help");
  tools->setObjectName("HelpToolBar");
  tools->setMovable(false);
  tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  auto add = [this, tools](const char* name, const char* text, const QIcon& icon,
                           const QKeySequence& keys) {
    QAction* action = tools->addAction(icon, text);
    action->setObjectName(name);
    action->setShortcut(keys);
    return action;
  };
  BackAction = add("BackButton", "Back",
                   QIcon::fromTheme("go-previous", style()->standardIcon(QStyle::SP_ArrowBack)),
                   QKeySequence::Back);
  ForwardAction =
      add("ForwardButton", "Forward",
          QIcon::fromTheme("go-next", style()->standardIcon(QStyle::SP_ArrowForward)),
          QKeySequence::Forward);
  tools->addSeparator();
  QAction* contents =
      add("ContentsButton", "Contents", ThemedIcon("help-contents", "help"), QKeySequence());
  QAction* index = add("IndexButton", "Index",
                       QIcon::fromTheme("edit-find", style()->standardIcon(
                                                         QStyle::SP_FileDialogContentsView)),
                       QKeySequence::Find);
  BackAction->setEnabled(false);
  ForwardAction->setEnabled(false);
  connect(BackAction, &QAction::triggered, Pages, &QTextBrowser::backward);
  connect(ForwardAction, &QAction::triggered, Pages, &QTextBrowser::forward);
  connect(Pages, &QTextBrowser::backwardAvailable, BackAction, &QAction::setEnabled);
  connect(Pages, &QTextBrowser::forwardAvailable, ForwardAction, &QAction::setEnabled);
  connect(contents, &QAction::triggered, this, &THelpWindow::ShowContents);
  connect(index, &QAction::triggered, this, &THelpWindow::ShowIndex);
  // Escape puts the help away, as it does a dialog.
  auto* away = new QAction("Close", this);
  away->setObjectName("CloseHelp");
  away->setShortcut(QKeySequence(Qt::Key_Escape));
  addAction(away);
  connect(away, &QAction::triggered, this, &QWidget::close);
}

// The tree follows the nesting of the contents page's lists.
void THelpWindow::BuildContents() {
  ContentsTree = new QTreeWidget;
  ContentsTree->setObjectName("ContentsTree");
  ContentsTree->setHeaderHidden(true);
  ContentsTree->setColumnCount(1);
  // Long titles scroll sideways rather than being cut.
  ContentsTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  ContentsTree->header()->setStretchLastSection(false);
  std::vector<std::pair<int, QTreeWidgetItem*>> open;  // the levels above the next entry
  for (const THelpLink& link : HelpPageLinks(HelpContentsUrl())) {
    if (link.Level == 0) continue;  // the links of the introduction
    while (!open.empty() && open.back().first >= link.Level) open.pop_back();
    auto* item = open.empty() ? new QTreeWidgetItem(ContentsTree)
                              : new QTreeWidgetItem(open.back().second);
    item->setText(0, link.Text);
    item->setData(0, UrlRole, link.Target);
    item->setToolTip(0, link.Text);
    if (open.empty()) {
      QFont chapter = item->font(0);
      chapter.setBold(true);
      item->setFont(0, chapter);
    }
    open.emplace_back(link.Level, item);
  }
  ContentsTree->expandAll();
  auto openItem = [this](QTreeWidgetItem* item) {
    if (item) Go(item->data(0, UrlRole).toUrl());
  };
  connect(ContentsTree, &QTreeWidget::itemClicked, this, openItem);
  connect(ContentsTree, &QTreeWidget::itemActivated, this, openItem);
  Tabs->addTab(ContentsTree, "Contents");
}

// The index lists the index page's entries; typing keeps those that hold the typed text
// and selects the first that starts with it.
void THelpWindow::BuildIndex() {
  auto* page = new QWidget;
  page->setObjectName("IndexPage");
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 6, 4, 4);
  auto* label = new QLabel("&Type the word you are looking for:");
  FindEdit = new QLineEdit;
  FindEdit->setObjectName("FindEdit");
  FindEdit->setClearButtonEnabled(true);
  label->setBuddy(FindEdit);
  TopicList = new QListWidget;
  TopicList->setObjectName("TopicList");
  TopicList->setUniformItemSizes(true);
  layout->addWidget(label);
  layout->addWidget(FindEdit);
  layout->addWidget(TopicList, 1);
  for (const THelpLink& link : HelpPageLinks(HelpIndexUrl())) {
    if (link.Level == 0) continue;
    auto* item = new QListWidgetItem(link.Text, TopicList);
    item->setData(UrlRole, link.Target);
  }
  FindEdit->installEventFilter(this);
  connect(FindEdit, &QLineEdit::textChanged, this, &THelpWindow::FilterIndex);
  connect(FindEdit, &QLineEdit::returnPressed, this, &THelpWindow::OpenIndexEntry);
  connect(TopicList, &QListWidget::itemClicked, this, &THelpWindow::OpenIndexEntry);
  connect(TopicList, &QListWidget::itemActivated, this, &THelpWindow::OpenIndexEntry);
  Tabs->addTab(page, "Index");
}

void THelpWindow::ApplyStyle() {
  // A window that changes hands between dialogs gets palette changes that change nothing.
  const QString style = PageStyle(palette());
  if (style == Pages->document()->defaultStyleSheet()) return;
  Pages->document()->setDefaultStyleSheet(style);
  if (Current.isValid()) Go(Current);
}

void THelpWindow::ShowContext(int context) {
  const THelpTopic* topic = FindHelpTopic(context);
  if (!topic) {
    ShowContents();
    return;
  }
  Go(HelpTopicUrl(*topic));
  Present();
}

void THelpWindow::ShowContents() {
  Tabs->setCurrentWidget(ContentsTree);
  Go(HelpContentsUrl());
  Present();
}

void THelpWindow::ShowIndex() {
  Tabs->setCurrentIndex(Tabs->indexOf(TopicList->parentWidget()));
  if (HelpResourcePath(Current) != HelpResourcePath(HelpIndexUrl())) Go(HelpIndexUrl());
  Present();
  FindEdit->setFocus();
  FindEdit->selectAll();
}

void THelpWindow::Go(const QUrl& url) {
  Pages->setSource(url);
  // The same page asked for again scrolls back to its anchor, which is shown a little
  // below the top so that the heading does not stick to the edge.
  QScrollBar* bar = Pages->verticalScrollBar();
  if (url.hasFragment() && !AnchorBlock(url.fragment()).previous().isValid()) {
    bar->setValue(0);  // the page's own heading
  } else if (url.hasFragment()) {
    Pages->scrollToAnchor(url.fragment());
    if (bar->value() < bar->maximum()) bar->setValue(std::max(0, bar->value() - AnchorMargin));
  } else {
    bar->setValue(0);
  }
  Current = url;
  MarkAnchor(url);
}

QTextBlock THelpWindow::AnchorBlock(const QString& anchor) const {
  for (QTextBlock block = Pages->document()->begin(); block.isValid(); block = block.next())
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().anchorNames().contains(anchor)) return block;
  return {};
}

// A topic that starts inside a page (a dialog's section) has its heading marked, since a
// topic near the page's end cannot scroll to the top of the view.
void THelpWindow::MarkAnchor(const QUrl& url) {
  QList<QTextEdit::ExtraSelection> marks;
  const QTextBlock heading = url.hasFragment() ? AnchorBlock(url.fragment()) : QTextBlock();
  if (heading.isValid() && heading.previous().isValid()) {
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(heading);
    QColor tint = palette().color(QPalette::Highlight);
    tint.setAlpha(48);
    mark.format.setBackground(tint);
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    marks << mark;
  }
  Pages->setExtraSelections(marks);
}

QUrl THelpWindow::CurrentUrl() const { return Current; }

void THelpWindow::PageChanged(const QUrl& shown) {
  const QUrl url = shown.isRelative() ? Current.resolved(shown) : shown;
  Current = url;
  MarkAnchor(url);
  const QString title = Pages->documentTitle();
  setWindowTitle(title.isEmpty() ? QStringLiteral("Qorv Help")
                                 : QStringLiteral("Qorv Help - ") + title);
  // The contents tree marks the entry of the page shown: its own anchor, else the page.
  const QUrl page = url.adjusted(QUrl::RemoveFragment);
  QTreeWidgetItem* best = nullptr;
  for (QTreeWidgetItemIterator it(ContentsTree); *it; ++it) {
    const QUrl target = (*it)->data(0, UrlRole).toUrl();
    if (target == url) {
      best = *it;
      break;
    }
    if (!best && target.adjusted(QUrl::RemoveFragment) == page) best = *it;
  }
  const QSignalBlocker quiet(ContentsTree);
  ContentsTree->setCurrentItem(best);
  if (best) ContentsTree->scrollToItem(best);
}

void THelpWindow::FilterIndex(const QString& text) {
  const QString wanted = text.trimmed();
  QListWidgetItem* first = nullptr;
  QListWidgetItem* starting = nullptr;
  for (int row = 0; row < TopicList->count(); ++row) {
    QListWidgetItem* item = TopicList->item(row);
    const bool shown = item->text().contains(wanted, Qt::CaseInsensitive);
    item->setHidden(!shown);
    if (!shown) continue;
    if (!first) first = item;
    if (!starting && item->text().startsWith(wanted, Qt::CaseInsensitive)) starting = item;
  }
  QListWidgetItem* chosen = starting ? starting : first;
  TopicList->setCurrentItem(chosen);
  if (chosen) TopicList->scrollToItem(chosen, QAbstractItemView::PositionAtTop);
}

void THelpWindow::OpenIndexEntry() {
  QListWidgetItem* item = TopicList->currentItem();
  if (item && !item->isHidden()) Go(item->data(UrlRole).toUrl());
}

void THelpWindow::MoveIndexSelection(int step) {
  int row = TopicList->currentRow();
  for (int next = row + step; next >= 0 && next < TopicList->count(); next += step)
    if (!TopicList->item(next)->isHidden()) {
      row = next;
      break;
    }
  if (row >= 0) TopicList->setCurrentRow(row);
}

// --- Staying usable beside a modal dialog ---

void THelpWindow::Present() {
  FollowModalDialog();
  if (isMinimized()) showNormal();
  else show();
  EverShown = true;
  raise();
  activateWindow();
}

void THelpWindow::FollowModalDialog() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == this || (modal && isAncestorOf(modal))) modal = nullptr;
  if (modal == parentWidget()) return;
  Reparent(modal);
}

void THelpWindow::Reparent(QWidget* owner) {
  const QRect frame = geometry();
  if (ModalOwner) ModalOwner->removeEventFilter(this);
  // A window of the dialog's own is not blocked by it, and stays above it.
  setParent(owner, Qt::Window);
  ModalOwner = owner;
  if (owner) owner->installEventFilter(this);
  if (EverShown) setGeometry(frame);
}

void THelpWindow::LeaveModalDialog() {
  const bool open = !isHidden();
  // Out of the dialog before it goes, which would take its windows with it.
  Reparent(nullptr);
  if (!open) return;
  show();
  // A dialog that opened the one closing is still modal: the window belongs to it now.
  QTimer::singleShot(0, this, [this] {
    if (isHidden() || !QApplication::activeModalWidget()) return;
    FollowModalDialog();
    show();
  });
}

bool THelpWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ModalOwner && event->type() == QEvent::Hide) {
    LeaveModalDialog();
    return false;
  }
  if (watched == FindEdit && event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Down:
        MoveIndexSelection(1);
        return true;
      case Qt::Key_Up:
        MoveIndexSelection(-1);
        return true;
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void THelpWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) ApplyStyle();
}

// --- The program's entries ---

void ShowHelp(int context) { THelpWindow::Instance().ShowContext(context); }

void ShowHelpContents() { THelpWindow::Instance().ShowContents(); }

void ShowHelpIndex() { THelpWindow::Instance().ShowIndex(); }
