// The table's print job: the data sets' chosen columns (their print flags) as a ruled
// table over as many pages as the rows need, the title on the first page, the headers
// and the page number on every page. The job runs on the main thread and lets events
// through between rows and at every page, so that the print-status window can follow it
// and cancel it; a cancelled job stops after the row being printed and leaves its last
// page unnumbered.
#pragma once

#include <QFont>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QPainter;
class QPrinter;
class TTableForm;
class TTablePrintLayout;

class TTablePrinter : public QObject {
  Q_OBJECT

public:
  TTablePrinter(const TTableForm& form, QObject* parent = nullptr);

  // What the next job prints on: the printer set up by the print dialog, the title (the
  // window's name), the grid's font, and the width on screen of a data set's column in
  // the grid (below 0 when the grid does not show it).
  void SetUp(QPrinter* printer, const QString& title, const QFont& font,
             std::function<int(std::int32_t set, bool x)> shownWidth);
  const QString& PrintTitle() const { return Title; }

  // The job (the print message): false when no document was made (no column chosen, or
  // the printer did not start).
  bool OnPrintTable();
  // The cancel message: the job ends after the row being printed.
  void OnCancelPrintTable() { Printing = false; }
  bool IsPrinting() const { return Printing; }
  // The page being printed, from 1; -1 when no job runs.
  std::int32_t PageNumber() const { return Page; }

signals:
  // A page was begun (its frame and headers drawn), before its first row.
  void PageStarted(int page);
  void Finished();

private:
  // The printed width of a column: 0 when it is not printed or its set has no points.
  std::int32_t SlotWidth(std::int32_t set, bool x, bool printed, double screenDpi) const;
  void PrintTitleText(QPainter& painter, const TTablePrintLayout& layout) const;
  void DrawColumnForm(QPainter& painter, const TTablePrintLayout& layout) const;
  void PrintHeaders(QPainter& painter, const TTablePrintLayout& layout,
                    const std::vector<std::int32_t>& sets) const;
  void PrintPageNumber(QPainter& painter, const TTablePrintLayout& layout) const;
  bool Job(QPainter& painter, const TTablePrintLayout& layout, const std::vector<std::int32_t>& sets,
           std::int32_t rows);
  // Handles the events waiting (for at most EventsMilliseconds while more keep coming).
  static void LetEventsThrough();
  static constexpr int EventsMilliseconds = 50;

  const TTableForm& Form;
  QPrinter* Printer = nullptr;
  QString Title;
  QFont Font;
  std::function<int(std::int32_t, bool)> ShownWidth;
  bool Printing = false;
  std::int32_t Page = -1;
};
