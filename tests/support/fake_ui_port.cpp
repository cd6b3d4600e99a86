#include "support/fake_ui_port.h"

#include <gtest/gtest.h>

#include <utility>

namespace {
thread_local bool HandingOver = false;
}  // namespace

TFakeUiPort::TFakeUiPort() { Previous = SetUiPort(this); }

TFakeUiPort::~TFakeUiPort() { SetUiPort(Previous); }

void TFakeUiPort::ShowMessage(const std::string& text, const std::string& caption,
                              TMessageKind kind) {
  std::lock_guard guard(Lock);
  Messages.push_back({text, caption, kind, mbNone, mbNone});
}

TMessageButton TFakeUiPort::Ask(const std::string& text, const std::string& caption,
                                TMessageKind kind, TMessageButtons buttons,
                                TMessageButton defaultButton) {
  std::lock_guard guard(Lock);
  Messages.push_back({text, caption, kind, buttons, defaultButton});
  if (Answers.empty()) {
    ADD_FAILURE() << "unscripted question: " << text;
    return mbNone;
  }
  const TMessageButton answer = Answers.front();
  Answers.pop_front();
  EXPECT_TRUE(buttons & answer) << "scripted answer is not a button of: " << text;
  return answer;
}

void TFakeUiPort::RunInMainThread(const std::function<void()>& fn) {
  std::lock_guard main(MainThread);
  {
    std::lock_guard guard(Lock);
    ++HandOverCount;
  }
  struct TMark {
    bool Outer = std::exchange(HandingOver, true);
    ~TMark() { HandingOver = Outer; }
  } mark;
  fn();
}

bool TFakeUiPort::InHandOver() { return HandingOver; }

void TFakeUiPort::ExperimentChanged(int modified, int refresh) {
  std::lock_guard guard(Lock);
  Changes.emplace_back(modified, refresh);
}

int TFakeUiPort::OpenDialog(TDialogRequest& request) {
  std::function<int(TDialogRequest&)> handler;
  {
    std::lock_guard guard(Lock);
    handler = DialogHandler;
  }
  return handler ? handler(request) : 0;
}

bool TFakeUiPort::ChooseFile(TFileChoice& choice) {
  std::lock_guard guard(Lock);
  Choices.push_back(choice);
  if (Files.empty()) {
    ADD_FAILURE() << "unscripted file choice: " << choice.Filter;
    return false;
  }
  choice.FileName = Files.front();
  Files.pop_front();
  return !choice.FileName.empty();
}

void TFakeUiPort::RefreshViews() {
  std::lock_guard guard(Lock);
  ++RefreshCount;
}

void TFakeUiPort::SetCaption(const std::string& caption) {
  std::lock_guard guard(Lock);
  CaptionText = caption;
}

void TFakeUiPort::SetStatusText(int panel, const std::string& text) {
  std::lock_guard guard(Lock);
  StatusTexts[panel] = text;
}

std::string TFakeUiPort::Caption() const {
  std::lock_guard guard(Lock);
  return CaptionText;
}

std::string TFakeUiPort::StatusText(int panel) const {
  std::lock_guard guard(Lock);
  const auto found = StatusTexts.find(panel);
  return found == StatusTexts.end() ? std::string() : found->second;
}

void TFakeUiPort::ScriptAnswers(std::initializer_list<TMessageButton> answers) {
  std::lock_guard guard(Lock);
  Answers.insert(Answers.end(), answers);
}

void TFakeUiPort::ScriptFiles(std::initializer_list<std::string> paths) {
  std::lock_guard guard(Lock);
  Files.insert(Files.end(), paths);
}

std::vector<TFileChoice> TFakeUiPort::FileChoices() const {
  std::lock_guard guard(Lock);
  return Choices;
}

void TFakeUiPort::SetDialogHandler(std::function<int(TDialogRequest&)> handler) {
  std::lock_guard guard(Lock);
  DialogHandler = std::move(handler);
}

std::vector<TFakeUiPort::TShown> TFakeUiPort::Shown() const {
  std::lock_guard guard(Lock);
  return Messages;
}

std::vector<std::string> TFakeUiPort::Texts() const {
  std::lock_guard guard(Lock);
  std::vector<std::string> texts;
  for (const auto& message : Messages) texts.push_back(message.Text);
  return texts;
}

std::vector<std::pair<int, int>> TFakeUiPort::ExperimentChanges() const {
  std::lock_guard guard(Lock);
  return Changes;
}

int TFakeUiPort::HandOvers() const {
  std::lock_guard guard(Lock);
  return HandOverCount;
}

int TFakeUiPort::Refreshes() const {
  std::lock_guard guard(Lock);
  return RefreshCount;
}

void TFakeUiPort::Clear() {
  std::lock_guard guard(Lock);
  Messages.clear();
  Changes.clear();
  HandOverCount = RefreshCount = 0;
}
