// Evaluation of compiled expressions, each paired with the same expression in muparser
// as the peer: BM_Qorv_<case> and BM_MuParser_<case> evaluate one prepared expression
// per iteration over the same variable values. Before timing, each pair checks that both
// give the same result, so that the two sides do the same work.
//
// The peer computes in double precision over plain doubles it reads by address; an array
// element is a peer variable of its own (ARR3, ARRI), and the binary operators are
// defined on the peer as functions of 32-bit patterns with the same precedence.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdint>
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
#include "model/experiment.h"
#include "model/tree_node.h"
#include "model/value.h"
#include "model/value_array.h"
#include "scripts/attribute_script.h"

namespace {

// Stands in for the Calculate command that owns the compiled expressions.
class TBenchCommand final : public TAttributeScript {
public:
  using TAttributeScript::TAttributeScript;
  int Edit() override { return 0; }
  TScript* Execute() override { return Pnextscript; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Pnextscript; }
  bool CanMakeCopyScript() override { return false; }
  bool DrawNode(TNodeStyle&) override { return false; }
  std::string GetText() override { return "calc"; }
  int GetScriptType() const override { return CALCULATE; }
  bool VariableNotify(TVariable*, int type) override { return type != eatSTRING; }
  bool CanReleaseVariable(TVariable*) override { return false; }
  bool IsStoredVariable(TVariable*) override { return false; }
};

// The variables: floats A = 1.5 and B = 2.25, the integer I = 5, and the float array ARR
// of 8 elements k + 0.5.
constexpr double ValueA = 1.5;
constexpr double ValueB = 2.25;
constexpr int ValueI = 5;
constexpr int ArraySize = 8;
double Element(int k) { return k + 0.5; }

// One experiment with the variables, and the expressions compiled in it.
class TQorvSide {
public:
  TQorvSide() {
    TBlock* block = Experiment.AddBlock("B1");
    TTreeNode* node = Experiment.GetExperimentTree().AddChild(block->AExpNode, "");
    Command = new TBenchCommand(block, node);
    TDataList* singles = Experiment.GetDataSingleList();
    auto single = [&](const char* name, int type, const std::string& value) {
      auto* variable = static_cast<TDataSingle*>(singles->Add(block, type, 1, name));
      variable->GetValue().SetText(value);
    };
    single("A", eatFLOAT, "1.5");
    single("B", eatFLOAT, "2.25");
    single("I", eatINTEGER, std::to_string(ValueI));
    TDataList* arrays = Experiment.GetDataArrayList();
    auto* array = static_cast<TDataArray*>(arrays->Add(block, eatFLOAT, ArraySize, "ARR"));
    for (int k = 0; k < ArraySize; ++k)
      array->GetValueArray().SetElementText(std::to_string(k) + ".5", k);
  }
  ~TQorvSide() {
    Lists.clear();
    Texts.clear();
    delete Command;
  }
  TQorvSide(const TQorvSide&) = delete;
  TQorvSide& operator=(const TQorvSide&) = delete;

  // Compiles as the Calculate dialog does and prepares the list.
  TQorvMathList& Compile(const std::string& text) {
    TQorvMathTokenList tokenizer(&Experiment);
    Texts.push_back(std::make_unique<TMathExpression>(Command));
    std::vector<TMathTokenRP*> tokens;
    tokenizer.Tokenize(true, text, Texts.back().get(), &tokens);
    Lists.push_back(std::make_unique<TQorvMathList>(Command));
    Lists.back()->BuildMathList(tokens);
    Lists.back()->PrepareCalculation();
    return *Lists.back();
  }

private:
  TExperiment Experiment;
  TBenchCommand* Command = nullptr;
  std::vector<std::unique_ptr<TMathExpression>> Texts;
  std::vector<std::unique_ptr<TQorvMathList>> Lists;
};

double PeerAnd(double a, double b) {
  return static_cast<double>(static_cast<std::uint32_t>(a) & static_cast<std::uint32_t>(b));
}
double PeerOr(double a, double b) {
  return static_cast<double>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}
double PeerShiftLeft(double a, double b) {
  return static_cast<double>(static_cast<std::uint32_t>(a)
                             << (static_cast<std::uint32_t>(b) & 31u));
}
// A value truncated to a 32-bit pattern, as "binary" does for values in range.
double PeerBinary(double value) {
  return static_cast<double>(static_cast<std::uint32_t>(static_cast<std::int64_t>(value)));
}

// The peer's variables, read by address.
struct TPeerSide {
  TPeerSide() {
    Parser.DefineVar("A", &A);
    Parser.DefineVar("B", &B);
    Parser.DefineVar("ARR0", &Arr0);
    Parser.DefineVar("ARR3", &Arr3);
    Parser.DefineVar("ARRI", &ArrI);
    // The binary operators bind as in Qorv: "|" loosest, then "&", then the shifts.
    Parser.DefineOprt("&", PeerAnd, 3);
    Parser.DefineOprt("|", PeerOr, 2);
    Parser.DefineOprt("<<", PeerShiftLeft, 4);
    Parser.DefineFun("binary", PeerBinary);
  }
  double A = ValueA, B = ValueB;
  double Arr0 = Element(0), Arr3 = Element(3), ArrI = Element(ValueI);
  mu::Parser Parser;
};

struct TCase {
  const char* Qorv;
  const char* Peer;
};

// Both sides' result of a case, compared before timing; false when they differ beyond
// the float's rounding.
bool SameResult(const TCase& expression, std::string& message) {
  TQorvSide qorv;
  TPeerSide peer;
  const double ours = qorv.Compile(expression.Qorv).EvaluateMathList()->GetFloatValue();
  peer.Parser.SetExpr(expression.Peer);
  const double theirs = peer.Parser.Eval();
  if (std::fabs(ours - theirs) <= 1e-5 * std::fmax(1.0, std::fabs(theirs))) return true;
  message = "results differ: " + std::to_string(ours) + " and " + std::to_string(theirs);
  return false;
}

void RunQorv(benchmark::State& state, const TCase& expression) {
  std::string message;
  if (!SameResult(expression, message)) {
    state.SkipWithError(message.c_str());
    return;
  }
  TQorvSide qorv;
  TQorvMathList& list = qorv.Compile(expression.Qorv);
  for (auto _ : state) benchmark::DoNotOptimize(list.EvaluateMathList()->GetFloatValue());
  state.SetLabel(expression.Qorv);
}

void RunPeer(benchmark::State& state, const TCase& expression) {
  std::string message;
  if (!SameResult(expression, message)) {
    state.SkipWithError(message.c_str());
    return;
  }
  TPeerSide peer;
  peer.Parser.SetExpr(expression.Peer);
  peer.Parser.Eval();  // the peer compiles on its first evaluation
  for (auto _ : state) benchmark::DoNotOptimize(peer.Parser.Eval());
  state.SetLabel(expression.Peer);
}

// The representative expressions.
const TCase Arithmetic{"A+B*2", "A+B*2"};
const TCase Ratio{"(A-B)/(A+B)*100+A**2", "(A-B)/(A+B)*100+A^2"};
const TCase Functions{"sin(A)*cos(B)+sqrt(abs(A*B))+ln(B+10)",
                      "sin(A)*cos(B)+sqrt(abs(A*B))+ln(B+10)"};
const TCase Elements{"ARR[3]+ARR[I]*2-ARR[0]", "ARR3+ARRI*2-ARR0"};
const TCase Binary{"float(binary(A*100)&0XFF<<0X2|0X3)", "binary(A*100)&255<<2|3"};
const TCase Constants{"1.5+2.25*2", "1.5+2.25*2"};
const TCase Variable{"A", "A"};
const TCase Square{"A*A", "A*A"};

#define QORV_EXPRESSION_PAIR(Name)                                                       \
  void BM_Qorv_##Name(benchmark::State& state) { RunQorv(state, Name); }                 \
  void BM_MuParser_##Name(benchmark::State& state) { RunPeer(state, Name); }             \
  BENCHMARK(BM_Qorv_##Name);                                                             \
  BENCHMARK(BM_MuParser_##Name);
QORV_EXPRESSION_PAIR(Arithmetic)
QORV_EXPRESSION_PAIR(Ratio)
QORV_EXPRESSION_PAIR(Functions)
QORV_EXPRESSION_PAIR(Elements)
QORV_EXPRESSION_PAIR(Binary)
QORV_EXPRESSION_PAIR(Constants)
QORV_EXPRESSION_PAIR(Variable)
QORV_EXPRESSION_PAIR(Square)
#undef QORV_EXPRESSION_PAIR

}  // namespace
