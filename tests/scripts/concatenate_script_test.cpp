// The Concatenate command: splitting and resolving the typed expression, the texts it
// stores and traces, unclosed braces kept as text, the record byte by byte and read
// back, damaged records refused, and what retyping or deleting a variable does to it.
#include "scripts/flow/concatenate_script.h"

#include <stdexcept>

#include "model/errors.h"
#include "model/value.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "scripts/flow/concatenate_parse.h"
#include "scripts/flow/concatenate_piece.h"
#include "scripts/flow/concatenate_string.h"
#include "support/experiment_fixture.h"

namespace {

const std::string NotDefined =
    "Concatenate script variable or variable data not defined...aborting read";

class ConcatenateTest : public TCommandFixture {
protected:
  void SetUp() override {
    X->GetValue().SetText("5");
    F->GetValue().SetText("2.5");
    S->GetValue().SetText("old");
    for (int i = 0; i < 3; ++i) Arr->GetValueArray().SetElementText(std::to_string(10 + i), i);
    K->GetValue().SetText("1");
  }
  TConcatenateScript* NewCommand(TBlock* block = nullptr) {
    block = block ? block : B1;
    return new TConcatenateScript(block, Tree.AddChild(block->AExpNode, "none"));
  }
  // A command set up as the dialog's OK does, with variable checking unless disabled.
  TConcatenateScript* Make(const std::string& text, TData* target, bool check = true,
                           std::int32_t notation = 0, std::int32_t decimals = 0) {
    TConcatenateScript* command = NewCommand();
    command->SetUp(ParseConcatenation(text, Exp, check), target, notation, decimals, !check, true);
    return command;
  }
  // The kinds of the parse pieces: "V" resolved variable, "L" literal.
  std::string Kinds(const std::string& text, bool check = true) {
    std::string kinds;
    for (const auto& piece : ParseConcatenation(text, Exp, check))
      kinds += piece->PdData ? "V" : "L";
    return kinds;
  }
  // The reason given for refusing the text.
  std::string Refusal(const std::string& text) {
    try {
      ParseConcatenation(text, Exp, true);
    } catch (const std::runtime_error& error) {
      return error.what();
    }
    return "accepted";
  }

  TDataSingle* X = Single(B1, "x", eatINTEGER);
  TDataSingle* F = Single(B1, "f", eatFLOAT);
  TDataSingle* S = Single(B1, "s", eatSTRING);
  TDataSingle* K = Single(B1, "k", eatINTEGER);
  TDataArray* Arr = Array(B1, "arr", eatINTEGER, 3);
  TDataArray* Pair = Array(B1, "pair", eatINTEGER, 2);
};

TEST_F(ConcatenateTest, TextsJoinLiteralsAndVariableValues) {
  struct TCase { std::string text; std::int32_t notation, decimals; std::string kinds, result; };
  const TCase cases[] = {
      {"a{x}b", 0, 0, "LVL", "a5b"},
      {"Temp={f} K", 0, 0, "LVL", "Temp=2.5 K"},
      {"{f}", 1, 2, "V", "2.50"},     // fixed, two places
      {"{f}", 2, 2, "V", "2.50E+0"},  // scientific, two places
      {"{x}", 1, 2, "V", "5.00"},     // integers too take the notation
      {"{x}{s}", 0, 0, "VV", "5old"},
      {"}{x}", 0, 0, "LV", "}5"},
      {"{arr[2]}", 0, 0, "V", "12"},
      {"{ARR[k]}/{X}", 0, 0, "VLV", "11/5"},  // names without regard to case
      {"{ arr [1]}", 0, 0, "V", "11"},
      {"no variables", 0, 0, "L", "no variables"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Kinds(c.text), c.kinds) << c.text;
    S->GetValue().SetText("old");
    TConcatenateScript* command = Make(c.text, S, true, c.notation, c.decimals);
    EXPECT_EQ(command->Execute(), command->Pnextscript);
    EXPECT_EQ(S->GetValueText(), c.result) << c.text;
    delete command;
  }

  // The array's element is read when the command runs, through the index variable.
  TConcatenateScript* command = Make("a{x}b{arr[k]}", S);
  EXPECT_EQ(command->AExpNode->GetText(), "Concatenate(s=a{x}b{arr[k]})");
  K->GetValue().SetText("0");
  X->GetValue().SetText("-7");
  EXPECT_EQ(TraceOf(command), (TTexts{"Concatenating a{x}b{arr[k]}", "a-7b10"}));
  EXPECT_EQ(S->GetValueText(), "a-7b10");
  EXPECT_EQ(command->GetStoredData(), S);
  EXPECT_EQ(command->GetSecondStoredData(), nullptr);

  // Commented out, it stores nothing.
  command->SetCommentedOut(true);
  S->GetValue().SetText("kept");
  EXPECT_EQ(TraceOf(command), TTexts{"Comment:(Concatenate(s=a{x}b{arr[k]}))"});
  command->Execute();
  EXPECT_EQ(S->GetValueText(), "kept");

  // An element of an array as the target; an integer target converts the text.
  TConcatenateScript* toArray = Make("{x}1", Arr);
  static_cast<TVariableDataArray*>(toArray->GetVariable())->GetArrayIndex().SetIndexConstant(2);
  toArray->Execute();
  EXPECT_EQ(Arr->GetValueArray().GetElementText(2), "-71");
  EXPECT_EQ(toArray->AExpNode->GetText(), "Concatenate(arr[2]={x}1)");
  TConcatenateScript* toInteger = Make("x{x}", K);
  EXPECT_THROW(toInteger->Execute(), EExperimentError);
}

TEST_F(ConcatenateTest, NamesThatResolveToNothingAreRefusedOrKeptAsText) {
  const struct { std::string text, refusal; } refused[] = {
      {"{pair[2]}", "Index 2 is outside the size of pair[2]"},
      {"{pair[]}", "pair[]:You must specify an index."},
      {"{pair[f]}", "f is an invalid index."},  // a float cannot index
      {"{pair[nosuch]}", "nosuch is an invalid index."},
      {"{nosuch}", "nosuch is is not a variable."},
      {"{ x }", " x  is is not a variable."},  // blanks inside the braces count
      {"{nope [1]}", "nope is is not a variable."},
      {"{arr}", "arr is is not a variable."},  // an array needs its brackets
  };
  for (const auto& r : refused) EXPECT_EQ(Refusal(r.text), r.refusal) << r.text;

  // With variable checking disabled the braces stay as text, merged with their
  // neighbours; a resolved variable keeps its own piece.
  EXPECT_EQ(Kinds("a{nosuch}b", false), "L");
  EXPECT_EQ(Kinds("a{nosuch}{x}{pair[9]}c", false), "LVL");
  TConcatenateScript* command = Make("a{nosuch}{x}{pair[9]}c", S, false);
  EXPECT_EQ(command->GetConcatenateString()->Count(), 3);
  command->Execute();
  EXPECT_EQ(S->GetValueText(), "a{nosuch}5{pair[9]}c");
  EXPECT_EQ(command->GetExpressionText(), "a{nosuch}{x}{pair[9]}c");
  EXPECT_TRUE(command->GetDisableVariableCheck());
}

TEST_F(ConcatenateTest, AnUnclosedBraceStaysLiteralText) {
  const std::string texts[] = {"a{x", "{x", "{", "b}{x", "{a{x}", "{x}{x"};
  const std::string kinds[] = {"LL", "L", "L", "LL", "L", "VL"};
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    EXPECT_EQ(Refusal(texts[i]), "accepted") << texts[i];  // never resolved, so never refused
    EXPECT_EQ(Kinds(texts[i]), kinds[i]) << texts[i];
    TConcatenateScript* command = Make(texts[i], S);
    command->Execute();
    const std::string typed = texts[i];
    EXPECT_EQ(S->GetValueText(), typed == "{x}{x" ? "5{x" : typed);
    EXPECT_EQ(command->GetExpressionText(), typed);
  }
  // The unclosed piece holds no reference: x has only the users of closed pieces.
  EXPECT_EQ(X->GetUserCount(), 1);
}

TEST_F(ConcatenateTest, EmptyCommands) {
  TConcatenateScript* never = NewCommand();
  never->SetVariable(S);
  EXPECT_EQ(never->GetText(), "Concatenate(s=\"\")");
  EXPECT_EQ(never->GetExpressionText(), "");
  never->Execute();
  EXPECT_EQ(S->GetValueText(), "");

  TConcatenateScript* blank = Make("", S);
  EXPECT_EQ(blank->AExpNode->GetText(), "Concatenate(s=)");
  S->GetValue().SetText("x");
  blank->Execute();
  EXPECT_EQ(S->GetValueText(), "");

  TConcatenateScript* untargeted = NewCommand();
  EXPECT_EQ(untargeted->GetText(), "Concatenate(\"\")");
  EXPECT_THROW(untargeted->Execute(), EExperimentError);
}

TEST_F(ConcatenateTest, RecordByteByByteAndReadBack) {
  TConcatenateScript* command = Make("a{x}b{arr[k]}", S, true, 1, 3);
  TConcatenateScript* toElement = Make("{pair[1]}", Arr, true, 2, 0);
  static_cast<TVariableDataArray*>(toElement->GetVariable())->GetArrayIndex().SetIndexConstant(1);
  toElement->SetCommentedOut(true);
  // Identifiers in order of first use: the command 100, x 101, arr 102, k 103, s 104,
  // the second command 105, pair 106.
  const TBytes record = Cat({Le32(100), {0}, Le32(4),                   // base, four pieces
                             Le32(0), StringBytes("a"),                  //
                             Le32(1), {0}, Le32(101),                    // x
                             Le32(0), StringBytes("b"),                  //
                             Le32(1), {1}, Le32(102), {1}, Le32(103), {0},  // arr[k]
                             {1}, {0}, Le32(1), Le32(3),                 // trim, check, fixed 3
                             {0}, Le32(104)});                           // target s
  const TBytes second = Cat({Le32(105), {1}, Le32(1),                    //
                             Le32(1), {1}, Le32(106), {0}, {1}, Le32(1),  // pair[1]
                             {1}, {0}, Le32(2), Le32(0),                 //
                             {1}, Le32(102), {0}, {1}, Le32(1)});        // target arr[1]
  ASSERT_EQ(Written({command, toElement}), Cat({record, second}));

  // Read back as a document is: the records, then each variable binds its users.
  const TBytes users = Cat({Le32(1), Le32(101), Le32(2), Le32(102), Le32(1), Le32(103),
                            Le32(1), Le32(104), Le32(1), Le32(106)});
  const auto reader = Reader(Cat({record, second, users}));
  TConcatenateScript* read = NewCommand(B2);
  TConcatenateScript* readElement = NewCommand(B2);
  read->Load(*reader);
  readElement->Load(*reader);
  EXPECT_THROW(read->CheckAfterRead(), EReadError);  // nothing bound yet
  for (TData* v : std::initializer_list<TData*>{X, Arr, K, S, Pair}) v->LoadUsers(*reader);
  EXPECT_EQ(reader->BytesLeft(), 0u);
  read->CheckAfterRead();
  readElement->CheckAfterRead();
  EXPECT_EQ(read->AExpNode->GetText(), command->GetText());
  EXPECT_EQ(readElement->AExpNode->GetText(), "Concatenate(arr[1]={pair[1]})");
  EXPECT_TRUE(readElement->AbCommentedOut);
  EXPECT_EQ(read->GetNotation(), 1);
  EXPECT_EQ(read->GetDecimalPlaces(), 3);
  EXPECT_TRUE(read->GetTrimResult());
  read->Execute();
  EXPECT_EQ(S->GetValueText(), "a5.000b11.000");  // fixed notation, three places

  // A block export lists every reference written, the index variable's too.
  std::vector<TVariable*> exported;
  Written({command}, &exported);
  EXPECT_EQ(exported.size(), 4u);  // x, arr[k], k, s
  const auto piece = [&](int i) {
    return static_cast<TVariablePiece*>(command->GetConcatenateString()->Item(i))->GetVariable();
  };
  EXPECT_EQ(exported[0], piece(1));
  EXPECT_EQ(exported[1], &static_cast<TVariableDataArray*>(piece(3))->GetArrayIndex());
  EXPECT_EQ(exported[2], piece(3));
  EXPECT_EQ(exported[3], command->GetVariable());
}

TEST_F(ConcatenateTest, DamagedRecordsAreRefused) {
  const TBytes base = Cat({Le32(100), {0}});
  const TBytes tail = Cat({{1}, {0}, Le32(0), Le32(0), {0}, Le32(104)});
  const struct { const char* what; TBytes bytes; } damaged[] = {
      {"unknown piece kind", Cat({base, Le32(1), Le32(2), StringBytes("a"), tail})},
      {"negative count", Cat({base, Le32(0xFFFFFFFF), tail})},
      {"count beyond the file", Cat({base, Le32(1000), tail})},
      {"unknown notation", Cat({base, Le32(0), {1}, {0}, Le32(3), Le32(0), {0}, Le32(104)})},
      {"cut in the target", Cat({base, Le32(0), {1}, {0}, Le32(0), Le32(0), {0}})},
      {"negative array index", Cat({base, Le32(1), Le32(1), {1}, Le32(102), {0}, {1},
                                    Le32(0xFFFFFFFF), tail})},
  };
  for (const auto& d : damaged) {
    TConcatenateScript* command = NewCommand();
    EXPECT_THROW(command->Load(*Reader(d.bytes)), EReadError) << d.what;
    delete command;
  }

  // Records whose references find no variable fail the check after reading.
  const struct { const char* what; TBytes bytes, users; } unbound[] = {
      {"target", Cat({base, Le32(0), tail}), {}},
      {"piece", Cat({base, Le32(1), Le32(1), {0}, Le32(101), tail}), Cat({Le32(1), Le32(104)})},
  };
  for (const auto& u : unbound) {
    const auto reader = Reader(Cat({u.bytes, u.users}));
    TConcatenateScript* command = NewCommand();
    command->Load(*reader);
    if (!u.users.empty()) S->LoadUsers(*reader);
    EXPECT_EQ(CheckError(command), NotDefined) << u.what;
  }

  // A whole array read as the target has no element to set: the run stops with an
  // error instead of the program.
  const auto reader = Reader(Cat({base, Le32(0), {1}, {0}, Le32(0), Le32(0), {1}, Le32(102), {0},
                                  {0}, Le32(1), Le32(102)}));
  TConcatenateScript* whole = NewCommand();
  whole->Load(*reader);
  Arr->LoadUsers(*reader);
  whole->CheckAfterRead();
  EXPECT_THROW(whole->Execute(), EExperimentError);
}

TEST_F(ConcatenateTest, RetypingAndDeletingItsVariables) {
  TConcatenateScript* command = Make("{x}{f}", S);
  TVariableData* target = command->GetVariable();
  TVariableData* first =
      static_cast<TVariablePiece*>(command->GetConcatenateString()->Item(0))->GetVariable();
  EXPECT_TRUE(command->IsStoredVariable(target));
  EXPECT_FALSE(command->IsStoredVariable(first));
  EXPECT_TRUE(command->CanMoveTo(B1, B1->AExpNode));
  EXPECT_FALSE(command->CanMoveTo(B2, B2->AExpNode) || command->CanMoveTo(nullptr, nullptr));

  // A piece's variable retyped to string keeps the command without a question.
  EXPECT_TRUE(X->SetDataType(eatSTRING));
  EXPECT_TRUE(Ui.Texts().empty());
  EXPECT_EQ(command->AExpNode->GetParent(), B1->AExpNode);
  // Retyped to a number after the question, the command goes with it.
  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(F->SetDataType(eatINTEGER));
  EXPECT_EQ(B1->AExpNode->Count(), 0);

  // Deleting a variable deletes the commands that use it.
  Make("{k}", S);
  Make("text", S);
  EXPECT_EQ(B1->AExpNode->Count(), 2);
  delete K;
  EXPECT_EQ(B1->AExpNode->Count(), 1);
  delete S;
  EXPECT_EQ(B1->AExpNode->Count(), 0);

  // The target reference changes kind only with the kind of its variable.
  TConcatenateScript* retargeted = Make("{x}", Arr);
  TVariableData* element = retargeted->GetVariable();
  retargeted->SetVariable(Pair);
  EXPECT_EQ(retargeted->GetVariable(), element);
  EXPECT_EQ(retargeted->GetStoredData(), Pair);
  retargeted->SetVariable(X);
  EXPECT_FALSE(retargeted->GetVariable()->IsArray());
  EXPECT_FALSE(Pair->HasUsers());
}

}  // namespace
