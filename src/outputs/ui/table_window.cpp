#include "outputs/ui/table_window.h"

#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "model/assertion.h"
#include "model/number_text.h"
#include "outputs/table_form.h"
#include "outputs/table_text.h"
#include "outputs/ui/mat_export_dialog.h"
#include "outputs/ui/table_model.h"
#include "outputs/ui/table_printer.h"
#include "outputs/value_format.h"
#include "scripts/experiment_thread.h"
#include "shell/ui/icons.h"
#include "shell/ui/user_dialogs.h"

namespace {

const char* const ClearQuestion =
    "Warning, you will lose all your data if you press yes!\rDo you wish to continue?";

// A number as wide as the format usually makes them, for the column widths: a single's
// widening in the standard notation, five integer digits in the fixed one.
double SampleValue(int notation) {
  switch (notation) {
    case ntFIXED: return -12345.678;
    case ntSCIENTIFIC: return -1.2345678e-10;
    default: return static_cast<double>(-0.1f);
  }
}

}  // namespace

TTableWindow::TTableWindow(TTableForm& form) : TOutputWindow(form), Kind(form) {
  SetSpecificCaption("Table");
  BuildToolBar();
  BuildMenus();
  BuildGrid();
  TablePrinter = new TTablePrinter(Kind, this);
  FollowTimer.setInterval(FollowIntervalMs);
  connect(&FollowTimer, &QTimer::timeout, this, &TTableWindow::FollowNewest);
  ShowScrollControls();
  RefreshNow();
  // Wide enough for the columns of the channels, within reason.
  const int columns = View->verticalHeader()->sizeHint().width() + View->horizontalHeader()->length() +
                      View->verticalScrollBar()->sizeHint().width() + 2 * View->frameWidth();
  resize(std::clamp(columns, 480, 960), 480);
}

void TTableWindow::BuildToolBar() {
  Tools = addToolBar("Table");
  Tools->setObjectName("ToolBar");
  Tools->setMovable(false);
  Tools->setIconSize(QSize(20, 20));
  auto button = [this](const char* name, const char* text, const char* hint, const QIcon& icon,
                       QAction** action = nullptr) {
    auto* made = new QToolButton(Tools);
    made->setObjectName(name);
    made->setText(text);
    made->setIcon(icon);
    made->setToolTip(hint);
    made->setStatusTip(hint);
    QAction* placed = Tools->addWidget(made);
    if (action) *action = placed;
    return made;
  };
  SaveButton = button("SaveButton", "Save", "Save Table", ThemedIcon("document-save", "save"));
  PasteButton = button("PasteButton", "Paste", "Copy From Clipboard",
                       ThemedIcon("edit-paste", "paste"));
  CopyButton = button("CopyButton", "Copy", "Select Data To Copy",
                      ThemedIcon("edit-copy", "copy"));
  ScrollButton = button("ScrollButton", "Auto Scroll", "", QIcon(), &ScrollButtonAction);
  PrintButton = button("PrintButton", "Print", "Print", ThemedIcon("document-print", "print"));
  HelpButton = button("HelpButton", "Help", "Help", ThemedIcon("help-contents", "help"));
  connect(SaveButton, &QToolButton::clicked, this, &TTableWindow::SaveClick);
  connect(ScrollButton, &QToolButton::clicked, this, &TTableWindow::AutoScrollClick);
  connect(CopyButton, &QToolButton::clicked, this, &TTableWindow::CopyButtonClick);
  connect(PrintButton, &QToolButton::clicked, this, &TTableWindow::PrintClick);
  SetPasteControl(PasteButton);
  // The help wiring enables Help.
  HelpButton->setEnabled(false);
  setProperty("helpContext", 31);
  HelpButton->setProperty("helpContext", 31);
}

void TTableWindow::BuildMenus() {
  auto item = [this](const char* name, const char* text) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    return action;
  };
  SaveAsTypeMenu = new QMenu("Save As &Type", this);
  SaveAsTypeMenu->menuAction()->setObjectName("SaveAsType");
  CommaTextItem = item("CommaText", "&Comma Delimited Text");
  TabTextItem = item("TabText", "&Tab Delimited Text");
  MatLabItem = item("MatLab", "MATLAB File");
  SaveAsTypeMenu->addActions({CommaTextItem, TabTextItem, MatLabItem});
  OutputMenu()->insertMenu(CopyToClipboardItem, SaveAsTypeMenu);
  RefreshItem = item("RefreshTable", "Refresh");
  PrintItem = item("Print", "&Print");
  OutputMenu()->insertActions(ClearItem, {RefreshItem, PrintItem});

  LabelsItem = item("Labels", "Labels");
  AutoScrollItem = item("AutoScroll", "Auto Scroll");
  AutoScrollItem->setCheckable(true);
  SpecificMenu()->addActions({LabelsItem, AutoScrollItem});
  TableHelpItem = item("TableHelp", "Table Help");
  HelpMenu()->addAction(TableHelpItem);

  connect(CommaTextItem, &QAction::triggered, this, &TTableWindow::CommaTextClick);
  connect(TabTextItem, &QAction::triggered, this, &TTableWindow::TabTextClick);
  connect(RefreshItem, &QAction::triggered, this, &TTableWindow::RefreshTableClick);
  connect(AutoScrollItem, &QAction::triggered, this, &TTableWindow::AutoScrollClick);
  connect(PrintItem, &QAction::triggered, this, &TTableWindow::PrintClick);
  connect(LabelsItem, &QAction::triggered, this, &TTableWindow::LabelsClick);
  CopyToClipboardItem->setEnabled(true);
  connect(CopyToClipboardItem, &QAction::triggered, this, &TTableWindow::CopyButtonClick);
  connect(MatLabItem, &QAction::triggered, this, [this] { MatLabClick(this, Kind); });
  // The help wiring enables Table Help.
  TableHelpItem->setEnabled(false);
  TableHelpItem->setProperty("helpContext", 31);
}

void TTableWindow::BuildGrid() {
  Rows = new TTableModel(Kind, this);
  View = new QTableView(OutPanel());
  View->setObjectName("QorvTable");
  View->setModel(Rows);
  auto* layout = new QVBoxLayout(OutPanel());
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(View);
  View->setEditTriggers(QAbstractItemView::NoEditTriggers);
  View->setWordWrap(false);
  View->setAlternatingRowColors(true);
  // Fixed row heights: a view over a million rows never measures one of them.
  QHeaderView* rows = View->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(View->fontMetrics().height() + 6);
  rows->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QHeaderView* columns = View->horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setHighlightSections(false);

  View->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(View, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    ColumnMenuRequested(View->viewport()->mapToGlobal(at), View->columnAt(at.x()));
  });
  columns->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(columns, &QWidget::customContextMenuRequested, this, [this, columns](const QPoint& at) {
    ColumnMenuRequested(columns->mapToGlobal(at), columns->logicalIndexAt(at));
  });
  connect(View->verticalScrollBar(), &QScrollBar::valueChanged, this, &TTableWindow::GridScrolled);
  View->viewport()->installEventFilter(this);
  View->installEventFilter(this);
}

void TTableWindow::Refresh() {
  OwnScroll = true;
  Rows->Sync();
  OwnScroll = false;
  FitColumns();
  ShowScrollState();
}

void TTableWindow::ShowScrollState() {
  const bool checked = Kind.IsAutoScrollChecked();
  AutoScrollItem->setChecked(checked);
  if (ShownImage != (checked ? 3 : 2)) {
    ShownImage = checked ? 3 : 2;
    ScrollButton->setIcon(QorvIcon(checked ? "table-scroll-on" : "table-scroll-off"));
    const QString hint = checked ? "Disable Active Scrolling" : "Enable Active Scrolling";
    ScrollButton->setToolTip(hint);
    ScrollButton->setStatusTip(hint);
  }
  const bool follow = Kind.IsLive() && Kind.GetAutoScroll() && isVisible();
  if (!follow)
    FollowTimer.stop();
  else if (!FollowTimer.isActive())
    FollowTimer.start();
}

void TTableWindow::ShowScrollControls() {
  const bool live = Kind.IsLive();
  ScrollButtonAction->setVisible(live);
  AutoScrollItem->setVisible(live);
  ShowScrollState();
}

void TTableWindow::AfterOffLine() { ShowScrollControls(); }

void TTableWindow::ShowRequested(TOutputForm& form) {
  if (Kind.IsLive()) Kind.SetAutoScrollChecked(Kind.IsAutoScrollChecked());
  TOutputWindow::ShowRequested(form);
  ShowScrollState();
}

void TTableWindow::showEvent(QShowEvent* event) {
  if (Kind.IsLive()) Kind.SetAutoScrollChecked(Kind.IsAutoScrollChecked());
  TOutputWindow::showEvent(event);
  BringNewestIntoView(true);
}

void TTableWindow::hideEvent(QHideEvent* event) {
  TOutputWindow::hideEvent(event);
  FollowTimer.stop();
}

void TTableWindow::FollowNewest() { BringNewestIntoView(false); }

void TTableWindow::BringNewestIntoView(bool always) {
  if (!Kind.GetAutoScroll() || Rows->rowCount() == 0) return;
  // Without new rows the user may look wherever: the timer moves only to rows that came.
  if (!always && Rows->rowCount() == FollowedRows) return;
  FollowedRows = Rows->rowCount();
  OwnScroll = true;
  View->scrollToBottom();
  OwnScroll = false;
}

void TTableWindow::GridScrolled(int value) {
  if (OwnScroll || !Kind.IsLive() || !Kind.GetAutoScroll() || !IsRunActive()) return;
  // At the bottom the newest row is still in view: the grid grew or shrank under it.
  if (value >= View->verticalScrollBar()->maximum()) return;
  Kind.SetAutoScrollChecked(false);
  ShowScrollState();
}

void TTableWindow::AutoScrollClick() {
  Kind.SetAutoScrollChecked(!Kind.IsAutoScrollChecked());
  ShowScrollState();
  BringNewestIntoView(true);
}

void TTableWindow::ClearClick() {
  const TMessageBox box =
      QuestionBoxOf(ClearQuestion, "Qorv Warning", TMessageKind::Warning, mbYes | mbNo, mbNone);
  if (UserDialogs().Message(this, box) != mbYes) return;
  Kind.ClearAllData();
  RefreshNow();
}

void TTableWindow::CommaTextClick() { ExportTableText(Kind, ","); }

void TTableWindow::TabTextClick() { ExportTableText(Kind, "\t"); }

void TTableWindow::RefreshTableClick() {
  RefreshNow();
  View->viewport()->update();
}

void TTableWindow::FitColumns() {
  QStringList fitted;
  for (int c = 0; c < Rows->columnCount(); ++c)
    fitted << Rows->headerData(c, Qt::Horizontal).toString();
  const int notation = Kind.GetNumberFormat();
  const int decimals = Kind.GetDecimalPlaces();
  fitted << QString::fromStdString(NumberText::IntToText(notation))
         << QString::fromStdString(NumberText::IntToText(decimals));
  if (fitted == FittedTo) return;
  FittedTo = fitted;
  const QString sample =
      QString::fromStdString(FormatValue(SampleValue(notation), TValueFormat{notation, decimals}));
  // Room for the cell's margins and a little air between the numbers of two columns.
  const int padding = 2 * View->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, View) + 16;
  const int number = View->fontMetrics().horizontalAdvance(sample);
  const QFontMetrics headers = View->horizontalHeader()->fontMetrics();
  for (int c = 0; c < Rows->columnCount(); ++c)
    View->setColumnWidth(
        c, std::max(number, headers.horizontalAdvance(FittedTo[c])) + padding);
}

void TTableWindow::ColumnMenuRequested(const QPoint& at, int column) {
  EndMove();
  QMenu menu(this);
  if (FillColumnMenu(menu, column)) menu.exec(at);
}

bool TTableWindow::FillColumnMenu(QMenu& menu, int column) {
  const TTableModel::TColumn shown = Rows->ColumnAt(column);
  if (shown.Set < 0 || shown.Set >= Kind.SeriesCount()) return false;
  const std::int32_t set = shown.Set;
  const bool plain = !Kind.GetSeries(set).IsOutputDataSet;
  QAction* hide = menu.addAction("Hide Column", this, [this, column] { HideColumnClick(column); });
  hide->setObjectName("HideColumn");
  QAction* move = menu.addAction("Move Data Set", this, [this, set] { MoveDataSetClick(set); });
  move->setObjectName("MoveDataSet");
  move->setVisible(plain);
  QAction* remove =
      menu.addAction("Delete Data Set", this, [this, set] { DeleteDataSetClick(set); });
  remove->setObjectName("DeleteDataSet");
  remove->setVisible(plain);
  return true;
}

void TTableWindow::HideColumnClick(int column) {
  const TTableModel::TColumn shown = Rows->ColumnAt(column);
  if (shown.Set < 0 || shown.Set >= Kind.SeriesCount()) return;
  Kind.ShowColumn(shown.Set, shown.X, false);
  RefreshNow();
}

void TTableWindow::DeleteDataSetClick(std::int32_t set) {
  if (set < 0 || set >= Kind.SeriesCount()) return;
  const TTableDataSet& data = Kind.GetSeries(set);
  QORV_ASSERT(!data.IsOutputDataSet);
  const TMessageBox box =
      QuestionBoxOf("You are about to delete " + data.Name + ".\rDo you really want to do this?",
                    "Qorv Table warning", TMessageKind::Warning, mbYes | mbNo, mbNone);
  if (UserDialogs().Message(this, box) != mbYes) return;
  Kind.DeleteDataSet(set);
  RefreshNow();
}

void TTableWindow::MoveDataSetClick(std::int32_t set) {
  if (set < 0 || set >= Kind.SeriesCount() || Kind.GetSeries(set).IsOutputDataSet) return;
  Moving = set;
  View->viewport()->setMouseTracking(true);
  View->viewport()->setCursor(Qt::DragMoveCursor);
}

bool TTableWindow::DropMovingDataSet(int column) {
  const std::int32_t moved = Moving;
  EndMove();
  const TTableModel::TColumn target = Rows->ColumnAt(column);
  if (moved < 0 || moved >= Kind.SeriesCount() || target.Set < 0 ||
      target.Set >= Kind.SeriesCount() || target.Set == moved)
    return false;
  // Channels' sets stay first: a plain set goes only where a plain set stands.
  if (Kind.GetSeries(moved).IsOutputDataSet || Kind.GetSeries(target.Set).IsOutputDataSet)
    return false;
  Kind.MoveDataSet(moved, target.Set);
  RefreshNow();
  return true;
}

void TTableWindow::EndMove() {
  if (Moving < 0) return;
  Moving = -1;
  View->viewport()->unsetCursor();
}

void TTableWindow::KeysFromWhatIsShown() {
  const int top = View->rowAt(0);
  if (top < 0) return;
  int bottom = View->rowAt(View->viewport()->height() - 1);
  if (bottom < 0) bottom = Rows->rowCount() - 1;
  const QModelIndex current = View->currentIndex();
  if (current.isValid() && current.row() >= top && current.row() <= bottom) return;
  const int column = current.isValid() ? current.column() : std::max(View->columnAt(0), 0);
  View->selectionModel()->setCurrentIndex(Rows->index(bottom, column), QItemSelectionModel::NoUpdate);
}

bool TTableWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == View && event->type() == QEvent::KeyPress && Moving < 0) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
      case Qt::Key_Home:
      case Qt::Key_End: KeysFromWhatIsShown(); break;
      default: break;
    }
  }
  if (Moving < 0) return TOutputWindow::eventFilter(watched, event);
  if (watched == View->viewport()) {
    if (event->type() == QEvent::MouseMove) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const TTableModel::TColumn over = Rows->ColumnAt(View->columnAt(mouse->position().toPoint().x()));
      const bool accepts = over.Set >= 0 && over.Set < Kind.SeriesCount() && over.Set != Moving &&
                           !Kind.GetSeries(over.Set).IsOutputDataSet;
      View->viewport()->setCursor(accepts ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
      return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton)
        DropMovingDataSet(View->columnAt(mouse->position().toPoint().x()));
      else
        EndMove();
      return true;
    }
  }
  if (watched == View && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    EndMove();
    return true;
  }
  return TOutputWindow::eventFilter(watched, event);
}
