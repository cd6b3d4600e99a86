// The debugger from the main window: it opens modally on the experiment, closes during a
// long Wait at once with the first block current again, and a debug run of the demo on
// the simulated instruments writes the data file a normal run writes.
#include <QApplication>
#include <QFile>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>

#include "communication/ui/communication_dialogs.h"
#include "communication/ui/interactive_form.h"
#include "main_window_steps.h"
#include "model/ui/tree_model.h"
#include "platform/ui/help_topics.h"
#include "platform/ui/help_window.h"
#include "scripts/ui/script_dialogs.h"
#include "scripts/ui/wait_dialog.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/node_tree_view.h"
#include "support/ui/dialog_driver.h"
#include "shell/debug_log.h"
#include "shell/ui/debug_form.h"

namespace {

class MainWindowDebugTest : public TWindowStepsTest {
protected:
  // The command dialogs, as at start-up.
  MainWindowDebugTest() {
    RegisterScriptDialogs(Registry);
    RegisterCommunicationDialogs(Registry);
    Port.SetDialogRegistry(&Registry);
  }
  ~MainWindowDebugTest() override {
    CloseWithoutQuestions();
    Port.SetDialogRegistry(nullptr);
  }

  // Acts on the debug window once it shows modally; the act must close it.
  void WhenDebugShows(std::function<void(TDebugForm&)> act) {
    auto* timer = new QTimer(Window.get());
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act)] {
      auto* form = dynamic_cast<TDebugForm*>(QApplication::activeModalWidget());
      if (!form) return;
      timer->stop();
      timer->deleteLater();
      act(*form);
    });
    timer->start(10);
  }
  static void Press(TDebugForm& form, const char* name) {
    auto* button = form.findChild<QToolButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
  }
  static std::string LastLine(TDebugForm& form) {
    const TDebugLog& log = form.Log();
    return log.IsEmpty() ? std::string() : log.Line(log.Count() - 1).Text;
  }
  TDialogRegistry Registry;

  QByteArray DataFile() {
    QFile data(QString::fromStdString(Temp.PathOf(DemoDataFileName)));
    EXPECT_TRUE(data.open(QIODevice::ReadOnly));
    return data.readAll();
  }
};

TEST_F(MainWindowDebugTest, EscapeOrCloseDuringALongWaitEndsTheDebuggerAtOnce) {
  StartQorv();
  AddWait(5000);
  TBlock* first = BlockOfNode(Exp().GetExperimentTree().GetFirstNode());
  const long long limit = Sanitized() ? 2000 : 600;
  for (const bool escape : {true, false}) {
    SCOPED_TRACE(escape ? "Escape" : "Close");
    bool seen = false;
    TSteadyTime asked{};
    WhenDebugShows([&](TDebugForm& form) {
      seen = true;
      EXPECT_EQ(form.windowTitle(), QString("Debug Experiment"));
      // The blank line is no step: the block holds the Wait alone.
      EXPECT_EQ(form.Engine().GetDebugTree()->GetTree().GetFirstNode()->Count(), 1);
      Press(form, "StartButton");
      QTimer::singleShot(200, &form, [&form, &asked, escape] {
        asked = std::chrono::steady_clock::now();
        if (escape)
          QTest::keyClick(&form, Qt::Key_Escape);
        else
          form.CloseClick();
        EXPECT_FALSE(form.isVisible());
      });
    });
    Trigger("DebugButton");
    const TSteadyTime returned = std::chrono::steady_clock::now();
    ASSERT_TRUE(seen);
    EXPECT_LE(MillisecondsBetween(asked, returned), limit);
    TDebugForm* form = Window->DebugWindow();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->Engine().IsShowing());
    EXPECT_FALSE(form->RunTimer().isActive());
    EXPECT_EQ(first->DebugNode, nullptr);
    // The first block is current again, holding the blank line.
    ASSERT_NE(Exp().GetBlankScript(), nullptr);
    EXPECT_EQ(Exp().GetCurrentBlock(), first);
    EXPECT_EQ(Panel(TQorvForm::spBlock), QString("Start Block"));
    EXPECT_TRUE(Action("DebugButton")->isEnabled());
  }
}

TEST_F(MainWindowDebugTest, TheDevicesShowWithTheirPopUpAndTheAttributesFullyOpen) {
  StartQorv();
  AddWait(10);
  AddMeter("Meter");
  bool seen = false;
  WhenDebugShows([&](TDebugForm& form) {
    seen = true;
    auto* devices = form.findChild<QTreeWidget*>("DeviceDebugView");
    ASSERT_NE(devices, nullptr);
    ASSERT_EQ(devices->topLevelItemCount(), 1);
    EXPECT_EQ(devices->topLevelItem(0)->text(0), QString("Meter"));
    EXPECT_FALSE(devices->topLevelItem(0)->data(0, Qt::CheckStateRole).isValid());
    // Without a device selected the pop-up has no items; with one, all three.
    devices->clearSelection();
    form.UpdateDevicePopup();
    for (QAction* item : form.DeviceDebugPopup()->actions()) EXPECT_FALSE(item->isVisible());
    devices->setCurrentItem(devices->topLevelItem(0));
    form.UpdateDevicePopup();
    QStringList texts;
    for (QAction* item : form.DeviceDebugPopup()->actions())
      if (item->isVisible()) texts << item->text();
    EXPECT_EQ(texts, (QStringList{"Edit", "Interact", "Reset"}));
    // The attribute copy shows every list of the experiment, opened.
    TTree& attributes = form.Engine().GetAttributeTree()->GetTree();
    for (TTreeNode* node = attributes.GetFirstNode(); node; node = node->GetNextSibling())
      EXPECT_TRUE(node->GetExpanded()) << node->GetText();
    // Nothing selected: no attribute items.
    attributes.SetSelected(nullptr);
    form.UpdateAttributePopup();
    for (QAction* item : form.ExpAttPopup()->actions()) EXPECT_FALSE(item->isVisible());
    // Help: the button and "Debug Help" at the window's topic, "Command Help" at the
    // commands'.
    const auto shows = [](int context) {
      THelpWindow* help = THelpWindow::Existing();
      return help && help->isVisible() && FindHelpTopic(context) &&
             help->CurrentUrl() == HelpTopicUrl(*FindHelpTopic(context));
    };
    Press(form, "HelpButton");
    EXPECT_TRUE(shows(28));
    form.findChild<QAction*>("CommandHelpMenuItem")->trigger();
    EXPECT_TRUE(shows(1));
    form.findChild<QAction*>("DebugHelpMenuItem")->trigger();
    EXPECT_TRUE(shows(28));
    THelpWindow::Close();
    form.CloseClick();
  });
  Trigger("DebugButton");
  EXPECT_TRUE(seen);
}

// The device pop-up's console opens during a debug run: no step runs while it shows,
// so its exchanges never meet a traced command's on the bus; the run goes on after.
TEST_F(MainWindowDebugTest, TheRunWaitsWhileTheDevicesConsoleIsOpen) {
  StartQorv();
  for (int i = 0; i < 3; ++i) AddWait(10);
  AddMeter("Meter");
  bool seen = false;
  WhenDebugShows([&](TDebugForm& form) {
    auto* devices = form.findChild<QTreeWidget*>("DeviceDebugView");
    ASSERT_NE(devices, nullptr);
    devices->setCurrentItem(devices->topLevelItem(0));
    form.UpdateDevicePopup();
    QAction* interact = form.DeviceDebugPopup()->findChild<QAction*>("InteractItem");
    ASSERT_NE(interact, nullptr);
    Press(form, "StartButton");
    TScript* next = form.Engine().GetNextScript();
    ASSERT_NE(next, nullptr);
    TModalDialogActor<TInteractiveForm> console([&](TInteractiveForm& dialog) {
      seen = true;
      QTest::qWait(300);  // time for every Wait of the run, were it going on
      EXPECT_EQ(form.Engine().GetNextScript(), next);
      dialog.reject();
    });
    interact->trigger();
    EXPECT_TRUE(console.Seen);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.Engine().GetNextScript() == nullptr; }, 10000));
    form.CloseClick();
  });
  Trigger("DebugButton");
  EXPECT_TRUE(seen);
}

TEST_F(MainWindowDebugTest, ACommandIsEditedByADoubleClickAndDeletedFromItsPopUp) {
  StartQorv();
  AddWait(10);
  TWaitScript* second = AddWait(20);
  Window->Session().ExperimentChanged(0, 1);
  bool dialogSeen = false;
  bool done = false;
  WhenDebugShows([&](TDebugForm& form) {
    auto* view = form.findChild<TNodeTreeView*>("DebugTreeView");
    ASSERT_NE(view, nullptr);
    TTreeNode* node = second->DebugNode;
    ASSERT_NE(node, nullptr);
    // The command's own dialog, on a double click of its selected node.
    form.Engine().GetDebugTree()->GetTree().SetSelected(node);
    const QRect row = view->visualRect(view->TreeModel()->IndexOf(node));
    {
      TModalDialogActor<TWaitScriptForm> actor([&](TWaitScriptForm& dialog) {
        dialogSeen = true;
        dialog.reject();
      });
      QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row.center());
      EXPECT_TRUE(QTest::qWaitFor([&] { return actor.Seen; }, 5000));
    }
    // "Delete" from the pop-up: the command goes, the copy follows, the experiment is
    // modified.
    form.Engine().GetDebugTree()->GetTree().SetSelected(second->DebugNode);
    form.UpdateDebugPopup();
    QAction* remove = form.findChild<QAction*>("DebugDeleteItem");
    ASSERT_TRUE(remove && remove->isVisible());
    remove->trigger();
    EXPECT_EQ(form.Engine().GetDebugTree()->GetTree().GetFirstNode()->Count(), 1);
    done = true;
    form.CloseClick();
  });
  Trigger("DebugButton");
  EXPECT_TRUE(dialogSeen);
  EXPECT_TRUE(done);
  EXPECT_EQ(Exp().GetExperimentTree().GetFirstNode()->Count(), 2);  // the Wait and the blank line
  EXPECT_EQ(Panel(TQorvForm::spModified), QString("Modified"));
}

TEST_F(MainWindowDebugTest, ADebugRunOfTheDemoWritesTheDataFileOfANormalRun) {
  TDemoInstruments instruments;
  StartQorv(QString::fromStdString(SaveDemo(4, 20)));
  RunToTheEnd();
  const QByteArray normal = DataFile();
  ASSERT_EQ(normal.count('\n'), 4);
  QFile::remove(QString::fromStdString(Temp.PathOf(DemoDataFileName)));

  bool finished = false;
  WhenDebugShows([&](TDebugForm& form) {
    Press(form, "StartButton");
    finished = QTest::qWaitFor([&] { return LastLine(form) == "Experiment Finished"; }, 30000);
    form.CloseClick();
  });
  Trigger("DebugButton");
  ASSERT_TRUE(finished);
  // Closed at the end of the debug run: complete, with the same lines.
  const QByteArray debug = DataFile();
  ASSERT_EQ(debug.count('\n'), 4);
  const QList<QByteArray> normalLines = normal.split('\n');
  const QList<QByteArray> debugLines = debug.split('\n');
  for (qsizetype i = 0; i < normalLines.size(); ++i) {
    // The reading number and the number of fields are the same; the readings are the
    // simulated instruments' own.
    EXPECT_EQ(debugLines[i].split('\t').size(), normalLines[i].split('\t').size()) << i;
    EXPECT_EQ(debugLines[i].split('\t').first(), normalLines[i].split('\t').first()) << i;
  }
  EXPECT_EQ(debug.count('\r'), 4);
}

}  // namespace
