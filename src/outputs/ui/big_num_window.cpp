#include "outputs/ui/big_num_window.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include <algorithm>

#include "model/ui_port.h"
#include "outputs/big_num_form.h"
#include "outputs/ui/font_settings.h"
#include "outputs/ui/log_to_file_dialog.h"
#include "outputs/ui/set_text_dialog.h"
#include "shell/ui/user_dialogs.h"

namespace {

// The room above and below the label that the window keeps.
constexpr int LabelMargin = 5;
// The width of a value as runs usually show one, for an empty label.
const QString TypicalValue = QStringLiteral("-0000.000");

}  // namespace

// The status panel: a long path is shortened in its middle to the panel's width rather
// than widening the window; the whole text is the panel's tool tip.
class TBigNumWindow::TStatusPanel : public QLabel {
public:
  using QLabel::QLabel;
  const QString& FullText() const { return Full; }
  void SetFullText(const QString& text) {
    Full = text;
    setToolTip(text);
    Elide();
  }

protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    Elide();
  }

private:
  void Elide() {
    const int room = std::max(contentsRect().width(), 1);
    setText(fontMetrics().elidedText(Full, Qt::ElideMiddle, room));
  }
  QString Full;
};

TBigNumWindow::TBigNumWindow(TBigNumForm& form) : TOutputWindow(form), Kind(form) {
  SetSpecificCaption("&BigNum");
  setMinimumSize(290, 80);

  DataLabel = new QLabel(OutPanel());
  DataLabel->setObjectName("DataLabel");
  DataLabel->setAlignment(Qt::AlignCenter);
  DataLabel->setTextFormat(Qt::PlainText);
  DataLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QGridLayout(OutPanel());
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(DataLabel, 0, 0, Qt::AlignCenter);
  OutPanel()->setAutoFillBackground(true);

  statusBar()->setObjectName("StatusBar");
  StatusPanel = new TStatusPanel(statusBar());
  StatusPanel->setObjectName("StatusPanel");
  // A long path must not widen the window.
  StatusPanel->setMinimumWidth(1);
  StatusPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  statusBar()->addWidget(StatusPanel, 1);

  // A big number takes no imported data sets.
  ImportDataMenu->menuAction()->setVisible(false);
  CopyToClipboardItem->setEnabled(true);
  connect(CopyToClipboardItem, &QAction::triggered, this, &TBigNumWindow::CopyToClipboardClick);

  auto item = [](QMenu* menu, const char* name, const char* text) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
  };
  TitleItem = item(SpecificMenu(), "Title", "&Title");
  FontMenuItem = item(SpecificMenu(), "FontMenuItem", "&Font");
  SpecificMenu()->addSeparator();
  LogToFileMenu = SpecificMenu()->addMenu("Log Data To File");
  LogToFileMenu->setObjectName("LogToFileMenu");
  LogToFileMenu->menuAction()->setObjectName("LogToFile");
  LogToFileMenu->menuAction()->setCheckable(true);
  EnableLoggingItem = item(LogToFileMenu, "EnableLogging", "Enable");
  EditLogParametersItem = item(LogToFileMenu, "EditLogParameters", "Edit Log File Parameters");
  BigNumHelpItem = item(HelpMenu(), "BigNumHelp", "&BigNum Help");
  setProperty("helpContext", 30);
  BigNumHelpItem->setProperty("helpContext", 30);
  BigNumHelpItem->setEnabled(false);  // the help wiring enables it

  connect(TitleItem, &QAction::triggered, this, &TBigNumWindow::TitleClick);
  connect(FontMenuItem, &QAction::triggered, this, &TBigNumWindow::FontClick);
  connect(EnableLoggingItem, &QAction::triggered, this, &TBigNumWindow::EnableLoggingClick);
  connect(EditLogParametersItem, &QAction::triggered, this,
          &TBigNumWindow::EditLogParametersClick);
  connect(LogToFileMenu, &QMenu::aboutToShow, this, &TBigNumWindow::UpdateLogItems);

  ApplyLabelStyle();
  Refresh();
  FitToLabel();
}

QString TBigNumWindow::StatusText() const { return StatusPanel->FullText(); }

void TBigNumWindow::Refresh() {
  ApplyLabelStyle();
  DataLabel->setText(QString::fromStdString(Kind.GetValue()));
  // The number is never cut: the window grows to a wider value, and stays so for the
  // values after it, so that it does not jump with every value.
  OutPanel()->setMinimumSize(LabelExtent(false) + Margin());
  resize(size().expandedTo(minimumSizeHint()));
  const QString status = QString::fromStdString(Kind.GetStatusText());
  if (status != StatusPanel->FullText()) StatusPanel->SetFullText(status);
  UpdateLogItems();
}

void TBigNumWindow::ApplyLabelStyle() {
  const TTextComponent& label = Kind.GetLabel();
  const QFont font = FontOf(label.Font);
  if (DataLabel->font() != font) DataLabel->setFont(font);
  QPalette panel = palette();
  if (const QColor back = ColorOf(label.Color); back.isValid())
    panel.setColor(QPalette::Window, back);
  if (const QColor text = ColorOf(label.Font.Color); text.isValid())
    panel.setColor(QPalette::WindowText, text);
  if (OutPanel()->palette() != panel) OutPanel()->setPalette(panel);
}

QSize TBigNumWindow::LabelExtent(bool typical) const {
  const QString text = DataLabel->text().isEmpty() && typical ? TypicalValue : DataLabel->text();
  return DataLabel->fontMetrics().size(Qt::TextSingleLine, text);
}

QSize TBigNumWindow::Margin() const {
  // Beside the digits, half a character each side, so that they never touch the frame.
  return {std::max(DataLabel->fontMetrics().averageCharWidth(), LabelMargin), LabelMargin};
}

void TBigNumWindow::FitToLabel() {
  const QSize margin = Margin();
  OutPanel()->setMinimumSize(LabelExtent(true) + margin);
  resize(minimumSizeHint().expandedTo(minimumSize()));
  OutPanel()->setMinimumSize(LabelExtent(false) + margin);
}

void TBigNumWindow::UpdateLogItems() {
  const bool logging = Kind.IsLogging();
  // A detached window never logs.
  LogToFileMenu->menuAction()->setEnabled(Kind.IsLive());
  LogToFileMenu->menuAction()->setChecked(logging);
  EditLogParametersItem->setEnabled(logging);
  EnableLoggingItem->setText(QString(logging ? "Disable" : "Enable") + " Logging");
}

void TBigNumWindow::CopyToClipboardClick() {
  if (Kind.GetValue().empty()) {
    Inform("No data to put in clipboard.");
    return;
  }
  QGuiApplication::clipboard()->setText(QString::fromStdString(Kind.GetValue()));
}

void TBigNumWindow::TitleClick() {
  std::string title = Kind.GetName();
  if (ExecuteSetTextForm(this, title)) Kind.Rename(title);
  RefreshNow();
}

void TBigNumWindow::FontClick() {
  TTextComponent& label = Kind.GetLabel();
  QFont font = FontOf(label.Font);
  if (!UserDialogs().ChooseFont(this, font)) return;
  label.Font = FontSettingsOf(font, label.Font);
  RefreshNow();
  FitToLabel();
}

void TBigNumWindow::EnableLoggingClick() {
  if (!Kind.IsLive()) return;
  Kind.SetLogging(!Kind.IsLogging());
  if (Kind.IsLogging() && Kind.GetLogFileName().empty()) EditLogParametersClick();
  RefreshNow();
}

void TBigNumWindow::EditLogParametersClick() {
  if (!Kind.IsLogging()) return;
  if (!EditLogParameters(Kind, this) && Kind.GetLogFileName().empty()) Kind.SetLogging(false);
  RefreshNow();
}
