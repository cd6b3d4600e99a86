#include "support/ui/scripted_user_dialogs.h"

#include <QCoreApplication>
#include <QPrinter>
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
  EXPECT_TRUE(Fonts.empty()) << Fonts.size() << " scripted font(s) never asked for";
  EXPECT_TRUE(Prints.empty()) << Prints.size() << " scripted print(s) never asked for";
  EXPECT_TRUE(Colors.empty()) << Colors.size() << " scripted colour(s) never asked for";
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
  if (!FilterIndexes.empty()) {
    choice.FilterIndex = FilterIndexes.front();
    FilterIndexes.pop_front();
  }
  if (path.empty()) return false;
  choice.FileName = path;
  return true;
}

void TScriptedUserDialogs::ScriptFilterIndexes(std::initializer_list<int> indexes) {
  std::lock_guard guard(Lock);
  FilterIndexes.insert(FilterIndexes.end(), indexes);
}

bool TScriptedUserDialogs::ChooseDirectory(QWidget* parent, const QString& caption,
                                           std::string& directory) {
  std::lock_guard guard(Lock);
  DirectoryCalls.push_back({caption.toStdString(), directory, parent != nullptr});
  if (Files.empty()) {
    ADD_FAILURE() << "unscripted folder chooser: " << caption.toStdString();
    return false;
  }
  const std::string path = Files.front();
  Files.pop_front();
  if (path.empty()) return false;
  directory = path;
  return true;
}

bool TScriptedUserDialogs::ChooseFont(QWidget*, QFont& font) {
  std::lock_guard guard(Lock);
  FontsAsked.push_back(font);
  if (Fonts.empty()) {
    ADD_FAILURE() << "unscripted font dialog";
    return false;
  }
  const std::optional<QFont> answer = Fonts.front();
  Fonts.pop_front();
  if (!answer) return false;
  font = *answer;
  return true;
}

bool TScriptedUserDialogs::ChooseColor(QWidget*, QColor& color) {
  std::lock_guard guard(Lock);
  ColorsAsked.push_back(color);
  if (Colors.empty()) {
    ADD_FAILURE() << "unscripted colour dialog";
    return false;
  }
  const std::optional<QColor> answer = Colors.front();
  Colors.pop_front();
  if (!answer) return false;
  color = *answer;
  return true;
}

void TScriptedUserDialogs::ScriptColors(std::initializer_list<std::optional<QColor>> colors) {
  std::lock_guard guard(Lock);
  Colors.insert(Colors.end(), colors);
}

std::vector<QColor> TScriptedUserDialogs::ColorCalls() const {
  std::lock_guard guard(Lock);
  return ColorsAsked;
}

bool TScriptedUserDialogs::SetUpPrinter(QWidget*, QPrinter& printer) {
  std::lock_guard guard(Lock);
  ++PrintsAsked;
  if (Prints.empty()) {
    ADD_FAILURE() << "unscripted print dialog";
    return false;
  }
  const std::string path = Prints.front();
  Prints.pop_front();
  if (path.empty()) return false;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path));
  return true;
}

void TScriptedUserDialogs::ScriptFonts(std::initializer_list<std::optional<QFont>> fonts) {
  std::lock_guard guard(Lock);
  Fonts.insert(Fonts.end(), fonts);
}

void TScriptedUserDialogs::ScriptPrints(std::initializer_list<std::string> pdfPaths) {
  std::lock_guard guard(Lock);
  Prints.insert(Prints.end(), pdfPaths);
}

std::vector<QFont> TScriptedUserDialogs::FontCalls() const {
  std::lock_guard guard(Lock);
  return FontsAsked;
}

int TScriptedUserDialogs::PrintCalls() const {
  std::lock_guard guard(Lock);
  return PrintsAsked;
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

std::vector<TScriptedUserDialogs::TDirectoryCall> TScriptedUserDialogs::DirectoryChoices() const {
  std::lock_guard guard(Lock);
  return DirectoryCalls;
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
  DirectoryCalls.clear();
}
