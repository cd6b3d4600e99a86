// The fixed-width page of the import wizard draws the lines under a character ruler;
// the user sets column marks by clicking either box (snapped to the character boundary
// on the left), drags a mark to move it and double-clicks it to remove it. Both boxes
// show the same state and redraw together.
#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

// What the two boxes share.
struct TFixedWidthPage {
  QStringList Lines;
  QList<int> Marks;     // character positions, sorted, each once
  int FirstColumn = 0;  // characters scrolled off to the left
  int FirstLine = 0;    // lines scrolled off the top
  int CharWidth = 8;    // pixels of one character of the fixed-pitch font
  int Dragged = -1;     // the mark being dragged, or -1
  int DragAt = 0;       // where it would drop
};

class TImportPaintBox : public QWidget {
  Q_OBJECT

public:
  enum TRole { Ruler, Data };
  explicit TImportPaintBox(QWidget* parent = nullptr);

  // The state drawn and the part this box plays; the font is the data's fixed pitch.
  void SetPage(TFixedWidthPage* page, TRole role);
  // The character boundary at or left of x.
  int PositionAt(int x) const;
  int XOf(int position) const;
  QSize sizeHint() const override;

signals:
  // A mark was added, moved, removed, or is being dragged: both boxes redraw.
  void MarksChanged();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
  void PaintRuler(class QPainter& painter);
  void PaintData(QPainter& painter);

  TFixedWidthPage* Page = nullptr;
  TRole Role = Data;
};
