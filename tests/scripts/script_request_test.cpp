// How commands ask for their dialogs: the new entry finds the target block and opens
// the type's request there, a command's Edit opens it on the command, and the OK's new
// command goes just before the blank line.
#include "scripts/script_request.h"

#include "model/experiment.h"
#include "scripts/command_table.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/wait_script.h"
#include "support/experiment_fixture.h"

namespace {

class ScriptRequestTest : public TCommandFixture {
protected:
  ScriptRequestTest() {
    Ui.SetDialogHandler([this](TDialogRequest& request) {
      Asked.push_back(dynamic_cast<TScriptRequest*>(&request));
      if (auto* wait = dynamic_cast<TWaitScriptRequest*>(&request)) {
        SeenWait = *wait;
        return Answer;
      }
      return 0;
    });
  }
  ~ScriptRequestTest() override { SetDebugTargetBlock(nullptr); }

  std::vector<TScriptRequest*> Asked;
  TWaitScriptRequest SeenWait;
  int Answer = 1;
};

TEST_F(ScriptRequestTest, TheNewEntryOpensTheTypesDialogForTheTargetBlock) {
  // No blank line anywhere: no target block, no dialog.
  EXPECT_EQ(NewScript(Exp, TScript::WAIT), 0);
  EXPECT_EQ(Ui.Texts(), TTexts{"You must select a block before you can add a script."});
  EXPECT_TRUE(Asked.empty());

  Exp.SelectBlock(B2->AExpNode);
  Ui.Clear();
  EXPECT_EQ(NewScript(Exp, TScript::WAIT), 1);
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(SeenWait.Experiment, &Exp);
  EXPECT_EQ(SeenWait.Block, B2);
  EXPECT_EQ(SeenWait.Script, nullptr);
  Answer = 0;
  EXPECT_EQ(NewScript(Exp, TScript::WAIT), 0);

  // A type without a dialog opens nothing and shows nothing.
  EXPECT_EQ(NewScript(Exp, TScript::BLANK), 0);
  EXPECT_EQ(Asked.size(), 2u);
  EXPECT_TRUE(Ui.Texts().empty());

  // While the debug window shows, its selected block is the target.
  SetDebugTargetBlock([this] { return B1; });
  Answer = 1;
  EXPECT_EQ(NewScript(Exp, TScript::WAIT), 1);
  EXPECT_EQ(SeenWait.Block, B1);
}

TEST_F(ScriptRequestTest, EditOpensTheDialogOnTheCommandAndAddsGoBeforeTheBlankLine) {
  Exp.SelectBlock(B1->AExpNode);
  TScript* first = AddScriptToSelectedBlock(Exp, TScript::WAIT);
  TScript* second = AddScriptToSelectedBlock(Exp, TScript::COMMENT);
  const TTreeNode* node = B1->AExpNode->GetFirstChild();
  EXPECT_EQ(ScriptOfNode(node), first);
  EXPECT_EQ(ScriptOfNode(node->GetNextSibling()), second);
  EXPECT_EQ(ScriptOfNode(node->GetNextSibling()->GetNextSibling()), Exp.GetBlankScript());
  EXPECT_EQ(first->GetScriptType(), TScript::WAIT);

  EXPECT_EQ(first->Edit(), 1);
  EXPECT_EQ(SeenWait.Script, first);
  EXPECT_EQ(SeenWait.Wait(), first);
  EXPECT_EQ(SeenWait.Block, B1);
  EXPECT_EQ(SeenWait.Experiment, &Exp);
  Answer = 0;
  EXPECT_EQ(first->Edit(), 0);
  // A command whose type has no dialog (the blank line) answers 0 without asking.
  EXPECT_EQ(Exp.GetBlankScript()->Edit(), 0);
  EXPECT_EQ(Asked.size(), 2u);
}

}  // namespace
