// The block-diagram editor: the widget in the main window's diagram area that paints the
// experiment's boxes and lines from the core's diagram (TDrawParts) and turns the mouse,
// the keys and its pop-up menu into the diagram's own operations. It keeps no copy of
// boxes or lines: every paint and every hit test asks the core. The only state it holds
// is the gesture in progress (the press, the part pressed on, whether a drag began).
#pragma once

#include <QPoint>
#include <QWidget>

#include "shell/draw_parts.h"

class QAction;
class QMenu;
class QPainter;
class TExperiment;

class TDrawBlockEditor : public QWidget, public TDrawPartsView {
  Q_OBJECT

public:
  // How far the mouse moves (Manhattan length) before a press becomes a drag.
  static constexpr int DragThreshold = 10;

  explicit TDrawBlockEditor(QWidget* parent = nullptr);
  ~TDrawBlockEditor() override;

  // Shows the diagram (becoming its view) and edits the experiment's blocks through it.
  // Either may be none; the previous diagram forgets this view.
  void SetDiagram(TDrawParts* parts, TExperiment* experiment);
  TDrawParts* GetDrawParts() const { return Parts; }

  // TDrawPartsView: measures the boxes, brings the lines up to date, fits the widget to
  // the diagram and repaints.
  void Redraw() override;
  // The mouse in widget coordinates; (0, 0) when it is outside the widget.
  TPoint CursorPoint() const override;

  // The topmost part at the point; none there.
  TDrawPart* GetPartAt(int x, int y) const;
  // The first selected part in drawing order; none.
  TDrawPart* GetSelectedDrawPart() const;
  // The box's side as drawn: its caption in the widget's font under its icon.
  QSize BoxSize(const TDrawBlock& box) const;

  // The pop-up menu "DrawBlockPopup"; its items by name, in order: "ConnectItem",
  // "AddBlockItem", "OpenBlockItem", "EditItem", "DeleteItem", "SetAsStartItem",
  // "SaveBlockItem", "SaveAsBlockItem", "AddScriptsItem" (the sub-menu "AddScriptsMenu",
  // hidden while it has no entries), "AlignBlocksItem".
  QMenu* PopupMenu() const { return Popup; }
  // Where the pop-up was last asked for, in widget coordinates: "Open Block" puts the
  // block's boxes there.
  QPoint PopupPoint() const { return MenuPoint; }
  // Prepares the items for the selection and the run state, as the menu opens.
  void PopupPopupMenu();
  // A box captioned "Block " + the number of parts, at the mouse or at (0, 0); refused
  // during a run.
  void AddBlockClick();
  // Deletes the selected part (a box with its lines and block); refused during a run.
  void DeleteClick();
  // Starts a new line's drag from the selected box, where the mouse is now: once the
  // mouse has moved DragThreshold pixels, a rubber line runs from the box's centre to the
  // mouse; the button's release on another box connects to it. A release anywhere else,
  // before the threshold, or Escape ends it without a line.
  void ConnectBlockClick();
  // The selected box's block becomes the start block; refused during a run.
  void SetAsStartClick();
  // Opens the current block's dialog (the box the menu was opened over); refused
  // during a run.
  void EditBlockClick();
  // The Align dialog for the multiselection; it changes only the drawing, so it stays
  // possible during a run.
  void AlignBlocksClick();
  // Hand the block items to the main window (the signals below); refused during a run.
  void OpenBlockClick();
  void SaveBlockClick();
  void SaveAsBlockClick();

signals:
  // "Open Block" at the pop-up's point, "Save" and "Save As" of the current block: the
  // main window's document session does these. Never emitted during a run.
  void OpenBlockRequested(int x, int y);
  void SaveBlockRequested();
  void SaveAsBlockRequested();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // Gives every attached box its drawn size and every line its geometry, so that hit
  // tests and paints see the diagram as drawn.
  void Layout() const;
  // The widget's size: the diagram's bounds, never less than the visible area.
  void FitToDiagram();
  void PaintBox(QPainter& painter, const TDrawBlock& box) const;
  void PaintLine(QPainter& painter, const TDrawLine& line) const;
  void PaintGesture(QPainter& painter) const;
  void Press(QMouseEvent* event);
  // The new line's drop at the point: connects when the box there can take the line.
  void DropNewLine(QPoint point);
  // Ends any gesture without changing the diagram.
  void ResetGesture();
  void MarkModified() const;
  QAction* AddItem(const char* name, const char* text, void (TDrawBlockEditor::*slot)());

  TDrawParts* Parts = nullptr;
  TExperiment* Experiment = nullptr;

  // The gesture in progress.
  // PartPressed and NewLinePressed wait for the threshold; PartDrag and NewLine are drags.
  enum class TGesture { None, PartPressed, PartDrag, NewLinePressed, NewLine };
  TGesture Gesture = TGesture::None;
  TDrawPart* GesturePart = nullptr;  // the part pressed on, or the new line's source box
  QPoint PressPoint;  // where the drag starts: the press, or the mouse at "Connect"
  QPoint DragPoint;   // where the mouse is during a drag
  bool LineShown = false;  // the rubber line has reached a point inside the widget

  QMenu* Popup = nullptr;
  QPoint MenuPoint;
  QAction* ConnectItem = nullptr;
  QAction* AddBlockItem = nullptr;
  QAction* OpenBlockItem = nullptr;
  QAction* EditItem = nullptr;
  QAction* DeleteItem = nullptr;
  QAction* SetAsStartItem = nullptr;
  QAction* SaveBlockItem = nullptr;
  QAction* SaveAsBlockItem = nullptr;
  QMenu* AddScriptsMenu = nullptr;
  QAction* AlignBlocksItem = nullptr;
};
