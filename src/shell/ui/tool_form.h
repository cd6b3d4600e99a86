// The floating tool window that carries the Start and Stop buttons while the main
// window's own are floated off its tool bar.
#pragma once

#include <QWidget>

#include <functional>

class QIcon;
class QToolBar;
class QToolButton;

class TToolForm : public QWidget {
  Q_OBJECT

public:
  using THandler = std::function<void()>;

  // A stay-on-top tool window; Start enabled, Stop disabled, not bound.
  explicit TToolForm(QWidget* parent = nullptr);
  ~TToolForm() override;

  // Connects the buttons' clicks to the main window's Start and Stop handlers. Only the
  // first call binds (the main window calls it each time it floats its buttons); later
  // calls change nothing and answer false.
  bool Bind(THandler start, THandler stop);
  bool Bound() const { return BoundFlag; }

  // Called whenever the window is closed: the main window's float handler, which docks
  // the buttons back (it may hide or close this window again without calling itself).
  void SetCloseHandler(THandler onClose);

  // The run state, as the main window sets it on its own buttons.
  void SetRunButtons(bool startEnabled, bool stopEnabled);
  // The main window's tool images for the two buttons.
  void SetButtonIcons(const QIcon& start, const QIcon& stop);

  QToolButton* StartButton() const { return Start; }
  QToolButton* StopButton() const { return Stop; }

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  QToolBar* ToolBar = nullptr;
  QToolButton* Start = nullptr;
  QToolButton* Stop = nullptr;
  THandler StartHandler;
  THandler StopHandler;
  THandler CloseHandler;
  bool BoundFlag = false;
  bool Closing = false;  // inside the close handler
};
