// The graph window's exports: the series as comma or tab text files, the chart as a
// picture file, on the clipboard (text, bitmap, SVG) and on the printer, and the copy
// band that chooses a range of X on the chart.
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPrinter>

#include <array>

#include "model/ui_port.h"
#include "outputs/graph_form.h"
#include "outputs/graph_text.h"
#include "outputs/ui/chart.h"
#include "outputs/ui/copy_data_dialog.h"
#include "outputs/ui/graph_window.h"
#include "scripts/experiment_thread.h"
#include "shell/ui/user_dialogs.h"

namespace {

// The picture kinds in the order of the save dialog's filters after "All".
constexpr std::array<const char*, 5> PictureExtensions{"png", "bmp", "jpg", "pdf", "svg"};

}  // namespace

const char* const TGraphWindow::PictureFilter =
    "All (*.png;*.bmp;*.jpg;*.pdf;*.svg)|*.png;*.bmp;*.jpg;*.jpeg;*.pdf;*.svg|"
    "PNG (*.png)|*.png|Bitmaps (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg;*.jpeg|PDF (*.pdf)|*.pdf|"
    "SVG (*.svg)|*.svg";

void TGraphWindow::CommaDelimitedClick() {
  if (Form()) ExportGraphComma(Kind);
}

void TGraphWindow::TabDelimitedClick() {
  if (Form()) ExportGraphTab(Kind);
}

bool TGraphWindow::SavePicture(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  Redraw(false);
  if (suffix == QLatin1String("svg")) return Pchart->SaveToSvgFile(path);
  if (suffix == QLatin1String("pdf")) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(windowTitle());
    return Pchart->Print(printer) && QFileInfo(path).size() > 0;
  }
  return Pchart->SaveToBitmapFile(path);
}

void TGraphWindow::GraphicClick() {
  if (!Form()) return;
  TFileChoice choice;
  choice.Save = true;
  choice.Filter = PictureFilter;
  choice.FileName = Kind.GetName();
  if (!UserDialogs().ChooseFile(this, choice) || choice.FileName.empty()) return;
  QString path = QString::fromStdString(choice.FileName);
  const QFileInfo info(path);
  // A name without a suffix takes the chosen kind's.
  const int kind = choice.FilterIndex - 2;
  if (!info.fileName().contains(QLatin1Char('.')) && kind >= 0 &&
      kind < static_cast<int>(PictureExtensions.size()))
    path += QLatin1Char('.') + QLatin1String(PictureExtensions[static_cast<std::size_t>(kind)]);
  const QString suffix = QFileInfo(path).suffix().toLower();
  const bool known = suffix == QLatin1String("jpeg") ||
                     std::any_of(PictureExtensions.begin(), PictureExtensions.end(),
                                 [&](const char* e) { return suffix == QLatin1String(e); });
  if (!known) {
    UiPort().ShowMessage("Invalid Extention", "", TMessageKind::Warning);
    return;
  }
  if (!SavePicture(path))
    UiPort().ShowMessage("Error writing to file", "", TMessageKind::Error);
}

void TGraphWindow::CopyRanges(const std::vector<TCopyObject>& ranges) {
  CopyRangesToClipboard(this, ranges, true, TGraphCopySource(Kind));
}

void TGraphWindow::TextClipClick() {
  if (!Form()) return;
  if (Kind.SeriesCount() == 0) {
    UiPort().ShowMessage("Nothing to copy", "", TMessageKind::Information);
    return;
  }
  CopyRanges(WholeSeriesRanges(Kind));
  EndCopyMode();
}

void TGraphWindow::BitmapClipClick() {
  if (!Form()) return;
  QApplication::clipboard()->clear();
  Redraw(false);
  Pchart->CopyToClipboardBitmap();
}

void TGraphWindow::SvgClipClick() {
  if (!Form()) return;
  QApplication::clipboard()->clear();
  Redraw(false);
  Pchart->CopyToClipboardMetafile(true);
}

void TGraphWindow::PrintClick() {
  if (!Form()) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName("Qorv: " + windowTitle());
  if (!UserDialogs().SetUpPrinter(this, printer)) return;
  if (!Pchart->Print(printer))
    UiPort().ShowMessage("The printer could not start printing.", "", TMessageKind::Error);
}

bool TGraphWindow::InCopyMode() const { return CopyButton->isChecked(); }

void TGraphWindow::CopyButtonClick() {
  if (!Form()) return;
  if (IsRunActive()) {
    UiPort().ShowMessage("Cannot copy while running", "", TMessageKind::Information);
    EndCopyMode();
    return;
  }
  HideValuePanel();
  Pchart->SetAllowZoom(false);
  CopyButton->setChecked(true);
  ZoomInButton->setEnabled(false);
  ZoomOutButton->setEnabled(false);
  Pchart->PlotWidget()->setCursor(Qt::CrossCursor);
  ModePanel->setText("Copy");
}

void TGraphWindow::EndCopyMode() {
  Dragging = false;
  BandMoved = false;
  for (QFrame* line : BandLines)
    if (line) line->hide();
  if (InCopyMode()) CursorButton->setChecked(true);
  Pchart->PlotWidget()->unsetCursor();
  ZoomInButton->setEnabled(true);
  UpdateButtons();
  Pchart->Repaint();
}

void TGraphWindow::DrawBand() {
  const QRect area = Pchart->PlotRect();
  for (int i = 0; i < 2; ++i) {
    QFrame*& line = BandLines[i];
    if (!line) {
      line = new QFrame(Pchart->PlotWidget());
      line->setObjectName(i == 0 ? "BandLeft" : "BandRight");
      line->setAutoFillBackground(true);
      QPalette palette = line->palette();
      palette.setColor(QPalette::Window, Qt::red);
      line->setPalette(palette);
      line->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    const int x = i == 0 ? BandLeft : BandRight;
    line->setGeometry(x - 2, area.top(), 5, area.height());
    line->setVisible(x != NotDrawn);
    line->raise();
  }
}

void TGraphWindow::ChartMouseDown(QMouseEvent* event) {
  if (!Form() || !InCopyMode() || event->button() != Qt::LeftButton || Pchart->AllowZoom())
    return;
  BandLeft = event->position().toPoint().x();
  BandRight = NotDrawn;
  Dragging = true;
  BandMoved = false;
}

void TGraphWindow::BandMove(QMouseEvent* event) {
  BandRight = event->position().toPoint().x();
  BandMoved = true;
  DrawBand();
}

void TGraphWindow::ChartMouseUp(QMouseEvent* event) {
  if (!Form() || !InCopyMode()) return;
  const bool moved = Dragging && BandMoved;
  Dragging = false;
  BandMoved = false;
  if (!moved || event->button() != Qt::LeftButton) return;
  if (BandLeft > BandRight) std::swap(BandLeft, BandRight);
  DrawBand();
  if (Kind.SeriesCount() == 0 || Pchart->SeriesCount() == 0) {
    UiPort().ShowMessage("Nothing to copy", "", TMessageKind::Information);
  } else {
    // Every series shares the bottom axis: one conversion serves them all.
    const TLineSeries* first = Pchart->GetSeries(0);
    CopyRanges(BandRanges(Kind, first->XScreenToValue(BandLeft), first->XScreenToValue(BandRight)));
  }
  EndCopyMode();
}
