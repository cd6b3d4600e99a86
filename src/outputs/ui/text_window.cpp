#include "outputs/ui/text_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "model/ui_port.h"
#include "outputs/text_file.h"
#include "outputs/text_form.h"
#include "outputs/text_print_layout.h"
#include "outputs/ui/font_settings.h"
#include "outputs/ui/set_text_dialog.h"
#include "shell/ui/icons.h"
#include "shell/ui/user_dialogs.h"

namespace {

QString LinesText(const std::vector<std::string>& lines, std::size_t first) {
  QString text;
  for (std::size_t i = first; i < lines.size(); ++i) {
    if (i > first) text += '\n';
    text += QString::fromStdString(lines[i]);
  }
  return text;
}

}  // namespace

TTextWindow::TTextWindow(TTextForm& form) : TOutputWindow(form), Kind(form) {
  SetSpecificCaption("Text");

  RichEdit = new QPlainTextEdit(OutPanel());
  RichEdit->setObjectName("RichEdit");
  RichEdit->setReadOnly(true);
  RichEdit->setUndoRedoEnabled(false);
  auto* layout = new QVBoxLayout(OutPanel());
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(RichEdit);

  auto item = [](QMenu* menu, const char* name, const char* text) {
    QAction* action = new QAction(text, menu);
    action->setObjectName(name);
    return action;
  };
  SaveAsTextItem = item(OutputMenu(), "SaveAsText", "Save As &Text");
  PrintItem = item(OutputMenu(), "Print", "&Print");
  OutputMenu()->insertActions(CopyToClipboardItem, {SaveAsTextItem, PrintItem});
  CopyToClipboardItem->setEnabled(true);

  TitleItem = item(SpecificMenu(), "Title", "T&itle");
  FontMenuItem = item(SpecificMenu(), "FontMenuItem", "&Font");
  HelpMenuItem = item(SpecificMenu(), "HelpMenuItem", "Help");
  SpecificMenu()->addActions({TitleItem, FontMenuItem, HelpMenuItem});
  TextHelpItem = item(HelpMenu(), "TextHelp", "&Text Help");
  HelpMenu()->addAction(TextHelpItem);

  ToolBar = addToolBar("Text");
  ToolBar->setObjectName("ToolBar");
  ToolBar->setMovable(false);
  ToolBar->setIconSize(QSize(20, 20));
  auto button = [this](const char* name, const char* hint, const QIcon& icon) {
    QAction* action = ToolBar->addAction(icon, hint);
    action->setObjectName(name);
    action->setToolTip(hint);
    return action;
  };
  SaveButton = button("SaveButton", "Save File", ThemedIcon("document-save", "save"));
  ToolBar->addSeparator();
  PasteButton = button("PasteButton", "Paste", ThemedIcon("edit-paste", "paste"));
  ToolBar->addSeparator();
  PrintButton = button("PrintButton", "Print", ThemedIcon("document-print", "print"));
  ToolBar->addSeparator();
  FontButton = button("FontButton", "Change Font", ThemedIcon("preferences-desktop-font", "font"));
  ToolBar->addSeparator();
  HelpButton = button("HelpButton", "Text Help", ThemedIcon("help-contents", "help"));

  // Paste adds pasted data sets as text, as the other windows add them as sets; the help
  // wiring enables the help items.
  SetPasteControl(PasteButton);
  setProperty("helpContext", 29);
  for (QAction* help : {HelpMenuItem, TextHelpItem, HelpButton}) {
    help->setProperty("helpContext", 29);
    help->setEnabled(false);
  }

  connect(SaveButton, &QAction::triggered, this, &TTextWindow::SaveClick);
  connect(SaveAsTextItem, &QAction::triggered, this, &TTextWindow::SaveAsTextClick);
  connect(CopyToClipboardItem, &QAction::triggered, this, &TTextWindow::CopyToClipboardClick);
  for (QAction* print : {PrintItem, PrintButton})
    connect(print, &QAction::triggered, this, &TTextWindow::PrintClick);
  for (QAction* font : {FontMenuItem, FontButton})
    connect(font, &QAction::triggered, this, &TTextWindow::FontClick);
  connect(TitleItem, &QAction::triggered, this, &TTextWindow::TitleClick);

  // Wide enough for a caption and a few columns of numbers.
  resize(480, 360);
  Refresh();
}

void TTextWindow::Refresh() {
  ApplyTextStyle();
  const std::vector<std::string>& lines = Kind.GetLines();
  if (Kind.GetResetCount() != ShownResets || lines.size() < ShownLines) {
    if (ShownLines > 0) RichEdit->clear();
    ShownResets = Kind.GetResetCount();
    ShownLines = 0;
  }
  if (lines.size() == ShownLines) return;
  QScrollBar* bar = RichEdit->verticalScrollBar();
  const bool following = bar->value() >= bar->maximum();
  RichEdit->appendPlainText(LinesText(lines, ShownLines));
  ShownLines = lines.size();
  if (following) bar->setValue(bar->maximum());
}

void TTextWindow::ApplyTextStyle() {
  const TTextComponent& control = Kind.GetRichEdit();
  const QFont font = FontOf(control.Font);
  if (RichEdit->font() != font) RichEdit->setFont(font);
  QPalette colours = RichEdit->palette();
  if (const QColor back = ColorOf(control.Color); back.isValid())
    colours.setColor(QPalette::Base, back);
  if (const QColor text = ColorOf(control.Font.Color); text.isValid())
    colours.setColor(QPalette::Text, text);
  if (RichEdit->palette() != colours) RichEdit->setPalette(colours);
}

void TTextWindow::SaveAsTextClick() { SaveTextFile(Kind, AskTextFileName()); }

void TTextWindow::CopyToClipboardClick() {
  QGuiApplication::clipboard()->setText(LinesText(Kind.GetLines(), 0));
}

void TTextWindow::ImportText(const std::string& text) { Kind.AddText(text); }

void TTextWindow::ClearClick() {
  const TMessageButton answer =
      UiPort().Ask(std::string("Warning, you will lose all your data if you press yes!\r") +
                       "Do you wish to continue?",
                   "Qorv Warning", TMessageKind::Warning, mbYes | mbNo);
  if (answer == mbYes) TOutputWindow::ClearClick();
}

void TTextWindow::TitleClick() {
  std::string title = Kind.GetName();
  if (ExecuteSetTextForm(this, title)) Kind.Rename(title);
  RefreshNow();
}

void TTextWindow::FontClick() {
  TTextComponent& control = Kind.GetRichEdit();
  QFont font = FontOf(control.Font);
  if (!UserDialogs().ChooseFont(this, font)) return;
  control.Font = FontSettingsOf(font, control.Font);
  RefreshNow();
}

void TTextWindow::PrintClick() {
  QPrinter printer(QPrinter::HighResolution);
  if (!UserDialogs().SetUpPrinter(this, printer)) return;
  if (!PrintTo(printer))
    UiPort().ShowMessage("The printer could not start printing.", "", TMessageKind::Error);
}

bool TTextWindow::PrintTo(QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const TFontSettings& settings = Kind.GetRichEdit().Font;
  const QFont font = FontOf(settings);
  painter.setFont(QFont(font, &printer));
  if (const QColor colour = ColorOf(settings.Color); colour.isValid()) painter.setPen(colour);
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int screenDpi = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
  const TTextPrintLayout layout(font.pointSize(), printer.logicalDpiY(), screenDpi,
                                printer.height());
  // Lines are placed by their tops, as the layout counts them.
  const int ascent = painter.fontMetrics().ascent();
  const QString caption = QString::fromStdString(Kind.GetCaption());
  const int captionX = (printer.width() - painter.fontMetrics().horizontalAdvance(caption)) / 2;
  painter.drawText(std::max(captionX, 0), layout.CaptionY() + ascent, caption);
  const std::vector<std::string>& lines = Kind.GetLines();
  std::int32_t page = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const TPrintPlace place = layout.Place(i);
    if (place.Page != page) {
      if (!printer.newPage()) return false;
      page = place.Page;
    }
    painter.drawText(0, place.Y + ascent, QString::fromStdString(lines[i]));
  }
  return painter.end();
}
