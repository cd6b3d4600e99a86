// The add handlers of the main window: their refusal during a run, the command each one
// makes, and the insertion point by sender ("Insert..." in front of the command, the
// blank line back where it stood when the dialog is cancelled).
#include "shell/can_add_command.h"
#include "shell/command_adding.h"

#include <set>

#include "communication/device_list.h"
#include "model/experiment_running.h"
#include "scripts/command_devices.h"
#include "scripts/command_table.h"
#include "scripts/device/send_and_read_request.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/wait_script.h"
#include "support/experiment_fixture.h"

namespace {

class CommandAddingTest : public TCommandFixture {
protected:
  // A test that names its device list lets go of it with the list.
  ~CommandAddingTest() override { SetCommandDevices(nullptr); }
  CommandAddingTest() {
    // The Wait dialog as a user fills it: a command of 250 ms, or Cancel.
    Ui.SetDialogHandler([this](TDialogRequest& request) {
      auto* wait = dynamic_cast<TWaitScriptRequest*>(&request);
      if (!wait) return 0;
      ++Opened;
      Devices.push_back(wait->Device);
      if (!Accept) return 0;
      static_cast<TWaitScript*>(AddScriptToSelectedBlock(*wait->Experiment, TScript::WAIT))
          ->SetTime(250);
      return 1;
    });
  }
  const TAddCommand& WaitRow() const { return *AddCommandOf("WaitButton"); }
  // The objects of the block's nodes in order.
  std::vector<TScript*> Lines(TBlock* block) const {
    std::vector<TScript*> lines;
    for (TTreeNode* node = block->AExpNode->GetFirstChild(); node; node = node->GetNextSibling())
      lines.push_back(ScriptOfNode(node));
    return lines;
  }

  int Opened = 0;
  std::vector<TDevice*> Devices;  // the device each dialog started with
  bool Accept = true;
};

TEST_F(CommandAddingTest, EveryHandlerHasItsOwnButtonAndACommandTypeOfTheTable) {
  std::set<std::string> buttons;
  for (const TAddCommand& row : AddCommands()) {
    EXPECT_TRUE(buttons.insert(row.Button).second) << row.Button;
    EXPECT_EQ(AddCommandOf(row.Button), &row);
    if (row.Type != SendAndReadType) {
      EXPECT_NE(CommandKindOf(row.Type), nullptr) << row.Button;
    }
  }
  EXPECT_EQ(AddCommands().size(), 22u);
  EXPECT_EQ(AddCommandOf("NoSuchButton"), nullptr);
  // The Decision, Else and End If are made by the diagram and the If-Then.
  for (int type : {int(TScript::DECISION), int(TScript::ELSE), int(TScript::ENDIF)})
    for (const TAddCommand& row : AddCommands()) EXPECT_NE(row.Type, type) << row.Button;
  EXPECT_TRUE(HasAddDialog(WaitRow()));
  // The pair has no command type of its own, but its dialog.
  EXPECT_TRUE(HasAddDialog(*AddCommandOf("SendReadButton")));
}

TEST_F(CommandAddingTest, DuringARunNothingOpensAndTheMessageNamesTheCommand) {
  Exp.SelectBlock(B1->AExpNode);
  ExperimentRunning = true;
  EXPECT_FALSE(CanAddCommand("output"));
  for (TAddSender sender : {TAddSender::ToolButton, TAddSender::MenuItem})
    EXPECT_EQ(AddCommandClick(Exp, WaitRow(), sender), 0);
  EXPECT_EQ(Opened, 0);
  EXPECT_EQ(Ui.Texts(), (TTexts{"Cannot add output while running an experiment.",
                                "Cannot add wait command while running an experiment.",
                                "Cannot add wait command while running an experiment."}));
  ExperimentRunning = false;
  Ui.Clear();
  EXPECT_TRUE(CanAddCommand("output"));
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(CommandAddingTest, TheToolButtonAddsAtTheBlankLineAndInsertInFrontOfTheCommand) {
  Exp.SelectBlock(B1->AExpNode);
  TBlankScript* blank = Exp.GetBlankScript();
  EXPECT_EQ(AddCommandClick(Exp, WaitRow(), TAddSender::ToolButton), 1);
  ASSERT_EQ(Lines(B1).size(), 2u);
  TScript* first = Lines(B1)[0];
  EXPECT_EQ(first->GetText(), "Wait 250 milliseconds");
  EXPECT_EQ(Lines(B1)[1], blank);

  // "Insert..." on the first command, cancelled: the blank line stays at the end.
  Accept = false;
  EXPECT_EQ(AddCommandClick(Exp, WaitRow(), TAddSender::InsertItem, first->AExpNode), 0);
  EXPECT_EQ(Lines(B1), (std::vector<TScript*>{first, blank}));
  EXPECT_EQ(Tree.GetSelected(), blank->AExpNode);
  // Accepted: the new command goes in front of it.
  Accept = true;
  EXPECT_EQ(AddCommandClick(Exp, WaitRow(), TAddSender::InsertItem, first->AExpNode), 1);
  const std::vector<TScript*> lines = Lines(B1);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]->GetScriptType(), TScript::WAIT);
  EXPECT_NE(lines[0], first);
  EXPECT_EQ(lines[2], first);

  // Inserting in another block's command and cancelling puts the blank line back in B1.
  TStub* other = Stub(B2, "other");
  Accept = false;
  AddCommandClick(Exp, WaitRow(), TAddSender::InsertItem, other->AExpNode);
  EXPECT_EQ(Exp.GetCurrentBlock(), B1);
  EXPECT_EQ(Lines(B2), std::vector<TScript*>{other});
  EXPECT_EQ(Opened, 4);
}

TEST_F(CommandAddingTest, FromTheDeviceListTheDialogStartsWithThatDevice) {
  Exp.SelectBlock(B1->AExpNode);
  TDeviceList list(&Exp);
  SetCommandDevices(&list);
  TDevice* meter = list.NewDevice();
  Accept = false;
  // The device rows take the device; a Wait row here stands in for one.
  TAddCommand row = WaitRow();
  row.Device = true;
  EXPECT_EQ(AddCommandClick(Exp, row, TAddSender::DeviceItem, nullptr, meter), 0);
  EXPECT_EQ(AddCommandClick(Exp, row, TAddSender::ToolButton), 0);
  EXPECT_EQ(Devices, (std::vector<TDevice*>{meter, nullptr}));
}

TEST_F(CommandAddingTest, SendAndReadOpensItsOwnDialogOnceThereIsADeviceToReadFrom) {
  Exp.SelectBlock(B1->AExpNode);
  std::vector<TDevice*> started;
  Ui.SetDialogHandler([&](TDialogRequest& request) {
    auto* pair = dynamic_cast<TSendAndReadRequest*>(&request);
    if (!pair) return 0;
    EXPECT_EQ(pair->Experiment, &Exp);
    EXPECT_EQ(pair->Block, B1);
    EXPECT_EQ(pair->Script, nullptr);
    started.push_back(pair->Device);
    return 0;  // cancelled
  });
  const TAddCommand& row = *AddCommandOf("SendReadButton");
  TDeviceList list(&Exp);
  SetCommandDevices(&list);
  // No device: nothing opens.
  EXPECT_EQ(AddCommandClick(Exp, row, TAddSender::ToolButton), 0);
  EXPECT_TRUE(started.empty());
  EXPECT_EQ(Ui.Texts(), TTexts{"There are no devices to read from."});
  TDevice* meter = list.NewDevice();
  EXPECT_EQ(AddCommandClick(Exp, row, TAddSender::ToolButton), 0);
  EXPECT_EQ(AddCommandClick(Exp, row, TAddSender::DeviceItem, nullptr, meter), 0);
  // Insert... on a command, cancelled: the blank line goes back.
  TStub* first = Stub(B1, "first");
  TBlankScript* blank = Exp.GetBlankScript();
  EXPECT_EQ(AddCommandClick(Exp, row, TAddSender::InsertItem, first->AExpNode), 0);
  EXPECT_EQ(Lines(B1), (std::vector<TScript*>{first, blank}));
  EXPECT_EQ(started, (std::vector<TDevice*>{nullptr, meter, nullptr}));
  // During a run the handler refuses first.
  ExperimentRunning = true;
  Ui.Clear();
  EXPECT_EQ(AddCommandClick(Exp, row, TAddSender::ToolButton), 0);
  EXPECT_EQ(Ui.Texts(),
            TTexts{"Cannot add send and read commands while running an experiment."});
  ExperimentRunning = false;
  EXPECT_EQ(started.size(), 3u);
}

}  // namespace
