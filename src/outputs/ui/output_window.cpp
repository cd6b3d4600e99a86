#include "outputs/ui/output_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QShowEvent>

#include <memory>

#include "model/ui_port.h"
#include "outputs/dead_output_list.h"
#include "outputs/output_file.h"
#include "outputs/transfer_text.h"
#include "outputs/ui/import_dialog.h"
#include "outputs/ui/mat_import_dialog.h"
#include "outputs/ui/number_format_dialog.h"
#include "scripts/experiment_thread.h"
#include "shell/ui/user_dialogs.h"

TOutputWindow::TOutputWindow(TOutputForm& form) : QMainWindow(nullptr), PForm(&form) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  Panel = new QWidget(this);
  Panel->setObjectName("OutPanel");
  setCentralWidget(Panel);

  OutputMenuPtr = menuBar()->addMenu("&Output");
  OutputMenuPtr->setObjectName("Output");
  auto item = [this](QMenu* menu, const char* name, const char* text) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
  };
  SaveItem = item(OutputMenuPtr, "Save", "&Save");
  SaveAsItem = item(OutputMenuPtr, "SaveAs", "Save &As");
  CopyToClipboardItem = item(OutputMenuPtr, "CopyToClipboard", "&Copy To Clipboard");
  CopyToClipboardItem->setShortcut(QKeySequence("Ctrl+C"));
  ImportDataMenu = OutputMenuPtr->addMenu("&Import");
  ImportDataMenu->menuAction()->setObjectName("ImportData");
  ImportTextFileItem = item(ImportDataMenu, "ImportTextFile", "&Text File");
  ImportMatLabFileItem = item(ImportDataMenu, "ImportMatLabFile", "&MATLAB File");
  OutputMenuPtr->addSeparator();
  ClearItem = item(OutputMenuPtr, "Clear", "C&lear");
  OffLineItem = item(OutputMenuPtr, "OffLine", "&OffLine");
  SpecificMenuPtr = menuBar()->addMenu("");
  SpecificMenuPtr->setObjectName("Specific");
  NumberFormatItem = item(SpecificMenuPtr, "NumberFormat", "&Number Format");
  HelpMenuPtr = menuBar()->addMenu("&Help");
  HelpMenuPtr->setObjectName("Help");
  OutputHelpItem = item(HelpMenuPtr, "OutputHelp", "&Output Help");

  // Copying comes with the data-exchange windows; text and MAT files import into the
  // windows that take data sets.
  CopyToClipboardItem->setEnabled(false);
  ImportDataMenu->menuAction()->setEnabled(form.CanPaste());
  // F1 and the help items open the help at the window's context (the outputs' page, until
  // a kind names its own); the help wiring enables the items.
  setProperty("helpContext", 17);
  OutputHelpItem->setProperty("helpContext", 17);
  OutputHelpItem->setEnabled(false);

  connect(SaveItem, &QAction::triggered, this, &TOutputWindow::SaveClick);
  connect(SaveAsItem, &QAction::triggered, this, &TOutputWindow::SaveAsClick);
  connect(ClearItem, &QAction::triggered, this, &TOutputWindow::ClearClick);
  connect(OffLineItem, &QAction::triggered, this, &TOutputWindow::OffLineClick);
  connect(NumberFormatItem, &QAction::triggered, this, &TOutputWindow::NumberFormatClick);
  connect(ImportMatLabFileItem, &QAction::triggered, this, &TOutputWindow::ImportMatLabFileClick);
  connect(ImportTextFileItem, &QAction::triggered, this, &TOutputWindow::ImportTextFileClick);
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
          &TOutputWindow::UpdatePasteControl);
  // A run may start or end while the window is not redrawn: the Output menu's items
  // follow it whenever the menu opens.
  connect(OutputMenuPtr, &QMenu::aboutToShow, this, &TOutputWindow::UpdateCommonItems);

  Pacer.setSingleShot(true);
  Pacer.setInterval(RefreshIntervalMs);
  connect(&Pacer, &QTimer::timeout, this, [this] {
    if (Stale) RefreshNow();
  });

  form.SetView(this);
  setWindowTitle(QString::fromStdString(form.GetCaption()));
  UpdateCommonItems();
}

TOutputWindow::~TOutputWindow() {
  if (PForm && PForm->GetView() == this) PForm->SetView(nullptr);
}

void TOutputWindow::Changed(TOutputForm&) { ScheduleRefresh(); }

void TOutputWindow::ShowRequested(TOutputForm&) {
  show();
  raise();
  activateWindow();
}

void TOutputWindow::HideRequested(TOutputForm&) { hide(); }

bool TOutputWindow::IsVisible(const TOutputForm&) const { return isVisible(); }

void TOutputWindow::BringToFrontRequested(TOutputForm&) {
  // Above the other windows without taking the focus from the one the user works in.
  raise();
}

void TOutputWindow::ShowInFrontRequested(TOutputForm& form) {
  if (!isVisible()) {
    // A run's start shows the windows: the keys (Ctrl+S stops) stay with the main window.
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
  }
  BringToFrontRequested(form);
}

void TOutputWindow::FormDestroyed(TOutputForm&) {
  PForm = nullptr;
  Pacer.stop();
  hide();
  deleteLater();
}

void TOutputWindow::ScheduleRefresh() {
  Stale = true;
  // A hidden window draws when it shows; a visible one at most once per interval.
  if (isVisible() && !Pacer.isActive()) Pacer.start();
}

void TOutputWindow::RefreshNow() {
  Stale = false;
  if (!PForm) return;
  setWindowTitle(QString::fromStdString(PForm->GetCaption()));
  UpdateCommonItems();
  Refresh();
}

void TOutputWindow::UpdateCommonItems() {
  if (!PForm) return;
  OffLineItem->setEnabled(PForm->IsLive());
  ClearItem->setEnabled(!IsRunActive());
}

void TOutputWindow::SetSpecificCaption(const QString& caption) {
  SpecificMenuPtr->setTitle(caption);
}

void TOutputWindow::SaveClick() {
  if (!PForm) return;
  SaveTo(PForm->GetOutputFileName());
}

void TOutputWindow::SaveAsClick() {
  if (!PForm) return;
  SaveTo(PForm->AskOutputFileName());
}

void TOutputWindow::SaveTo(const std::string& fileName) {
  if (PForm) SaveOutputFile(*PForm, fileName);
}

void TOutputWindow::ClearClick() {
  // A run feeds the window meanwhile: the item is disabled then, and a click that
  // reaches here all the same does nothing.
  if (!PForm || IsRunActive()) return;
  PForm->ClearOutput();
  RefreshNow();
}

void TOutputWindow::OffLineClick() {
  if (!PForm || !PForm->IsLive()) return;
  // Only the main window's list can take the window.
  TDeadOutputList* list = MainDeadOutputList();
  if (!list) return;
  std::unique_ptr<TOutputForm> self = PForm->TakeOffLine(list);
  if (!self) return;  // a run is active: its message has been shown
  list->AddForm(std::move(self));
  QPalette inactive = palette();
  inactive.setColor(QPalette::Window, InactiveCaptionColor());
  setPalette(inactive);
  setAutoFillBackground(true);
  AfterOffLine();
  RefreshNow();
}

QColor TOutputWindow::InactiveCaptionColor() { return QColor(191, 205, 219); }

void TOutputWindow::NumberFormatClick() {
  if (!PForm) return;
  TNumberFormatForm dialog(this);
  if (!dialog.Execute(PForm->GetNumberFormat(), PForm->GetDecimalPlaces())) return;
  PForm->SetNumberFormat(dialog.Kind(), dialog.DecimalPlaces());
  RefreshNow();
}

void TOutputWindow::ImportMatLabFileClick() {
  const std::unique_ptr<TTransferData> data = ExecuteImportMatLab(this);
  if (data && PForm) PForm->ImportData(data.get());
}

void TOutputWindow::ImportTextFileClick() {
  if (!PForm) return;
  const std::string path =
      ChooseFile(false, "Text files (*.txt)|*.txt|All Files (*.*)|*.*", "", "", "");
  if (path.empty()) return;
  std::string text;
  if (!ReadTextFile(path, text)) {
    UserDialogs().Message(this, MessageBoxOf("Error opening file", "", TMessageKind::Error));
    return;
  }
  ImportText(text);
}

void TOutputWindow::ImportText(const std::string& text) {
  std::unique_ptr<TTransferData> data = ImportLines(this, SplitTextLines(text));
  // The window may have gone while the wizard was open.
  if (data && PForm) PForm->ImportData(data.get());
}

bool TOutputWindow::ClipboardHasText() {
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  return mime && mime->hasText();
}

void TOutputWindow::PasteButtonClick() {
  if (IsRunActive()) {
    UserDialogs().Message(this, MessageBoxOf("Cannot paste while running", "",
                                             TMessageKind::Information));
    return;
  }
  if (ClipboardHasText()) PasteFromClipboard();
}

void TOutputWindow::PasteFromClipboard() {
  if (!PForm || !ClipboardHasText()) return;
  std::unique_ptr<TTransferData> data =
      ReadOutputTransferText(QGuiApplication::clipboard()->text().toStdString());
  if (!data) data = ImportClipboard(this);
  if (data && PForm) PForm->ImportData(data.get());
}

void TOutputWindow::SetPasteControl(QAction* action) {
  EnablePaste = [action = QPointer<QAction>(action)](bool on) {
    if (action) action->setEnabled(on);
  };
  connect(action, &QAction::triggered, this, &TOutputWindow::PasteButtonClick);
  UpdatePasteControl();
}

void TOutputWindow::SetPasteControl(QAbstractButton* button) {
  EnablePaste = [button = QPointer<QAbstractButton>(button)](bool on) {
    if (button) button->setEnabled(on);
  };
  connect(button, &QAbstractButton::clicked, this, &TOutputWindow::PasteButtonClick);
  UpdatePasteControl();
}

void TOutputWindow::UpdatePasteControl() {
  if (EnablePaste) EnablePaste(ClipboardHasText());
}

void TOutputWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) UpdatePasteControl();
}

void TOutputWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  RefreshNow();
}

void TOutputWindow::closeEvent(QCloseEvent* event) {
  // Closing only hides: the form, and so the window, belong to the output or the list.
  event->ignore();
  hide();
}
