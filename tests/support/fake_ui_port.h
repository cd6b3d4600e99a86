// A UI port for tests: records what the core shows, answers questions and dialogs as
// the test scripted, and runs hand-overs on the calling thread one at a time, marking
// them as such.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "model/ui_port.h"

class TFakeUiPort : public TUiPort {
public:
  struct TShown {
    std::string Text;
    std::string Caption;
    TMessageKind Kind;
    TMessageButtons Buttons;  // mbNone for a plain message
    TMessageButton Default;   // the default button asked for (mbNone: the usual)
  };

  // Installs itself for the test's lifetime and puts the previous port back after.
  TFakeUiPort();
  ~TFakeUiPort() override;

  void ShowMessage(const std::string& text, const std::string& caption, TMessageKind kind) override;
  TMessageButton Ask(const std::string& text, const std::string& caption, TMessageKind kind,
                     TMessageButtons buttons, TMessageButton defaultButton = mbNone) override;
  void RunInMainThread(const std::function<void()>& fn) override;
  void ExperimentChanged(int modified, int refresh) override;
  int OpenDialog(TDialogRequest& request) override;
  // Answers from the scripted files; a choice with none left fails the test.
  bool ChooseFile(TFileChoice& choice) override;
  void RefreshViews() override;
  void SetCaption(const std::string& caption) override;
  void SetStatusText(int panel, const std::string& text) override;

  // The answers of the next questions, in order. A question with no answer left fails
  // the test and answers mbNone.
  void ScriptAnswers(std::initializer_list<TMessageButton> answers);
  // The paths the next file choices answer, in order; an empty path cancels.
  void ScriptFiles(std::initializer_list<std::string> paths);
  // The file choices asked for, as they were asked.
  std::vector<TFileChoice> FileChoices() const;
  // Serves every dialog request; without one, dialogs answer 0.
  void SetDialogHandler(std::function<int(TDialogRequest&)> handler);

  std::vector<TShown> Shown() const;
  // The texts shown, messages and questions alike, in order.
  std::vector<std::string> Texts() const;
  std::vector<std::pair<int, int>> ExperimentChanges() const;
  int HandOvers() const;
  int Refreshes() const;
  // The last caption and status-panel texts set (empty when none was); Clear keeps them.
  std::string Caption() const;
  std::string StatusText(int panel) const;
  void Clear();
  // True on a thread while it runs a hand-over of a fake port.
  static bool InHandOver();

private:
  mutable std::mutex Lock;
  std::recursive_mutex MainThread;  // one hand-over at a time, as on a real main thread
  std::vector<TShown> Messages;
  std::deque<TMessageButton> Answers;
  std::deque<std::string> Files;
  std::vector<TFileChoice> Choices;
  std::function<int(TDialogRequest&)> DialogHandler;
  std::vector<std::pair<int, int>> Changes;
  int HandOverCount = 0;
  int RefreshCount = 0;
  std::string CaptionText;
  std::map<int, std::string> StatusTexts;
  TUiPort* Previous = nullptr;
};

// Runs fn with the console port, where a failed check reports on standard error (for
// death tests).
template <typename F>
void OnConsole(F fn) {
  SetUiPort(nullptr);
  fn();
}
