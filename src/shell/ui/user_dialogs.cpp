#include "shell/ui/user_dialogs.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QMessageBox>
#include <QRegularExpression>

#include <atomic>
#include <initializer_list>
#include <utility>

#include "shell/ui/browse_dialog.h"

namespace {

// The core's buttons and Qt's, in the core's bit order.
constexpr std::pair<TMessageButton, QMessageBox::StandardButton> buttonMap[] = {
    {mbOK, QMessageBox::Ok},         {mbCancel, QMessageBox::Cancel},
    {mbYes, QMessageBox::Yes},       {mbNo, QMessageBox::No},
    {mbAbort, QMessageBox::Abort},   {mbRetry, QMessageBox::Retry},
    {mbIgnore, QMessageBox::Ignore},
};
constexpr TMessageButtons allButtons =
    mbOK | mbCancel | mbYes | mbNo | mbAbort | mbRetry | mbIgnore;

QMessageBox::Icon IconOf(TMessageKind kind) {
  switch (kind) {
    case TMessageKind::Information: return QMessageBox::Information;
    case TMessageKind::Warning: return QMessageBox::Warning;
    case TMessageKind::Error: return QMessageBox::Critical;
    case TMessageKind::Confirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// The first of the choices that the buttons hold; none when they hold none of them.
TMessageButton FirstOf(TMessageButtons buttons, std::initializer_list<TMessageButton> choices) {
  for (TMessageButton choice : choices)
    if (buttons & choice) return choice;
  return mbNone;
}

TMessageButton FirstButton(TMessageButtons buttons) {
  for (const auto& [core, qt] : buttonMap)
    if (buttons & core) return core;
  return mbNone;
}

TMessageButton LastButton(TMessageButtons buttons) {
  TMessageButton last = mbNone;
  for (const auto& [core, qt] : buttonMap)
    if (buttons & core) last = core;
  return last;
}

QString CaptionOf(const std::string& caption) {
  return caption.empty() ? QStringLiteral("Qorv") : QString::fromStdString(caption);
}

// The pattern list of one filter entry for Qt: separated by spaces, "*.*" as "*" (on
// this system a file needs no dot to be a file).
QString PatternsOf(const QString& patterns) {
  QStringList list;
  for (const QString& pattern : patterns.split(';', Qt::SkipEmptyParts)) {
    const QString trimmed = pattern.trimmed();
    if (!trimmed.isEmpty())
      list << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
  }
  return list.join(' ');
}

TQtUserDialogs qtDialogs;
std::atomic<TUserDialogs*> currentDialogs{nullptr};

}  // namespace

TMessageBox MessageBoxOf(const std::string& text, const std::string& caption,
                         TMessageKind kind) {
  return {CaptionOf(caption), QString::fromStdString(text), kind, mbOK, mbOK, mbOK};
}

TMessageBox QuestionBoxOf(const std::string& text, const std::string& caption,
                          TMessageKind kind, TMessageButtons buttons,
                          TMessageButton defaultButton) {
  buttons &= allButtons;
  if (buttons == mbNone) buttons = mbOK;
  TMessageButton enter = (buttons & defaultButton) ? defaultButton
                                                   : FirstOf(buttons, {mbOK, mbYes, mbRetry});
  if (enter == mbNone) enter = FirstButton(buttons);
  TMessageButton escape = FirstOf(buttons, {mbCancel, mbNo});
  if (escape == mbNone) escape = LastButton(buttons);
  return {CaptionOf(caption), QString::fromStdString(text), kind, buttons, enter, escape};
}

TMessageButton TUnattendedDialogs::Message(QWidget*, const TMessageBox& box) {
  if (Note) Note(box);
  return box.Default;
}

TMessageButton TQtUserDialogs::Message(QWidget* parent, const TMessageBox& shown) {
  QMessageBox box(parent);
  box.setWindowTitle(shown.Caption);
  box.setText(shown.Text);
  box.setIcon(IconOf(shown.Kind));
  for (const auto& [core, qt] : buttonMap) {
    if (!(shown.Buttons & core)) continue;
    box.addButton(qt);
    if (core == shown.Default) box.setDefaultButton(qt);
    if (core == shown.Escape) box.setEscapeButton(qt);
  }
  box.exec();
  const QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
  for (const auto& [core, qt] : buttonMap)
    if (qt == pressed && (shown.Buttons & core)) return core;
  return shown.Escape;
}

bool TQtUserDialogs::ChooseFile(QWidget* parent, TFileChoice& choice) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(choice.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(choice.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QStringList filters = NameFiltersOf(choice.Filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  // Only a new name gets the extension: Qt would add it to a typed name when opening
  // too, and then no existing file without an extension could be opened.
  if (choice.Save) dialog.setDefaultSuffix(ExtensionOf(choice.DefaultExt));
  const QString directory = QString::fromStdString(choice.InitialDir);
  if (!directory.isEmpty() && QFileInfo(directory).isDir()) dialog.setDirectory(directory);
  if (!choice.FileName.empty()) dialog.selectFile(QString::fromStdString(choice.FileName));
  if (dialog.exec() != QDialog::Accepted) return false;
  choice.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.front().isEmpty()) return false;
  // An existing file is opened as chosen; a new name gets the default extension.
  const std::string path = QDir::toNativeSeparators(chosen.front()).toStdString();
  choice.FileName = choice.Save ? WithDefaultExtension(path, choice.DefaultExt) : path;
  return true;
}

bool TQtUserDialogs::ChooseFont(QWidget* parent, QFont& font) {
  QFontDialog dialog(font, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  font = dialog.selectedFont();
  return true;
}

bool TQtUserDialogs::SetUpPrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

bool TQtUserDialogs::ChooseDirectory(QWidget* parent, const QString& caption,
                                     std::string& directory) {
  // The program's own folder dialog, which can also make a folder.
  TBrowseForm dialog(parent);
  dialog.setWindowTitle(caption);
  return dialog.BrowseDirectory(directory);
}

bool TQtUserDialogs::ChooseColor(QWidget* parent, QColor& color) {
  QColorDialog dialog(color, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  color = dialog.selectedColor();
  return true;
}

TUserDialogs& UserDialogs() {
  TUserDialogs* dialogs = currentDialogs.load();
  return dialogs ? *dialogs : qtDialogs;
}

TUserDialogs* SetUserDialogs(TUserDialogs* dialogs) { return currentDialogs.exchange(dialogs); }

QStringList NameFiltersOf(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  // A trailing "(…)" of a description repeats the patterns; Qt reads the patterns from
  // it, so it is made from the pattern half.
  // A description whose "(" is never closed loses that tail too.
  static const QRegularExpression patternsInDescription(QStringLiteral("\\s*\\([^()]*\\)?\\s*$"));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString patterns = PatternsOf(parts[i + 1]);
    if (patterns.isEmpty()) continue;
    QString description = parts[i].trimmed();
    description.remove(patternsInDescription);
    description = description.simplified();
    filters << (description.isEmpty() ? patterns : description + " (" + patterns + ")");
  }
  return filters;
}

QString ExtensionOf(const std::string& defaultExt) {
  QString extension = QString::fromStdString(defaultExt).trimmed();
  while (extension.startsWith('*') || extension.startsWith('.')) extension.remove(0, 1);
  return extension;
}

std::string WithDefaultExtension(const std::string& path, const std::string& defaultExt) {
  const QString extension = ExtensionOf(defaultExt);
  if (extension.isEmpty() || path.empty()) return path;
  const std::size_t nameStart = path.find_last_of("/\\");
  const std::string name = nameStart == std::string::npos ? path : path.substr(nameStart + 1);
  if (name.empty() || name.find('.') != std::string::npos) return path;
  return path + "." + extension.toStdString();
}
