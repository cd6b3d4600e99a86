// The user-dialog seam for UI tests: every message box and file chooser is recorded as
// it was asked and answered from a script given in advance; one with no scripted
// answer fails the test (and answers Escape, or cancels the chooser). No window opens.
#pragma once

#include <deque>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <QColor>
#include <QFont>

#include "shell/ui/user_dialogs.h"

class TScriptedUserDialogs final : public TUserDialogs {
public:
  // What a box or chooser was asked with.
  struct TBoxCall {
    TMessageBox Box;
    bool HadParent = false;
    bool OnMainThread = false;  // boxes belong to the main thread
  };
  struct TFileCall {
    TFileChoice Choice;  // as asked, before the answer
    bool HadParent = false;
    bool OnMainThread = false;
  };
  struct TDirectoryCall {
    std::string Caption;
    std::string Directory;  // as asked, before the answer
    bool HadParent = false;
  };

  // Installs itself for its lifetime and puts the previous seam back after. Answers
  // scripted but never asked for fail the test when it ends.
  TScriptedUserDialogs();
  ~TScriptedUserDialogs() override;
  TScriptedUserDialogs(const TScriptedUserDialogs&) = delete;
  TScriptedUserDialogs& operator=(const TScriptedUserDialogs&) = delete;

  TMessageButton Message(QWidget* parent, const TMessageBox& box) override;
  bool ChooseFile(QWidget* parent, TFileChoice& choice) override;
  bool ChooseFont(QWidget* parent, QFont& font) override;
  // A scripted print dialog sends the printer to a PDF file.
  bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
  // Answered from the same script as the file choosers.
  bool ChooseDirectory(QWidget* parent, const QString& caption, std::string& directory) override;
  bool ChooseColor(QWidget* parent, QColor& color) override;

  // The buttons the next boxes answer, in order; an answer that is not one of its box's
  // buttons fails the test.
  void ScriptAnswers(std::initializer_list<TMessageButton> answers);
  // The paths the next choosers answer, in order; an empty path cancels.
  void ScriptFiles(std::initializer_list<std::string> paths);
  // The filters (1-based) the next file choosers answer with their paths, in order.
  void ScriptFilterIndexes(std::initializer_list<int> indexes);

  // The fonts the next font dialogs answer, in order; none cancels.
  void ScriptFonts(std::initializer_list<std::optional<QFont>> fonts);
  // The PDF files the next print dialogs print to, in order; an empty path cancels.
  void ScriptPrints(std::initializer_list<std::string> pdfPaths);
  // The colours the next colour dialogs answer, in order; none cancels.
  void ScriptColors(std::initializer_list<std::optional<QColor>> colors);
  // The colours the colour dialogs were opened with, in order.
  std::vector<QColor> ColorCalls() const;

  std::vector<TBoxCall> Boxes() const;
  // The fonts the font dialogs were opened with, in order.
  std::vector<QFont> FontCalls() const;
  int PrintCalls() const;
  std::vector<TFileCall> FileChoices() const;
  std::vector<TDirectoryCall> DirectoryChoices() const;
  // The texts of the boxes, in order.
  std::vector<std::string> Texts() const;
  // Forgets the calls recorded; the script stays.
  void ClearCalls();

private:
  mutable std::mutex Lock;
  std::deque<TMessageButton> Answers;
  std::deque<std::string> Files;
  std::deque<int> FilterIndexes;
  std::deque<std::optional<QFont>> Fonts;
  std::deque<std::string> Prints;
  std::deque<std::optional<QColor>> Colors;
  std::vector<QColor> ColorsAsked;
  std::vector<QFont> FontsAsked;
  int PrintsAsked = 0;
  std::vector<TBoxCall> BoxCalls;
  std::vector<TFileCall> FileCalls;
  std::vector<TDirectoryCall> DirectoryCalls;
  TUserDialogs* Previous = nullptr;
};
