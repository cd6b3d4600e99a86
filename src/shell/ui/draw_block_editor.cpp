#include "shell/ui/draw_block_editor.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <string>
#include <vector>

#include "model/block.h"
#include "model/experiment.h"
#include "model/ui_port.h"
#include "scripts/experiment_thread.h"
#include "shell/ui/align_blocks_dialog.h"
#include "shell/ui/block_icons.h"

namespace {

QPoint ToQt(TPoint point) { return {point.X, point.Y}; }

const QColor LineGrey(0x80, 0x80, 0x80);

// The box's block, when the box shows one; a box without a block is not drawn.
TBlock* BlockOf(const TDrawPart* part) {
  if (!part || part->GetType() != TDrawPart::depBLOCK) return nullptr;
  return static_cast<const TDrawBlock*>(part)->GetBlock();
}

// A line is drawn once both its boxes are.
bool IsDrawable(const TDrawLine& line) {
  const TDrawBlock* first = line.GetBlock1();
  const TDrawBlock* second = line.GetBlock2();
  return first && second && first != second && first->GetBlock() && second->GetBlock();
}

}  // namespace

TDrawBlockEditor::TDrawBlockEditor(QWidget* parent) : QWidget(parent) {
  setObjectName("DrawBlockEditor");
  setFocusPolicy(Qt::ClickFocus);
  setAutoFillBackground(false);
  Popup = new QMenu(this);
  Popup->setObjectName("DrawBlockPopup");
  ConnectItem = AddItem("ConnectItem", "Connect", &TDrawBlockEditor::ConnectBlockClick);
  AddBlockItem = AddItem("AddBlockItem", "Add Block", &TDrawBlockEditor::AddBlockClick);
  OpenBlockItem = AddItem("OpenBlockItem", "Open Block", &TDrawBlockEditor::OpenBlockClick);
  EditItem = AddItem("EditItem", "Edit", &TDrawBlockEditor::EditBlockClick);
  DeleteItem = AddItem("DeleteItem", "Delete", &TDrawBlockEditor::DeleteClick);
  Popup->addSeparator();
  SetAsStartItem = AddItem("SetAsStartItem", "Set As Start", &TDrawBlockEditor::SetAsStartClick);
  SetAsStartItem->setCheckable(true);
  SaveBlockItem = AddItem("SaveBlockItem", "Save", &TDrawBlockEditor::SaveBlockClick);
  SaveAsBlockItem = AddItem("SaveAsBlockItem", "Save As", &TDrawBlockEditor::SaveAsBlockClick);
  AddScriptsMenu = Popup->addMenu("Add Scripts...");
  AddScriptsMenu->setObjectName("AddScriptsMenu");
  AddScriptsMenu->menuAction()->setObjectName("AddScriptsItem");
  Popup->addSeparator();
  AlignBlocksItem =
      AddItem("AlignBlocksItem", "Align Blocks", &TDrawBlockEditor::AlignBlocksClick);
  connect(Popup, &QMenu::aboutToShow, this, &TDrawBlockEditor::PopupPopupMenu);
  // The visible area's size is the least the widget takes.
  if (parent) parent->installEventFilter(this);
}

TDrawBlockEditor::~TDrawBlockEditor() {
  if (Parts && Parts->GetView() == this) Parts->SetView(nullptr);
}

QAction* TDrawBlockEditor::AddItem(const char* name, const char* text,
                                   void (TDrawBlockEditor::*slot)()) {
  QAction* item = Popup->addAction(QString::fromUtf8(text));
  item->setObjectName(name);
  connect(item, &QAction::triggered, this, slot);
  return item;
}

void TDrawBlockEditor::SetDiagram(TDrawParts* parts, TExperiment* experiment) {
  ResetGesture();
  if (Parts && Parts != parts && Parts->GetView() == this) Parts->SetView(nullptr);
  Parts = parts;
  Experiment = experiment;
  if (Parts) Parts->SetView(this);
  Redraw();
}

// --- The drawing ---

QSize TDrawBlockEditor::BoxSize(const TDrawBlock& box) const {
  const QFontMetrics metrics(font());
  const QString caption = QString::fromStdString(box.GetCaption());
  const TBlock* block = box.GetBlock();
  const std::int32_t side =
      TDrawBlock::RenderedSide(BlockIconSize, BlockIconSize, metrics.horizontalAdvance(caption),
                               metrics.height(), block && block->IsStartBlock());
  return {side, side};
}

void TDrawBlockEditor::Layout() const {
  if (!Parts) return;
  for (int i = 0; i < Parts->Count(); ++i) {
    TDrawPart* part = Parts->GetPart(i);
    if (part->GetType() == TDrawPart::depBLOCK) {
      auto* box = static_cast<TDrawBlock*>(part);
      if (!box->GetBlock()) continue;
      const QSize size = BoxSize(*box);
      if (!box->IsRendered() || box->GetWidth() != size.width() ||
          box->GetHeight() != size.height())
        box->SetSize(size.width(), size.height());
    }
  }
  // Lines after every box: their ends are clipped at the boxes' sides.
  for (int i = 0; i < Parts->Count(); ++i) {
    TDrawPart* part = Parts->GetPart(i);
    if (part->GetType() == TDrawPart::depLINE && IsDrawable(*static_cast<TDrawLine*>(part)))
      static_cast<TDrawLine*>(part)->UpdateGeometry();
  }
}

void TDrawBlockEditor::FitToDiagram() {
  QSize size = parentWidget() ? parentWidget()->size() : this->size();
  if (Parts && Parts->Count() > 0) {
    const TRect bounds = Parts->GetBounds();
    size = size.expandedTo(QSize(bounds.Right + 1, bounds.Bottom + 1));
  }
  if (size != this->size()) resize(size);
}

void TDrawBlockEditor::Redraw() {
  Layout();
  FitToDiagram();
  update();
}

bool TDrawBlockEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) FitToDiagram();
  return QWidget::eventFilter(watched, event);
}

void TDrawBlockEditor::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // The sheet is the base colour, so that boxes in the button colour stand out on it.
  painter.fillRect(rect(), palette().base());
  if (!Parts) return;
  Layout();
  for (int i = 0; i < Parts->Count(); ++i) {
    const TDrawPart* part = Parts->GetPart(i);
    if (part->GetType() == TDrawPart::depBLOCK) {
      if (BlockOf(part)) PaintBox(painter, *static_cast<const TDrawBlock*>(part));
    } else if (IsDrawable(*static_cast<const TDrawLine*>(part))) {
      PaintLine(painter, *static_cast<const TDrawLine*>(part));
    }
  }
  PaintGesture(painter);
}

void TDrawBlockEditor::PaintBox(QPainter& painter, const TDrawBlock& box) const {
  const QRect area(ToQt(box.GetPosition()), QSize(box.GetWidth(), box.GetHeight()));
  painter.fillRect(area, palette().button());
  if (box.IsSelected()) {
    // A 5-pixel band inside the box, inverting what lies under it.
    QPainterPath band;
    band.addRect(area);
    band.addRect(area.adjusted(5, 5, -5, -5));
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.fillPath(band, Qt::black);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  const QFontMetrics metrics(font());
  const QString caption = QString::fromStdString(box.GetCaption());
  const int textWidth = metrics.horizontalAdvance(caption);
  const int textY = area.height() - metrics.height() - 5;
  painter.setPen(palette().buttonText().color());
  painter.setFont(font());
  painter.drawText(area.left() + (area.width() - textWidth) / 2,
                   area.top() + textY + metrics.ascent(), caption);
  const QImage icon = BlockIconOf(box.GetIconFile(), box.GetBlock()->IsStartBlock());
  painter.drawImage(area.left() + (area.width() - BlockIconSize) / 2,
                     area.top() + (textY - BlockIconSize) / 2, icon);
}

void TDrawBlockEditor::PaintLine(QPainter& painter, const TDrawLine& line) const {
  const std::vector<TPoint>& points = line.GetPoints();
  QPolygon path;
  path << ToQt(line.GetStartPoint());
  for (std::size_t i = 1; i + 1 < points.size(); ++i) path << ToQt(points[i]);
  path << ToQt(line.GetEndPoint());

  if (line.IsSelected()) painter.setCompositionMode(QPainter::RasterOp_NotDestination);
  painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPolyline(path);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (line.IsSelected())
    for (std::size_t i = 1; i + 1 < points.size(); ++i)
      painter.fillRect(QRect(points[i].X - 5, points[i].Y - 5, 10, 10), Qt::black);
  painter.setPen(QPen(LineGrey, 1));
  painter.drawPolyline(path);

  // A last segment of no length (overlapping boxes) has no direction: no arrowhead.
  const TPoint tip = line.GetEndPoint();
  if (line.GetArrowWing1() == tip && line.GetArrowWing2() == tip) return;
  const QPoint base = ToQt(line.GetArrowBase());
  painter.setPen(Qt::black);
  painter.setBrush(Qt::black);
  painter.drawPolygon(QPolygon({ToQt(tip), ToQt(line.GetArrowWing1()), base}));
  painter.setPen(Qt::white);
  painter.setBrush(LineGrey);
  painter.drawPolygon(QPolygon({ToQt(tip), ToQt(line.GetArrowWing2()), base}));
  painter.setBrush(Qt::NoBrush);
}

void TDrawBlockEditor::PaintGesture(QPainter& painter) const {
  if (Gesture != TGesture::PartDrag && Gesture != TGesture::NewLine) return;
  if (!GesturePart || Parts->IndexOf(GesturePart) < 0) return;
  // Outlines invert what they cross, so they show on any colour.
  painter.setCompositionMode(QPainter::RasterOp_NotDestination);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  if (Gesture == TGesture::NewLine) {
    const auto* box = static_cast<const TDrawBlock*>(GesturePart);
    if (LineShown) painter.drawLine(ToQt(box->GetCenter()), DragPoint);
  } else if (GesturePart->GetType() == TDrawPart::depBLOCK) {
    const auto* box = static_cast<const TDrawBlock*>(GesturePart);
    const QPoint corner = DragPoint - (PressPoint - ToQt(box->GetPosition()));
    painter.drawRect(QRect(corner, QSize(box->GetWidth(), box->GetHeight())));
  } else {
    TPoint first, second;
    if (static_cast<const TDrawLine*>(GesturePart)->GetDragReferences(first, second))
      painter.drawPolyline(QPolygon({ToQt(first), DragPoint, ToQt(second)}));
  }
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// --- Hit tests ---

TPoint TDrawBlockEditor::CursorPoint() const {
  const QPoint point = mapFromGlobal(QCursor::pos());
  if (point.x() < 0 || point.y() < 0 || point.x() > width() || point.y() > height()) return {};
  return {point.x(), point.y()};
}

TDrawPart* TDrawBlockEditor::GetPartAt(int x, int y) const {
  if (!Parts) return nullptr;
  Layout();
  for (int i = Parts->Count() - 1; i >= 0; --i) {
    TDrawPart* part = Parts->GetPart(i);
    if (part->GetType() == TDrawPart::depLINE && !IsDrawable(*static_cast<TDrawLine*>(part)))
      continue;
    if (part->Contains(x, y)) return part;
  }
  return nullptr;
}

TDrawPart* TDrawBlockEditor::GetSelectedDrawPart() const {
  if (!Parts) return nullptr;
  for (int i = 0; i < Parts->Count(); ++i)
    if (Parts->GetPart(i)->IsSelected()) return Parts->GetPart(i);
  return nullptr;
}

// --- The mouse and the keys ---

void TDrawBlockEditor::ResetGesture() {
  const bool drawn = Gesture == TGesture::PartDrag || Gesture == TGesture::NewLine;
  Gesture = TGesture::None;
  GesturePart = nullptr;
  LineShown = false;
  setMouseTracking(false);
  if (mouseGrabber() == this) releaseMouse();
  if (drawn) update();
}

void TDrawBlockEditor::MarkModified() const { UiPort().ExperimentChanged(1, 0); }

void TDrawBlockEditor::Press(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (!Parts) return;
  const QPoint point = event->position().toPoint();
  TDrawPart* part = GetPartAt(point.x(), point.y());
  if (event->button() == Qt::RightButton) MenuPoint = point;

  // During a new line's drag a press only waits for its release, which drops the line.
  if (Gesture == TGesture::NewLinePressed || Gesture == TGesture::NewLine) return;
  ResetGesture();

  if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier)) {
    if (part) Parts->ToggleMultiSelect(part);
    return;
  }
  if (Parts->HasMultiSelection() && event->button() != Qt::RightButton)
    Parts->ClearMultiSelection();
  if (!part) {
    if (TDrawPart* selected = GetSelectedDrawPart()) selected->SetSelected(false);
    return;
  }
  part->SetSelected(true);
  if (TBlock* block = BlockOf(part); block && Experiment)
    Experiment->SelectBlock(block->AExpNode);
  if (event->button() == Qt::RightButton) return;
  Gesture = TGesture::PartPressed;
  GesturePart = part;
  PressPoint = DragPoint = point;
  part->StartDrag(point.x(), point.y());
}

void TDrawBlockEditor::mousePressEvent(QMouseEvent* event) { Press(event); }

void TDrawBlockEditor::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  TDrawPart* part = Parts ? GetPartAt(point.x(), point.y()) : nullptr;
  if (BlockOf(part) && Gesture != TGesture::NewLinePressed && Gesture != TGesture::NewLine) {
    ResetGesture();
    // During a run the dialog only shows the block: it refuses OK itself.
    static_cast<TDrawBlock*>(part)->GetBlock()->Edit();
    return;
  }
  // A double click on a line or on empty space is a press like the first.
  Press(event);
}

void TDrawBlockEditor::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  switch (Gesture) {
    case TGesture::PartPressed:
      if ((point - PressPoint).manhattanLength() < DragThreshold) return;
      Gesture = TGesture::PartDrag;
      [[fallthrough]];
    case TGesture::PartDrag:
      DragPoint = point;
      update();
      break;
    case TGesture::NewLinePressed:
      if ((point - PressPoint).manhattanLength() < DragThreshold) return;
      Gesture = TGesture::NewLine;
      [[fallthrough]];
    case TGesture::NewLine:
      // Left or above the widget the rubber line stays where it was.
      if (point.x() < 0 || point.y() < 0) return;
      DragPoint = point;
      LineShown = true;
      update();
      break;
    case TGesture::None:
      break;
  }
}

void TDrawBlockEditor::DropNewLine(QPoint point) {
  auto* source = static_cast<TDrawBlock*>(GesturePart);
  const bool dragged = Gesture == TGesture::NewLine;
  ResetGesture();  // the rubber line goes in every case
  if (!dragged || !Parts || Parts->IndexOf(source) < 0 || IsRunActive()) return;
  if (!rect().contains(point)) return;
  TDrawPart* target = GetPartAt(point.x(), point.y());
  // Only another box takes the line, and only while the source can still give one.
  if (!BlockOf(target) || target == source || !source->CanAddOutgoingLine()) return;
  Parts->Connect(source, static_cast<TDrawBlock*>(target));
  MarkModified();
}

void TDrawBlockEditor::mouseReleaseEvent(QMouseEvent* event) {
  if (Gesture == TGesture::NewLinePressed || Gesture == TGesture::NewLine) {
    DropNewLine(event->position().toPoint());
    return;
  }
  if (Gesture != TGesture::PartPressed && Gesture != TGesture::PartDrag) return;
  TDrawPart* part = GesturePart;
  const bool dragged = Gesture == TGesture::PartDrag;
  ResetGesture();
  if (!Parts || Parts->IndexOf(part) < 0) return;
  const QPoint point = event->position().toPoint();
  // A drop outside the widget or on the line's own boxes changes nothing.
  const bool accepted =
      dragged && rect().contains(point) && part->CanDropAt(point.x(), point.y());
  part->EndDrag(point.x(), point.y(), accepted);
  // The layout is saved with the experiment, so a move during a run marks it as well.
  if (accepted) MarkModified();
}

void TDrawBlockEditor::keyPressEvent(QKeyEvent* event) {
  if ((Gesture == TGesture::NewLinePressed || Gesture == TGesture::NewLine) &&
      event->key() == Qt::Key_Escape) {
    ResetGesture();
    return;
  }
  if (event->key() != Qt::Key_Delete || IsRunActive()) {
    QWidget::keyPressEvent(event);
    return;
  }
  // Delete acts on the selection only with the pointer over it.
  TDrawPart* selected = GetSelectedDrawPart();
  if (!selected) return;
  const QPoint pointer = mapFromGlobal(QCursor::pos());
  const TRect rect = selected->GetRect();
  if (rect.Left <= pointer.x() && pointer.x() <= rect.Right && rect.Top <= pointer.y() &&
      pointer.y() <= rect.Bottom)
    DeleteClick();
}

void TDrawBlockEditor::focusOutEvent(QFocusEvent* event) {
  // A click elsewhere takes the focus: the new line is dropped outside, so it ends.
  if ((Gesture == TGesture::NewLinePressed || Gesture == TGesture::NewLine) &&
      event->reason() != Qt::PopupFocusReason)
    ResetGesture();
  QWidget::focusOutEvent(event);
}

// --- The pop-up menu ---

void TDrawBlockEditor::contextMenuEvent(QContextMenuEvent* event) {
  if (!Parts || Gesture == TGesture::NewLinePressed || Gesture == TGesture::NewLine) return;
  MenuPoint = event->pos();
  Popup->popup(event->globalPos());
}

void TDrawBlockEditor::PopupPopupMenu() {
  TDrawPart* selected = GetSelectedDrawPart();
  const bool multi = Parts && Parts->HasMultiSelection();
  const TDrawBlock* box = BlockOf(selected) ? static_cast<const TDrawBlock*>(selected) : nullptr;
  const bool single = box && !multi;
  AddBlockItem->setVisible(!multi && !selected);
  OpenBlockItem->setVisible(!multi && !selected);
  DeleteItem->setVisible(selected && !multi);
  for (QAction* item : {ConnectItem, EditItem, SetAsStartItem, SaveBlockItem, SaveAsBlockItem})
    item->setVisible(single);
  // The command entries come with the command dialogs; until then there is nothing to add.
  AddScriptsMenu->menuAction()->setVisible(single && !AddScriptsMenu->isEmpty());
  AlignBlocksItem->setVisible(box && multi);
  bool canConnect = false;
  if (single) {
    if (Experiment) Experiment->SelectBlock(box->GetBlock()->AExpNode);
    canConnect = Parts->Count() > 1 && box->CanAddOutgoingLine();
    SetAsStartItem->setChecked(box->GetBlock()->IsStartBlock());
  }
  // Every item that changes the experiment waits for the run to end; Align changes only
  // the drawing.
  const bool idle = !IsRunActive();
  ConnectItem->setEnabled(canConnect && idle);
  for (QAction* item : {AddBlockItem, OpenBlockItem, EditItem, DeleteItem, SetAsStartItem,
                        SaveBlockItem, SaveAsBlockItem, AddScriptsMenu->menuAction()})
    item->setEnabled(idle);
  AlignBlocksItem->setEnabled(true);
}

void TDrawBlockEditor::AddBlockClick() {
  if (!Parts || IsRunActive()) return;
  TDrawBlock* box = Parts->AddBlockAtCursor("Block " + std::to_string(Parts->Count()));
  if (Experiment) {
    Experiment->AddBlock(box);
    MarkModified();
  }
  Redraw();
}

void TDrawBlockEditor::DeleteClick() {
  if (!Parts || IsRunActive()) return;
  TDrawPart* selected = GetSelectedDrawPart();
  if (!selected) return;
  ResetGesture();
  Parts->DeletePart(selected);
  MarkModified();
}

void TDrawBlockEditor::ConnectBlockClick() {
  if (!Parts || IsRunActive()) return;
  TDrawPart* selected = GetSelectedDrawPart();
  if (!BlockOf(selected) || !static_cast<TDrawBlock*>(selected)->CanAddOutgoingLine()) return;
  ResetGesture();
  // The drag starts where the mouse is as Connect is chosen; the threshold counts from
  // there, with or without a button held.
  Gesture = TGesture::NewLinePressed;
  GesturePart = selected;
  PressPoint = DragPoint = mapFromGlobal(QCursor::pos());
  setMouseTracking(true);
  // The drag holds the mouse, so that it follows the mouse and sees the drop anywhere.
  if (isVisible()) grabMouse();
  setFocus(Qt::OtherFocusReason);
}

void TDrawBlockEditor::SetAsStartClick() {
  if (!Parts || IsRunActive()) return;
  const TDrawPart* selected = GetSelectedDrawPart();
  TBlock* block = BlockOf(selected);
  if (!block || block->IsStartBlock()) return;
  block->SetAsStartBlock();
  MarkModified();
}

void TDrawBlockEditor::EditBlockClick() {
  if (!Experiment || IsRunActive()) return;
  if (TBlock* block = Experiment->GetCurrentBlock()) block->Edit();
}

void TDrawBlockEditor::OpenBlockClick() {
  if (!Experiment || IsRunActive()) return;
  emit OpenBlockRequested(MenuPoint.x(), MenuPoint.y());
}

void TDrawBlockEditor::SaveBlockClick() {
  if (!Experiment || IsRunActive()) return;
  emit SaveBlockRequested();
}

void TDrawBlockEditor::SaveAsBlockClick() {
  if (!Experiment || IsRunActive()) return;
  emit SaveAsBlockRequested();
}

void TDrawBlockEditor::AlignBlocksClick() {
  if (!Parts || !Parts->HasMultiSelection()) return;
  ResetGesture();
  const bool moves = Parts->GetMultiSelection().size() > 1;
  if (!AlignBlocks(*Parts, this)) return;
  // Positions are saved with the experiment, also when aligned during a run.
  if (moves) MarkModified();
  Redraw();
}
