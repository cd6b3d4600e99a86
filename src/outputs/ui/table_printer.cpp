#include "outputs/ui/table_printer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QScreen>

#include <algorithm>
#include <cmath>

#include "outputs/table_form.h"
#include "outputs/table_print_layout.h"
#include "outputs/value_format.h"

namespace {

double ScreenDpi(bool x) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return 96.0;
  return x ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TTablePrinter::TTablePrinter(const TTableForm& form, QObject* parent) : QObject(parent), Form(form) {}

void TTablePrinter::SetUp(QPrinter* printer, const QString& title, const QFont& font,
                          std::function<int(std::int32_t, bool)> shownWidth) {
  Printer = printer;
  Title = title;
  Font = font;
  ShownWidth = std::move(shownWidth);
}

std::int32_t TTablePrinter::SlotWidth(std::int32_t set, bool x, bool printed, double screenDpi) const {
  const TTableDataSet& data = Form.GetSeries(set);
  if (!printed || data.Count() == 0) return 0;
  int screen = ShownWidth ? ShownWidth(set, x) : -1;
  if (screen < 0) {
    // Not in the grid: as wide as its header or its widest number, negated.
    const std::vector<float>& values = x ? data.X : data.Y;
    float largest = 0;
    for (const float v : values) largest = std::max(largest, std::abs(v));
    const QFontMetrics metrics(Font);
    const std::string number =
        FormatValue(-static_cast<double>(largest), TValueFormat{Form.GetNumberFormat(), Form.GetDecimalPlaces()});
    screen = std::max(metrics.horizontalAdvance(Text(x ? data.XName : data.YName)),
                      metrics.horizontalAdvance(Text(number)));
  }
  return PrintSlotWidth(screen, screenDpi, Printer->logicalDpiX());
}

bool TTablePrinter::OnPrintTable() {
  if (!Printer || Printing) return false;
  std::vector<std::int32_t> sets;
  for (std::int32_t s = 0; s < Form.SeriesCount(); ++s)
    if (Form.GetSeries(s).PrintX || Form.GetSeries(s).PrintY) sets.push_back(s);
  if (sets.empty()) {
    emit Finished();
    return false;
  }
  Printing = true;
  const double screenDpiX = ScreenDpi(true);
  std::vector<std::int32_t> widths;
  std::int32_t rows = 0;
  for (const std::int32_t s : sets) {
    const TTableDataSet& data = Form.GetSeries(s);
    widths.push_back(SlotWidth(s, true, data.PrintX, screenDpiX));
    widths.push_back(SlotWidth(s, false, data.PrintY, screenDpiX));
    rows = std::max(rows, data.Count());
  }
  const std::int32_t textHeight =
      PrintTextHeight(QFontMetrics(Font).height(), ScreenDpi(false), Printer->logicalDpiY());
  const TTablePrintLayout layout(textHeight, Printer->width(), Printer->height(),
                                 Printer->logicalDpiX(), widths);
  Printer->setDocName("Qorv: " + Title);
  QPainter painter;
  bool made = painter.begin(Printer);
  if (made) {
    QFont printed(Font);
    printed.setPixelSize(textHeight);
    painter.setFont(printed);
    made = Job(painter, layout, sets, rows);
    painter.end();
  }
  Printing = false;
  Page = -1;
  emit Finished();
  return made;
}

bool TTablePrinter::Job(QPainter& painter, const TTablePrintLayout& layout,
                        const std::vector<std::int32_t>& sets, std::int32_t rows) {
  PrintTitleText(painter, layout);
  DrawColumnForm(painter, layout);
  PrintHeaders(painter, layout, sets);
  Page = 1;
  emit PageStarted(Page);
  LetEventsThrough();
  QElapsedTimer sinceEvents;
  sinceEvents.start();
  // Events come through between rows: a data set removed meanwhile ends the job.
  for (std::int32_t r = 0; r < rows && Printing && sets.back() < Form.SeriesCount(); ++r) {
    const TTablePrintPlace place = layout.Place(r);
    if (place.Page + 1 > Page) {
      // Every page lets the waiting events through, a Cancel among them, however fast
      // the rows go; a cancelled job ends here, on its unnumbered page.
      LetEventsThrough();
      sinceEvents.restart();
      if (!Printing || sets.back() >= Form.SeriesCount()) break;
      // Only when a row follows: a full last page is not followed by an empty one.
      PrintPageNumber(painter, layout);
      if (!Printer->newPage()) return false;
      ++Page;
      DrawColumnForm(painter, layout);
      PrintHeaders(painter, layout, sets);
      emit PageStarted(Page);
    }
    const int y = layout.TextY(r);
    // Values keep clear of the rule on their left.
    const int inset = layout.TextHeight() / 4;
    std::size_t slot = 0;
    for (const std::int32_t s : sets) {
      const TTableDataSet& data = Form.GetSeries(s);
      if (data.PrintX && layout.Slots()[slot] > 0)
        painter.drawText(QRect(layout.SlotX(slot) + inset, y, layout.Slots()[slot] - inset, layout.TextHeight() * 2),
                         Qt::AlignLeft | Qt::AlignTop, Text(Form.GetXText(s, r)));
      ++slot;
      if (data.PrintY && layout.Slots()[slot] > 0)
        painter.drawText(QRect(layout.SlotX(slot) + inset, y, layout.Slots()[slot] - inset, layout.TextHeight() * 2),
                         Qt::AlignLeft | Qt::AlignTop, Text(Form.GetYText(s, r)));
      ++slot;
    }
    // The print-status window follows the pages and may cancel between rows.
    if (sinceEvents.elapsed() >= 20) {
      LetEventsThrough();
      sinceEvents.restart();
    }
  }
  if (Printing) PrintPageNumber(painter, layout);
  return true;
}

void TTablePrinter::LetEventsThrough() {
  // Every event waiting, not one pass: a pass may leave a due timer (the click of a
  // Cancel delivered late) behind the events it handled.
  QCoreApplication::processEvents(QEventLoop::AllEvents, EventsMilliseconds);
}

void TTablePrinter::PrintTitleText(QPainter& painter, const TTablePrintLayout& layout) const {
  const QFont table = painter.font();
  QFont title(table);
  title.setPixelSize(2 * layout.TextHeight());
  painter.setFont(title);
  // Centred in a band of two title heights that ends at the top margin.
  const int band = std::min(4 * layout.TextHeight(), layout.Top());
  painter.drawText(QRect(0, layout.Top() - band, Printer->width(), band), Qt::AlignCenter, Title);
  painter.setFont(table);
}

void TTablePrinter::DrawColumnForm(QPainter& painter, const TTablePrintLayout& layout) const {
  for (const TPrintLine& line : layout.Frame()) painter.drawLine(line.X1, line.Y1, line.X2, line.Y2);
}

void TTablePrinter::PrintHeaders(QPainter& painter, const TTablePrintLayout& layout,
                                 const std::vector<std::int32_t>& sets) const {
  std::size_t slot = 0;
  for (const std::int32_t s : sets) {
    const TTableDataSet& data = Form.GetSeries(s);
    for (const bool x : {true, false}) {
      const std::int32_t width = layout.Slots()[slot];
      if (width > 0)
        painter.drawText(QRect(layout.SlotX(slot), layout.HeaderTextY(), width, layout.TextHeight() * 2),
                         Qt::AlignHCenter | Qt::AlignTop, Text(x ? data.XName : data.YName));
      ++slot;
    }
  }
}

void TTablePrinter::PrintPageNumber(QPainter& painter, const TTablePrintLayout& layout) const {
  painter.drawText(QRect(0, layout.PageNumberY(), Printer->width(), layout.TextHeight() * 2),
                   Qt::AlignHCenter | Qt::AlignTop, "Page " + QString::number(Page));
}
