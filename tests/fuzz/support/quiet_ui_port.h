// The UI port of the harnesses: shows nothing, answers every question with the button
// Enter would press, runs hand-overs at once on the calling thread and serves dialogs
// through a handler (none: every dialog is cancelled). It keeps no state between inputs
// apart from the handler a harness sets.
#pragma once

#include <functional>
#include <string>

#include "model/ui_port.h"

class TQuietUiPort final : public TUiPort {
public:
  void ShowMessage(const std::string& text, const std::string& caption,
                   TMessageKind kind) override;
  TMessageButton Ask(const std::string& text, const std::string& caption, TMessageKind kind,
                     TMessageButtons buttons, TMessageButton defaultButton) override;
  void RunInMainThread(const std::function<void()>& fn) override { fn(); }
  void ExperimentChanged(int, int) override {}
  int OpenDialog(TDialogRequest& request) override;
  void RefreshViews() override {}
  void SetCaption(const std::string&) override {}
  void SetStatusText(int, const std::string&) override {}

  // Serves the dialogs a harness expects; answers the dialog's result (1 OK, 0 Cancel).
  std::function<int(TDialogRequest&)> Dialogs;
};

// The answer to a question: the default button asked for, else the first of OK, Yes and
// Retry among the buttons, else the lowest button there is.
TMessageButton DefaultAnswer(TMessageButtons buttons, TMessageButton defaultButton);
