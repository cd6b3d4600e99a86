// The UI port on Qt: message boxes, the hand-over to the main (GUI) thread and the
// messages to the main window.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <string>

#include "model/ui_port.h"

class QLocale;
class TQorvForm;

class TQtUiPort final : public TUiPort {
public:
  // Made on the main thread, after the QApplication. It must outlive every worker that
  // hands work over through it.
  TQtUiPort();
  ~TQtUiPort() override;
  TQtUiPort(const TQtUiPort&) = delete;
  TQtUiPort& operator=(const TQtUiPort&) = delete;

  // The window that receives the experiment's messages (none to detach). A window that
  // is destroyed detaches itself.
  void AttachWindow(TQorvForm* window);

  // Every call below may come from any thread; those that touch widgets are handed over
  // to the main thread.
  void ShowMessage(const std::string& text, const std::string& caption,
                   TMessageKind kind) override;
  // Escape or closing the box answers Cancel, else No, else the last of the buttons.
  // An empty button set shows OK.
  TMessageButton Ask(const std::string& text, const std::string& caption, TMessageKind kind,
                     TMessageButtons buttons, TMessageButton defaultButton = mbNone) override;
  // From another thread: a blocking queued call into the main thread, which must be
  // serving its events (its event loop, a modal box or WaitServingHandOvers).
  void RunInMainThread(const std::function<void()>& fn) override;
  void ExperimentChanged(int modified, int refresh) override;
  int OpenDialog(TDialogRequest& request) override;
  void RefreshViews() override;
  void SetCaption(const std::string& caption) override;
  void SetStatusText(int panel, const std::string& text) override;

private:
  QObject MainThreadContext;  // lives in the main thread; hand-overs are queued to it
  QPointer<TQorvForm> Window;
};

// Serves hand-overs on the main thread until finished() answers true; a main thread that
// blocked in join() while its worker waits in a hand-over would never return. Called on
// the main thread; after it a join() of the finished worker returns at once. User input
// waits meanwhile.
void WaitServingHandOvers(const std::function<bool()>& finished);

// The decimal separator of a locale as the core's one-byte separator; '.' when the
// locale's separator is not a single ASCII character.
char DecimalSeparatorOf(const QLocale& locale);
