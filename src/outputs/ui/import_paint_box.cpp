#include "outputs/ui/import_paint_box.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TImportPaintBox::TImportPaintBox(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::IBeamCursor);
}

void TImportPaintBox::SetPage(TFixedWidthPage* page, TRole role) {
  Page = page;
  Role = role;
  if (role == Ruler) setFixedHeight(fontMetrics().height() + 14);
  update();
}

int TImportPaintBox::PositionAt(int x) const {
  if (!Page) return 0;
  return Page->FirstColumn + std::max(x, 0) / std::max(Page->CharWidth, 1);
}

int TImportPaintBox::XOf(int position) const {
  return Page ? (position - Page->FirstColumn) * Page->CharWidth : 0;
}

QSize TImportPaintBox::sizeHint() const {
  return Role == Ruler ? QSize(400, fontMetrics().height() + 14) : QSize(400, 200);
}

void TImportPaintBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Role == Ruler ? palette().window() : palette().base());
  if (!Page) return;
  if (Role == Ruler)
    PaintRuler(painter);
  else
    PaintData(painter);
  // The marks as lines across the box; the dragged one where it would drop, dashed.
  painter.setPen(QPen(palette().highlight().color(), 1));
  for (int i = 0; i < Page->Marks.size(); ++i)
    if (i != Page->Dragged) painter.drawLine(XOf(Page->Marks[i]), 0, XOf(Page->Marks[i]), height());
  if (Page->Dragged >= 0) {
    painter.setPen(QPen(palette().text().color(), 1, Qt::DashLine));
    painter.drawLine(XOf(Page->DragAt), 0, XOf(Page->DragAt), height());
  }
}

void TImportPaintBox::PaintRuler(QPainter& painter) {
  painter.setPen(palette().windowText().color());
  const int bottom = height() - 1;
  const int columns = width() / std::max(Page->CharWidth, 1) + 1;
  for (int c = 0; c <= columns; ++c) {
    const int position = Page->FirstColumn + c;
    const int x = XOf(position);
    // A tick every character, longer every 5 and longest every 10, numbered there.
    const int tick = position % 10 == 0 ? 10 : position % 5 == 0 ? 6 : 3;
    painter.drawLine(x, bottom, x, bottom - tick);
    if (position % 10 == 0 && position > 0)
      painter.drawText(x + 2, bottom - 4, QString::number(position));
  }
  painter.drawLine(0, bottom, width(), bottom);
}

void TImportPaintBox::PaintData(QPainter& painter) {
  painter.setPen(palette().text().color());
  const QFontMetrics metrics = fontMetrics();
  int y = metrics.ascent() + 2;
  for (int i = Page->FirstLine; i < Page->Lines.size() && y - metrics.ascent() < height(); ++i) {
    // One cell per character, as the marks count them: a tab is drawn as a blank.
    QString shown = Page->Lines[i].mid(Page->FirstColumn);
    shown.replace(QLatin1Char('\t'), QLatin1Char(' '));
    painter.drawText(0, y, shown);
    y += metrics.height();
  }
}

void TImportPaintBox::mousePressEvent(QMouseEvent* event) {
  if (!Page || event->button() != Qt::LeftButton) return;
  const int position = PositionAt(event->position().toPoint().x());
  int at = static_cast<int>(Page->Marks.indexOf(position));
  if (at < 0) {
    Page->Marks.append(position);
    std::sort(Page->Marks.begin(), Page->Marks.end());
    at = static_cast<int>(Page->Marks.indexOf(position));
  }
  Page->Dragged = at;
  Page->DragAt = position;
  emit MarksChanged();
}

void TImportPaintBox::mouseMoveEvent(QMouseEvent* event) {
  if (!Page || Page->Dragged < 0) return;
  const int position = std::max(PositionAt(event->position().toPoint().x()), 0);
  if (position == Page->DragAt) return;
  Page->DragAt = position;
  emit MarksChanged();
}

void TImportPaintBox::mouseReleaseEvent(QMouseEvent*) {
  if (!Page || Page->Dragged < 0) return;
  Page->Marks[Page->Dragged] = Page->DragAt;
  Page->Dragged = -1;
  std::sort(Page->Marks.begin(), Page->Marks.end());
  Page->Marks.erase(std::unique(Page->Marks.begin(), Page->Marks.end()), Page->Marks.end());
  emit MarksChanged();
}

void TImportPaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!Page || event->button() != Qt::LeftButton) return;
  Page->Dragged = -1;
  Page->Marks.removeAll(PositionAt(event->position().toPoint().x()));
  emit MarksChanged();
}
