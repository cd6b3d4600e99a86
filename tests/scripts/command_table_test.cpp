// The command table: every row makes the command of its type number, a command's record
// reads back through the table into the same command and passes or refuses the checks
// after reading with a read error, and a commented-out command does nothing but pass the
// run on.
#include "scripts/command_table.h"

#include <functional>
#include <map>
#include <set>

#include "model/errors.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/wait_script.h"
#include "scripts/script.h"
#include "support/experiment_fixture.h"

namespace {

class CommandTableTest : public TCommandFixture {
protected:
  // The command of the row on a new node of B1 as the table makes it.
  TScript* Made(const TCommandKind& kind) {
    TScript* made = kind.Create(B1, NewNode(B1));
    EXPECT_NE(made, nullptr);
    return made;
  }
};

TEST_F(CommandTableTest, EveryCommandTypeHasOneRowAndTheBlankLineNone) {
  std::set<int> types;
  for (const TCommandKind& kind : CommandKinds()) {
    EXPECT_TRUE(types.insert(kind.Type).second) << "type " << kind.Type << " has two rows";
    EXPECT_EQ(CommandKindOf(kind.Type), &kind);
  }
  for (int type = TScript::SEND; type <= TScript::CREATENEWFILE; ++type)
    EXPECT_EQ(types.count(type), type == TScript::BLANK ? 0u : 1u) << "type " << type;
  for (int type : {-1, int(TScript::BLANK), 25, 1000}) {
    EXPECT_EQ(CommandKindOf(type), nullptr) << type;
    if (type != TScript::BLANK) {
      EXPECT_EQ(TBlock::CreateScriptByType(B1, type, nullptr), nullptr);
    }
  }
}

TEST_F(CommandTableTest, EveryRowMakesTheCommandOfItsTypeInTheBlock) {
  for (const TCommandKind& kind : CommandKinds()) {
    SCOPED_TRACE("type " + std::to_string(kind.Type));
    TScript* made = TBlock::CreateScriptByType(B1, kind.Type, NewNode(B1));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetScriptType(), kind.Type);
    EXPECT_EQ(made->Pblock, B1);
    EXPECT_EQ(ScriptOfNode(made->AExpNode), made);
    delete made;
  }
}

TEST_F(CommandTableTest, ACommentedOutCommandOnlyPassesTheRunOn) {
  // Section lines are commented out with their sections (label_repeat_test, if_then_test).
  const std::set<int> sectionLines = {TScript::REPEAT, TScript::REPUNTIL, TScript::IFTHEN,
                                      TScript::ELSE, TScript::ENDIF};
  for (const TCommandKind& kind : CommandKinds()) {
    if (sectionLines.count(kind.Type)) continue;
    SCOPED_TRACE("type " + std::to_string(kind.Type));
    TScript* made = Made(kind);
    // The Decision chooses the next block; a Label without its Repeat is a mark only, and
    // a comment is one already.
    if (!made->CanCommentOut()) {
      EXPECT_TRUE(kind.Type == TScript::DECISION || kind.Type == TScript::LABEL ||
                  kind.Type == TScript::COMMENT);
      delete made;
      continue;
    }
    TStub* next = Stub(B1, "next");
    made->SetCommentedOut(true);
    made->Pnextscript = next;
    Ui.Clear();
    EXPECT_EQ(made->Execute(), next);
    TTexts trace;
    EXPECT_EQ(made->ExecuteTrace(trace), next);
    // At most its one comment line (its wording is each command's own).
    EXPECT_LE(trace.size(), 1u);
    EXPECT_TRUE(Ui.Texts().empty());
    delete next;
    delete made;
  }
}

TEST_F(CommandTableTest, RecordsReadBackThroughTheTable) {
  // A command as its dialog leaves it; the types whose commands need variables, devices
  // or outputs have their round trips in their own tests (device/, files/, outputs/).
  std::map<int, std::function<TScript*()>> samples = {
      {TScript::WAIT, [&]() -> TScript* {
         auto* wait = static_cast<TWaitScript*>(Made(*CommandKindOf(TScript::WAIT)));
         wait->SetTime(1250);
         return wait;
       }},
      {TScript::LABEL, [&]() -> TScript* { return Label("Top"); }},
      {TScript::COMMENT, [&]() -> TScript* { return Comment("Heat the sample"); }},
  };
  for (const auto& [type, sample] : samples) {
    SCOPED_TRACE("type " + std::to_string(type));
    TScript* made = sample();
    made->SetCommentedOut(made->CanCommentOut());
    const TBytes record = Written({made});
    TScript* read = ReadInto(B1, record, {type}).front();
    EXPECT_EQ(read->GetScriptType(), type);
    EXPECT_EQ(read->GetText(), made->GetText());
    EXPECT_EQ(read->AbCommentedOut, made->AbCommentedOut);
    EXPECT_EQ(CheckError(read), "");
    EXPECT_EQ(Written({read}), record);
    delete read;
    delete made;
  }
  // A command read without what it needs is refused after reading, never run.
  for (int type : {int(TScript::SEND), int(TScript::SENDGPIB), int(TScript::SENDRS232)}) {
    TScript* made = Made(*CommandKindOf(type));
    TScript* read = ReadInto(B1, Written({made}), {type}).front();
    EXPECT_NE(CheckError(read).find("aborting read"), std::string::npos) << type;
    delete read;
    delete made;
  }
}

}  // namespace
