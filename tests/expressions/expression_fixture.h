// What the expression tests share: an experiment with one block, a stand-in for the
// command that owns compiled expressions and their references, compiling and evaluating
// an expression text as the Calculate dialog does, and records written to bytes.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "expressions/math_expression.h"
#include "expressions/math_list.h"
#include "expressions/math_token_list.h"
#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/value.h"
#include "model/value_array.h"
#include "model/write_file.h"
#include "scripts/attribute_script.h"
#include "support/fake_ui_port.h"
#include "support/temp_dir.h"

namespace expr_test {

const TBytes False{0}, True{1};
inline TBytes Int(std::int32_t value) { return Le32(static_cast<std::uint32_t>(value)); }

// Stands in for the Calculate command: it owns the references its expressions make and
// keeps integer and float variables.
class TOwnerCommand : public TAttributeScript {
public:
  TOwnerCommand(TBlock* block, TTreeNode* node) : TAttributeScript(block, node) {}
  int Edit() override { return 0; }
  TScript* Execute() override { return Pnextscript; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Pnextscript; }
  bool CanMakeCopyScript() override { return true; }
  bool DrawNode(TNodeStyle&) override { return false; }
  std::string GetText() override { return "calc"; }
  int GetScriptType() const override { return CALCULATE; }
  bool VariableNotify(TVariable*, int type) override { return type != eatSTRING; }
  bool CanReleaseVariable(TVariable*) override { return false; }
  bool IsStoredVariable(TVariable*) override { return false; }
};

// A compiled expression: its text and its list, both owned by the command.
struct TCompiled {
  std::unique_ptr<TMathExpression> Text;
  std::unique_ptr<TQorvMathList> List;
};

class ExpressionTest : public ::testing::Test {
protected:
  void SetUp() override {
    Block = Exp->AddBlock("B1");
    Cmd = NewCommand();
  }
  void TearDown() override {
    Compiled.clear();
    for (auto* command : Commands) delete command;
    Exp.reset();
  }

  TOwnerCommand* NewCommand() {
    TTreeNode* node = Exp->GetExperimentTree().AddChild(Block->AExpNode, "");
    return Commands.emplace_back(new TOwnerCommand(Block, node));
  }
  TDataSingle* Single(const std::string& name, int type, const std::string& value) {
    auto* variable =
        static_cast<TDataSingle*>(Exp->GetDataSingleList()->Add(Block, type, 1, name));
    if (!value.empty()) variable->GetValue().SetText(value);
    return variable;
  }
  TDataArray* Array(const std::string& name, int type, std::int32_t size) {
    return static_cast<TDataArray*>(Exp->GetDataArrayList()->Add(Block, type, size, name));
  }

  // Tokenizes and builds as the Calculate dialog does; the objects live until the test
  // ends.
  TCompiled& Compile(const std::string& text, bool radians = true) {
    TQorvMathTokenList tokenizer(Exp.get());
    TCompiled compiled{std::make_unique<TMathExpression>(Cmd),
                       std::make_unique<TQorvMathList>(Cmd)};
    std::vector<TMathTokenRP*> tokens;
    tokenizer.Tokenize(radians, text, compiled.Text.get(), &tokens);
    compiled.List->BuildMathList(tokens);
    return Compiled.emplace_back(std::move(compiled));
  }
  TQorvOperand* Evaluate(const std::string& text, bool radians = true) {
    return Compile(text, radians).List->EvaluateMathList();
  }
  std::string Text(const std::string& text, bool radians = true) {
    return Evaluate(text, radians)->GetText();
  }
  float Value(const std::string& text, bool radians = true) {
    return Evaluate(text, radians)->GetFloatValue();
  }
  // The run error an evaluation (and the result's text) stops with; "" when none.
  std::string RunError(TQorvMathList& list) {
    try {
      list.EvaluateMathList()->GetText();
    } catch (const EExperimentError& error) {
      return error.GetMessage();
    }
    return "";
  }
  std::string RunError(const std::string& text, bool radians = true) {
    return RunError(*Compile(text, radians).List);
  }
  // The bytes write leaves in a file; a block export fills exported.
  TBytes Written(const std::function<void(TWriteFile&)>& write,
                 std::vector<TVariable*>* exported = nullptr) {
    TWriteFile writer(Dir.PathOf("w"), exported != nullptr);
    write(writer);
    if (exported) *exported = *writer.GetBlockVariableList();
    writer.Commit();
    return Dir.ReadBytes("w");
  }

  TFakeUiPort Ui;
  TTempDir Dir;
  std::unique_ptr<TExperiment> Exp = std::make_unique<TExperiment>();
  TBlock* Block = nullptr;
  TOwnerCommand* Cmd = nullptr;
  std::vector<TOwnerCommand*> Commands;
  std::vector<TCompiled> Compiled;
};

}  // namespace expr_test
