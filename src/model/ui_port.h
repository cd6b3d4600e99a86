// The core's one way to reach the user interface. The Qt side implements it;
// tests install a scripted fake. The core never includes Qt.
#pragma once

#include <functional>
#include <string>

// Icons a message can carry.
enum class TMessageKind { Information, Warning, Error, Confirmation };

// Buttons of a question, combined as a bit set; an answer is one of them.
enum TMessageButton : unsigned {
  mbNone = 0,
  mbOK = 1u << 0,
  mbCancel = 1u << 1,
  mbYes = 1u << 2,
  mbNo = 1u << 3,
  mbAbort = 1u << 4,
  mbRetry = 1u << 5,
  mbIgnore = 1u << 6,
};
using TMessageButtons = unsigned;

// A request to show a modal dialog for some object. Each subsystem derives its own
// request with the fields its dialog reads and writes back; the UI dispatches on the
// dynamic type.
class TDialogRequest {
public:
  virtual ~TDialogRequest() = default;
};

// A file chooser: Open asks for an existing file, Save for a name to write. Filter is
// the chooser's filter text ("Experiment (*.qve) | *.qve"); DefaultExt ("qve") is added
// to a chosen name without an extension; InitialDir is used only when it exists.
struct TFileChoice {
  bool Save = false;
  std::string Filter;
  std::string DefaultExt;
  std::string FileName;  // proposed name in, chosen path out
  std::string InitialDir;
  // The filter chosen, 1-based in the order of the filter's pairs (out); 0 when unknown.
  int FilterIndex = 0;
};

class TUiPort {
public:
  virtual ~TUiPort() = default;

  // A message with an OK button. An empty caption means the application's title.
  virtual void ShowMessage(const std::string& text, const std::string& caption,
                           TMessageKind kind) = 0;

  // A question with the given buttons; answers the button pressed. The default button
  // (the one Enter presses) is the given one, or with mbNone the first of OK, Yes, Retry.
  virtual TMessageButton Ask(const std::string& text, const std::string& caption,
                             TMessageKind kind, TMessageButtons buttons,
                             TMessageButton defaultButton = mbNone) = 0;

  // Runs fn on the main thread and waits for it. Called on the main thread it runs fn
  // directly. An exception thrown by fn is thrown again to the caller.
  virtual void RunInMainThread(const std::function<void()>& fn) = 0;
  // Runs fn on the main thread without waiting for it: after everything handed over or
  // posted before, before everything handed over or posted after. Called on the main
  // thread it runs fn directly. fn must not throw. The default hands it over and waits.
  virtual void PostToMainThread(std::function<void()> fn);

  // Message 2024 to the main window: modified != 0 marks the experiment modified,
  // 0 clears the mark; refresh == 0 also refreshes the run buttons.
  virtual void ExperimentChanged(int modified, int refresh) = 0;

  // Shows the dialog the request asks for, modally; answers the dialog's result
  // (1 for OK, 0 for Cancel or when no dialog serves the request).
  virtual int OpenDialog(TDialogRequest& request) = 0;

  // Shows a modal file chooser; true with the chosen path in choice.FileName, false when
  // cancelled. Without a chooser (the console) every choice is cancelled.
  virtual bool ChooseFile(TFileChoice& choice);

  // Repaints the views of the experiment (trees, device list, outputs).
  virtual void RefreshViews() = 0;

  // The main window's caption.
  virtual void SetCaption(const std::string& caption) = 0;
  // A panel of the main window's status bar (1: the current block's title).
  virtual void SetStatusText(int panel, const std::string& text) = 0;
};

// The port in use. Without one installed, messages go to standard error, questions
// answer their first button and hand-overs run directly.
TUiPort& UiPort();
// Installs a port (none to go back to the console default); answers the previous one.
TUiPort* SetUiPort(TUiPort* port);

// The file chooser of the port with the filter, default extension, proposed name and
// initial directory given; the chosen path, empty when cancelled.
std::string ChooseFile(bool save, const std::string& filter, const std::string& extension,
                       const std::string& name, const std::string& directory);

// A plain message with the application's caption and the information icon.
void Inform(const std::string& text);

// How many messages and questions the console port has shown: programs that run without
// a user interface (the build's demo maker) treat any as a failure.
int ConsoleMessagesShown();
