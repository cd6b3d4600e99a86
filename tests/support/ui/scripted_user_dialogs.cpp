#include "support/ui/scripted_user_dialogs.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

namespace {

bool OnMainThread() {
  return QCoreApplication::instance() &&
         QThread::currentThread() == QCoreApplication::instance()->thread();
}

}  // namespace

TScriptedUserDialogs::TScriptedUserDialogs() { Previous = SetUserDialogs(this); }

TScriptedUserDialogs::~TScriptedUserDialogs() {
  SetUserDialogs(Previous);
  EXPECT_TRUE(Answers.empty()) << Answers.size() << " scripted answer(s) never asked for";
  EXPECT_TRUE(Files.empty()) << Files.size() << " scripted file(s) never asked for";
}

TMessageButton TScriptedUserDialogs::Message(QWidget* parent, const TMessageBox& box) {
  std::lock_guard guard(Lock);
  BoxCalls.push_back({box, parent != nullptr, OnMainThread()});
  if (Answers.empty()) {
    ADD_FAILURE() << "unscripted message box \"" << box.Caption.toStdString() << "\": "
                  << box.Text.toStdString();
    return box.Escape;
  }
  const TMessageButton answer = Answers.front();
  Answers.pop_front();
  EXPECT_TRUE(box.Buttons & answer)
      << "the scripted answer " << answer << " is not a button of: " << box.Text.toStdString();
  return answer;
}

bool TScriptedUserDialogs::ChooseFile(QWidget* parent, TFileChoice& choice) {
  std::lock_guard guard(Lock);
  FileCalls.push_back({choice, parent != nullptr, OnMainThread()});
  if (Files.empty()) {
    ADD_FAILURE() << "unscripted file chooser (" << (choice.Save ? "save" : "open")
                  << "): " << choice.Filter;
    return false;
  }
  const std::string path = Files.front();
  Files.pop_front();
  if (path.empty()) return false;
  choice.FileName = path;
  return true;
}

void TScriptedUserDialogs::ScriptAnswers(std::initializer_list<TMessageButton> answers) {
  std::lock_guard guard(Lock);
  Answers.insert(Answers.end(), answers);
}

void TScriptedUserDialogs::ScriptFiles(std::initializer_list<std::string> paths) {
  std::lock_guard guard(Lock);
  Files.insert(Files.end(), paths);
}

std::vector<TScriptedUserDialogs::TBoxCall> TScriptedUserDialogs::Boxes() const {
  std::lock_guard guard(Lock);
  return BoxCalls;
}

std::vector<TScriptedUserDialogs::TFileCall> TScriptedUserDialogs::FileChoices() const {
  std::lock_guard guard(Lock);
  return FileCalls;
}

std::vector<std::string> TScriptedUserDialogs::Texts() const {
  std::lock_guard guard(Lock);
  std::vector<std::string> texts;
  for (const TBoxCall& call : BoxCalls) texts.push_back(call.Box.Text.toStdString());
  return texts;
}

void TScriptedUserDialogs::ClearCalls() {
  std::lock_guard guard(Lock);
  BoxCalls.clear();
  FileCalls.clear();
}
