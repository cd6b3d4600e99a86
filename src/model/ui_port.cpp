#include "model/ui_port.h"

#include <atomic>
#include <cstdio>

namespace {

// Used before the UI exists and by command-line tools.
class TConsoleUiPort final : public TUiPort {
public:
  std::atomic<int> Shown{0};

  void ShowMessage(const std::string& text, const std::string& caption, TMessageKind) override {
    ++Shown;
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
  }
  TMessageButton Ask(const std::string& text, const std::string& caption, TMessageKind kind,
                     TMessageButtons buttons, TMessageButton = mbNone) override {
    ShowMessage(text, caption, kind);
    for (unsigned bit = 1; bit != 0 && bit <= mbIgnore; bit <<= 1)
      if (buttons & bit) return static_cast<TMessageButton>(bit);
    return mbNone;
  }
  void RunInMainThread(const std::function<void()>& fn) override { fn(); }
  void ExperimentChanged(int, int) override {}
  int OpenDialog(TDialogRequest&) override { return 0; }
  void RefreshViews() override {}
  // The console has no caption and no status bar.
  void SetCaption(const std::string&) override {}
  void SetStatusText(int, const std::string&) override {}
};

TConsoleUiPort consolePort;
std::atomic<TUiPort*> currentPort{nullptr};

}  // namespace

bool TUiPort::ChooseFile(TFileChoice&) { return false; }

void TUiPort::PostToMainThread(std::function<void()> fn) { RunInMainThread(fn); }

TUiPort& UiPort() {
  TUiPort* port = currentPort.load();
  return port ? *port : consolePort;
}

TUiPort* SetUiPort(TUiPort* port) { return currentPort.exchange(port); }

std::string ChooseFile(bool save, const std::string& filter, const std::string& extension,
                       const std::string& name, const std::string& directory) {
  TFileChoice choice{save, filter, extension, name, directory};
  return UiPort().ChooseFile(choice) ? choice.FileName : std::string();
}

void Inform(const std::string& text) { UiPort().ShowMessage(text, "", TMessageKind::Information); }

int ConsoleMessagesShown() { return consolePort.Shown.load(); }
