// The UI port on Qt: message boxes and file choosers (through the user-dialog seam),
// dialogs for requests (through the dialog registry), the hand-over to the main (GUI)
// thread and the messages to the main window.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <string>

#include "model/ui_port.h"

class QLocale;
class TDialogRegistry;
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
  // Boxes and choosers go through UserDialogs(), above the modal dialog in use or else
  // the attached window.
  void ShowMessage(const std::string& text, const std::string& caption,
                   TMessageKind kind) override;
  // Escape or closing the box answers Cancel, else No, else the last of the buttons.
  // An empty button set shows OK.
  TMessageButton Ask(const std::string& text, const std::string& caption, TMessageKind kind,
                     TMessageButtons buttons, TMessageButton defaultButton = mbNone) override;
  bool ChooseFile(TFileChoice& choice) override;
  // From another thread: a blocking queued call into the main thread, which must be
  // serving its events (its event loop, a modal box or WaitServingHandOvers).
  void RunInMainThread(const std::function<void()>& fn) override;
  // From another thread: a queued call into the main thread, behind every hand-over
  // queued before it (both go to the same receiver, whose calls run in order).
  void PostToMainThread(std::function<void()> fn) override;
  void ExperimentChanged(int modified, int refresh) override;
  // Opens the dialog registered for the request's dynamic type; 0 when none is.
  int OpenDialog(TDialogRequest& request) override;
  void RefreshViews() override;
  void SetCaption(const std::string& caption) override;
  void SetStatusText(int panel, const std::string& text) override;

  // The registry OpenDialog serves requests from: the application's DialogRegistry()
  // unless another is given (none: back to the application's).
  void SetDialogRegistry(const TDialogRegistry* registry);

private:
  QObject MainThreadContext;  // lives in the main thread; hand-overs are queued to it
  QPointer<TQorvForm> Window;
  const TDialogRegistry* Dialogs;
};

// Serves hand-overs on the main thread until finished() answers true; a main thread that
// blocked in join() while its worker waits in a hand-over would never return. Called on
// the main thread; after it a join() of the finished worker returns at once. User input
// waits meanwhile.
void WaitServingHandOvers(const std::function<bool()>& finished);

// The decimal separator of a locale as the core's one-byte separator; '.' when the
// locale's separator is not a single ASCII character.
char DecimalSeparatorOf(const QLocale& locale);
