// Steps the run and file tests of the main window share: a Wait in the start block,
// files dropped as the shell drops them, the menus as they show when opened, and the
// times at which message boxes were answered.
#pragma once

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "communication/cec_gpib.h"
#include "communication/core_device.h"
#include "communication/device.h"
#include "main_window_fixture.h"
#include "model/block.h"
#include "model/experiment.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/wait_script.h"
#include "support/sanitized.h"

inline const char* const SaveQuestion = "The experiment has been changed, do you wish to save it?";
inline const char* const CannotOpen = "Experiment Running, cannot open a new experiment.";
inline const char* const CannotSave = "Experiment Running, cannot save the experiment.";

using TSteadyTime = std::chrono::steady_clock::time_point;

inline long long MillisecondsBetween(TSteadyTime from, TSteadyTime to) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count();
}

// Passes boxes and choosers on to the scripted seam, noting when each box was answered.
class TTimedDialogs final : public TUserDialogs {
public:
  explicit TTimedDialogs(TUserDialogs& answering) : Answering(answering) {
    Previous = SetUserDialogs(this);
  }
  ~TTimedDialogs() override { SetUserDialogs(Previous); }
  TTimedDialogs(const TTimedDialogs&) = delete;
  TTimedDialogs& operator=(const TTimedDialogs&) = delete;

  TMessageButton Message(QWidget* parent, const TMessageBox& box) override {
    const TMessageButton answer = Answering.Message(parent, box);
    std::lock_guard guard(Lock);
    Answered.emplace_back(box.Text.toStdString(), std::chrono::steady_clock::now());
    return answer;
  }
  bool ChooseFile(QWidget* parent, TFileChoice& choice) override {
    return Answering.ChooseFile(parent, choice);
  }
  bool ChooseFont(QWidget* parent, QFont& font) override {
    return Answering.ChooseFont(parent, font);
  }
  bool SetUpPrinter(QWidget* parent, QPrinter& printer) override {
    return Answering.SetUpPrinter(parent, printer);
  }
  bool ChooseDirectory(QWidget* parent, const QString& caption, std::string& directory) override {
    return Answering.ChooseDirectory(parent, caption, directory);
  }
  bool ChooseColor(QWidget* parent, QColor& color) override {
    return Answering.ChooseColor(parent, color);
  }
  // When the last box with the text was answered.
  std::optional<TSteadyTime> AnsweredAt(const std::string& text) const {
    std::lock_guard guard(Lock);
    for (auto it = Answered.rbegin(); it != Answered.rend(); ++it)
      if (it->first == text) return it->second;
    return std::nullopt;
  }
  void Clear() {
    std::lock_guard guard(Lock);
    Answered.clear();
  }

private:
  TUserDialogs& Answering;
  TUserDialogs* Previous = nullptr;
  mutable std::mutex Lock;
  std::vector<std::pair<std::string, TSteadyTime>> Answered;
};

class TWindowStepsTest : public TMainWindowTest {
protected:
  TExperiment& Exp() const { return Window->Session().GetExperiment(); }
  TDeviceList& Devices() const { return Window->Session().GetDeviceList(); }

  // A Wait at the end of the first block, the experiment marked modified as edits mark it.
  TWaitScript* AddWait(int milliseconds) {
    TTree& tree = Exp().GetExperimentTree();
    TBlock* block = BlockOfNode(tree.GetFirstNode());
    EXPECT_NE(block, nullptr);
    if (!block) return nullptr;
    TBlankScript* blank = Exp().GetBlankScript();
    TTreeNode* node = blank && blank->AExpNode->GetParent() == block->AExpNode
                          ? tree.Insert(blank->AExpNode, "none")
                          : tree.AddChild(block->AExpNode, "none");
    auto* wait = new TWaitScript(block, node);
    wait->SetTime(milliseconds);
    UiPort().ExperimentChanged(1, 0);
    return wait;
  }

  // A device named so on GPIB address 5, shown in the device list.
  TDevice* AddMeter(const std::string& name = "Meter", int address = 5) {
    TDevice* device = Devices().NewDevice();
    device->GetCoreDevice().SetName(name);
    device->SetCommunication(std::make_unique<TCECGPIB>(0, address, nullptr));
    device->UpdateListItem();
    Window->RefreshViews();
    return device;
  }

  // Drops the files and lets the window take them.
  bool Drop(const std::vector<std::string>& paths, const char* on = nullptr) {
    const bool taken = SendDrop(paths, on);
    QCoreApplication::processEvents();
    return taken;
  }
  // Drops the files as the shell drops them: enter, then drop, on the named widget (or
  // the window); answers whether the drop was taken as soon as it ends.
  bool SendDrop(const std::vector<std::string>& paths, const char* on = nullptr) {
    QWidget* target = Window.get();
    if (on) target = Window->findChild<QWidget*>(on);
    EXPECT_NE(target, nullptr) << on;
    if (!target) return false;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(target)) target = area->viewport();
    QMimeData mime;
    QList<QUrl> urls;
    for (const std::string& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
    mime.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
  }

  QMenu* Menu(const char* name) const {
    auto* menu = Window->findChild<QMenu*>(name);
    EXPECT_NE(menu, nullptr) << name;
    return menu;
  }
  QMenu* OpenMenu(const char* name) {  // refreshed as when the user opens it
    QMenu* menu = Menu(name);
    if (menu) emit menu->aboutToShow();
    return menu;
  }
  // The captions of the recent-file items of "&Reopen Experiment", in menu order.
  std::vector<std::string> ReopenCaptions() const {
    std::vector<std::string> captions;
    const QList<QAction*> items = Menu("Reopen")->actions();
    for (int index = 2; index < items.size(); ++index)
      captions.push_back(items[index]->text().toStdString());
    return captions;
  }
  // The recent-file item at the index, as the menu holds it now.
  QAction* ReopenItem(int index) const {
    const QList<QAction*> items = Menu("Reopen")->actions();
    QAction* item = index + 2 < items.size() ? items[index + 2] : nullptr;
    EXPECT_NE(item, nullptr) << "no recent-file item " << index;
    if (item) {
      EXPECT_EQ(item->objectName(), QString("ReopenItem%1").arg(index));
    }
    return item;
  }
  // Whether "&Reopen Experiment" can be opened once "&File" opens; item and submenu agree.
  bool ReopenEnabled() {
    OpenMenu("FileMenu");
    QMenu* reopen = Menu("Reopen");
    EXPECT_EQ(reopen->menuAction()->isEnabled(), reopen->isEnabled())
        << "the \"&Reopen Experiment\" item and its submenu disagree";
    return reopen->menuAction()->isEnabled();
  }

  std::vector<std::string> TreeBlocks() const {  // the top rows the view shows
    std::vector<std::string> titles;
    auto* view = Window->findChild<QTreeView*>("ExperimentView");
    EXPECT_NE(view, nullptr);
    if (!view) return titles;
    for (int row = 0; row < view->model()->rowCount(); ++row)
      titles.push_back(view->model()->index(row, 0).data().toString().toStdString());
    return titles;
  }
  int ShownDevices() const {
    auto* view = Window->findChild<QTreeWidget*>("DeviceView");
    EXPECT_NE(view, nullptr);
    return view ? view->topLevelItemCount() : -1;
  }

  void SaveAs(const std::string& path) {
    Dialogs.ScriptFiles({path});
    OpenMenu("FileMenu");
    Trigger("SaveAsMenuItem");
  }
  // Runs to the end: Ctrl+G, "Experiment Complete" answered, the controls stopped.
  void RunToTheEnd() {
    Dialogs.ScriptAnswers({mbOK});
    QTest::keyClick(Window.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(WaitUntil(
        [&] { return Panel(TQorvForm::spRunState) == "Stopped" && !IsRunActive(); }, 30000));
    ASSERT_FALSE(Dialogs.Texts().empty());
    EXPECT_EQ(Dialogs.Texts().back(), "Experiment Complete");
  }
};
