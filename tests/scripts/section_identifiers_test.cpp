// How a read End If finds its If-Then and Else, and a read Repeat or Repeat-Until its
// Label, by the identifiers in the file: with identifiers that name one command each
// (the files the program writes) sections and loops nest as they were saved; with an
// identifier that several commands carry (a damaged or hostile file) the first of them
// from the top of the level counts. Either way of looking gives the same result, which
// the last test checks on many damaged files.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/errors.h"
#include "model/value.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/else_script.h"
#include "scripts/flow/end_if_script.h"
#include "scripts/flow/if_then_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "scripts/flow/repeat_until_script.h"
#include "support/experiment_fixture.h"

namespace {

const char* const MissingIfThenOrElse = "EndIf Script missing if then or else...aborting read";
const char* const LabelNotDefined = "Label not defined for repeatscript..aborting read";
const char* const LabelNotSet = "Label not set for Repeat until...aborting read";

// One command's record as a block file holds it: its type and bytes. If-Thens and
// Repeat-Untils carry no condition, which keeps the records short.
struct TLine {
  int Type;
  TBytes Bytes;
};

TLine IfLine(std::int32_t id) { return {TScript::IFTHEN, Cat({B(false), I32(id), B(false)})}; }
TLine ElseLine(std::int32_t id) { return {TScript::ELSE, Cat({I32(id), B(false)})}; }
TLine EndIfLine(std::int32_t ifId, std::int32_t id) {
  return {TScript::ENDIF, Cat({I32(ifId), B(false), I32(id), B(false)})};
}
TLine EndIfLine(std::int32_t ifId, std::int32_t elseId, std::int32_t id) {
  return {TScript::ENDIF, Cat({I32(ifId), B(true), I32(elseId), I32(id), B(false)})};
}
TLine CommentLine(std::int32_t id) {
  return {TScript::COMMENT, Cat({StringBytes("c" + std::to_string(id)), I32(id), B(false)})};
}
TLine LabelLine(std::int32_t id) {
  return {TScript::LABEL, Cat({StringBytes("L" + std::to_string(id)), I32(id), B(false)})};
}
TLine RepeatLine(std::int32_t labelId, std::int32_t id) {
  return {TScript::REPEAT, Cat({I32(labelId), I32(2), I32(id), B(false)})};
}
TLine UntilLine(std::int32_t labelId, std::int32_t id) {
  return {TScript::REPUNTIL, Cat({I32(labelId), B(false), I32(id), B(false)})};
}

// The identifiers read, nested as the tree holds them: "100[101 102] 103".
std::string Shape(const TTreeNode* node) {
  std::string text;
  for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
    if (!text.empty()) text += " ";
    TScript* script = ScriptOfNode(child);
    text += script ? std::to_string(script->PreadscriptID) : "?";
    if (child->HasChildren()) text += "[" + Shape(child) + "]";
  }
  return text;
}

std::string IdOf(const TScript* script) {
  return script ? std::to_string(script->PreadscriptID) : "-";
}

// What each closing line was linked to: "End If 103: 100/-" (If-Then/Else), "Repeat
// 103: 100" (Label), in depth-first order.
std::string Links(const TTreeNode* node) {
  std::string text;
  for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
    TScript* script = ScriptOfNode(child);
    if (auto* endif = dynamic_cast<TEndIfScript*>(script))
      text += "End If " + IdOf(endif) + ": " + IdOf(endif->GetIfThenScript()) + "/" +
              IdOf(endif->GetElseScript()) + "; ";
    if (auto* repeat = dynamic_cast<TRepeatScript*>(script))
      text += "Repeat " + IdOf(repeat) + ": " + IdOf(repeat->GetLabelScript()) + "; ";
    if (auto* until = dynamic_cast<TRepeatUntilScript*>(script))
      text += "Until " + IdOf(until) + ": " + IdOf(until->GetLabelScript()) + "; ";
    text += Links(child);
  }
  return text;
}

class SectionIdentifiersTest : public TCommandFixture {
protected:
  // Reads the lines into the block as the block reads them, through one reader that
  // first reads the decoys into a block of their own. Answers the read error; "" when
  // none. The commands read go to read when given.
  std::string ReadLines(TBlock* block, const std::vector<TLine>& lines,
                        const std::vector<TLine>& decoys = {},
                        std::vector<TScript*>* read = nullptr) {
    TBytes bytes;
    for (const TLine& line : decoys)
      bytes.insert(bytes.end(), line.Bytes.begin(), line.Bytes.end());
    for (const TLine& line : lines) bytes.insert(bytes.end(), line.Bytes.begin(), line.Bytes.end());
    std::unique_ptr<TReadFile> reader = Reader(bytes);
    TBlock* decoyBlock = decoys.empty() ? nullptr : NewBlock("Decoys");
    try {
      for (const TLine& line : decoys)
        TBlock::CreateScriptByType(decoyBlock, line.Type, NewNode(decoyBlock))->Load(*reader);
      for (const TLine& line : lines) {
        TScript* script = TBlock::CreateScriptByType(block, line.Type, NewNode(block));
        if (read) read->push_back(script);
        script->Load(*reader);
      }
    } catch (const EReadError& error) {
      delete decoyBlock;
      return error.what();
    }
    delete decoyBlock;
    EXPECT_EQ(reader->BytesLeft(), 0u);
    return "";
  }
  // The read error of the lines in a new block, which goes afterwards.
  std::string Refusal(const std::vector<TLine>& lines) {
    TBlock* block = NewBlock("Read");
    const std::string error = ReadLines(block, lines);
    delete block;
    return error;
  }
};

TEST_F(SectionIdentifiersTest, AnIfThenIdentifierCarriedTwiceNamesTheFirstFromTheTop) {
  // The first If-Then 100 has its End If already: the second End If naming 100 finds
  // that one first and is refused, although an unpaired If-Then 100 stands just above.
  EXPECT_EQ(Refusal({IfLine(100), EndIfLine(100, 101), IfLine(100), CommentLine(102),
                     EndIfLine(100, 103)}),
            MissingIfThenOrElse);
  // With its own identifier the second section reads.
  TBlock* unique = NewBlock("Unique");
  ASSERT_EQ(ReadLines(unique, {IfLine(100), EndIfLine(100, 101), IfLine(104), CommentLine(102),
                               EndIfLine(104, 103)}),
            "");
  EXPECT_EQ(Shape(unique->AExpNode), "100 101 104[102] 103");

  // Two unpaired If-Thens 100: the first takes the section, the second stays inside it
  // without End If.
  TBlock* block = NewBlock("Twice");
  std::vector<TScript*> read;
  ASSERT_EQ(ReadLines(block, {IfLine(100), CommentLine(101), IfLine(100), CommentLine(102),
                              EndIfLine(100, 103)},
                      {}, &read),
            "");
  EXPECT_EQ(Shape(block->AExpNode), "100[101 100 102] 103");
  EXPECT_EQ(static_cast<TEndIfScript*>(read[4])->GetIfThenScript(), read[0]);
  EXPECT_EQ(static_cast<TIfThenScript*>(read[2])->GetEndPointScript(), nullptr);

  // The same for an Else identifier carried twice: the first Else 101 is paired.
  EXPECT_EQ(Refusal({IfLine(100), ElseLine(101), EndIfLine(100, 101, 102), IfLine(103),
                     ElseLine(101), EndIfLine(103, 101, 104)}),
            MissingIfThenOrElse);
  // And an End If naming one identifier as both its If-Then and its Else.
  EXPECT_EQ(Refusal({IfLine(100), ElseLine(101), EndIfLine(100, 100, 102)}), MissingIfThenOrElse);
}

TEST_F(SectionIdentifiersTest, AnElseBeforeItsIfThenIsRefused) {
  EXPECT_EQ(Refusal({ElseLine(102), IfLine(100), EndIfLine(100, 102, 103)}), MissingIfThenOrElse);
  // The Else identifier carried twice: the first Else, before the If-Then, counts, even
  // with a proper one after the If-Then.
  EXPECT_EQ(Refusal({ElseLine(102), IfLine(100), CommentLine(104), ElseLine(102),
                     EndIfLine(100, 102, 105)}),
            MissingIfThenOrElse);
  // The If-Then identifier carried twice, the first after the Else.
  EXPECT_EQ(Refusal({ElseLine(102), IfLine(100), IfLine(100), EndIfLine(100, 102, 105)}),
            MissingIfThenOrElse);
  // In order, the section reads.
  TBlock* block = NewBlock("In order");
  ASSERT_EQ(ReadLines(block, {IfLine(100), CommentLine(104), ElseLine(102), CommentLine(106),
                              EndIfLine(100, 102, 105)}),
            "");
  EXPECT_EQ(Shape(block->AExpNode), "100[104] 102[106] 105");
  EXPECT_EQ(Links(block->AExpNode), "End If 105: 100/102; ");
}

TEST_F(SectionIdentifiersTest, ALabelIdentifierCarriedTwiceNamesTheFirstFromTheTop) {
  for (const bool until : {false, true}) {
    const auto close = [until](std::int32_t labelId, std::int32_t id) {
      return until ? UntilLine(labelId, id) : RepeatLine(labelId, id);
    };
    const char* const refused = until ? LabelNotSet : LabelNotDefined;
    // Two free Labels 100: the loop takes the first, with the second inside it.
    TBlock* block = NewBlock("Twice");
    std::vector<TScript*> read;
    ASSERT_EQ(ReadLines(block, {LabelLine(100), CommentLine(101), LabelLine(100), CommentLine(102),
                                close(100, 103)},
                        {}, &read),
              "")
        << until;
    EXPECT_EQ(Shape(block->AExpNode), "100[101 100 102] 103") << until;
    EXPECT_EQ(read[0]->GetRepeatScript(), read[4]) << until;
    EXPECT_EQ(read[2]->GetRepeatScript(), nullptr) << until;
    // The first Label 100 has its loop already: the next loop naming 100 is refused,
    // although a free Label 100 stands just above it.
    EXPECT_EQ(Refusal({LabelLine(100), close(100, 101), LabelLine(100), CommentLine(102),
                       close(100, 103)}),
              refused)
        << until;
    // With its own identifier the second loop reads.
    TBlock* unique = NewBlock("Unique");
    ASSERT_EQ(ReadLines(unique, {LabelLine(100), close(100, 101), LabelLine(104), CommentLine(102),
                                 close(104, 103)}),
              "")
        << until;
    EXPECT_EQ(Shape(unique->AExpNode), "100 101 104[102] 103") << until;
  }
}

// Identifiers that name one command each, but lines that are taken or out of reach.
TEST_F(SectionIdentifiersTest, TakenOrNestedLinesAreRefused) {
  // The Else 101 between the If-Then and the End If belongs to the inner End If 102.
  EXPECT_EQ(Refusal({IfLine(103), IfLine(100), ElseLine(101), EndIfLine(100, 101, 102),
                     EndIfLine(103, 101, 104)}),
            MissingIfThenOrElse);
  // The If-Then 100 has its End If.
  EXPECT_EQ(Refusal({IfLine(100), CommentLine(103), EndIfLine(100, 101), EndIfLine(100, 102)}),
            MissingIfThenOrElse);
  // The If-Then 101 sits inside the finished section of 100, out of the level.
  EXPECT_EQ(Refusal({IfLine(100), IfLine(101), EndIfLine(101, 102), EndIfLine(100, 103),
                     EndIfLine(101, 104)}),
            MissingIfThenOrElse);
  // The Label 100 has its Repeat; the Label 101 sits inside a finished section.
  EXPECT_EQ(Refusal({LabelLine(100), RepeatLine(100, 101), RepeatLine(100, 102)}), LabelNotDefined);
  EXPECT_EQ(Refusal({IfLine(100), LabelLine(101), EndIfLine(100, 102), RepeatLine(101, 103)}),
            LabelNotDefined);
  EXPECT_EQ(Refusal({IfLine(100), LabelLine(101), EndIfLine(100, 102), UntilLine(101, 103)}),
            LabelNotSet);
  // A line of another kind under the identifier.
  EXPECT_EQ(Refusal({LabelLine(100), ElseLine(101), EndIfLine(100, 101, 102)}),
            MissingIfThenOrElse);
  EXPECT_EQ(Refusal({IfLine(100), CommentLine(101), EndIfLine(100, 101, 102)}),
            MissingIfThenOrElse);
  EXPECT_EQ(Refusal({IfLine(100), RepeatLine(100, 101)}), LabelNotDefined);
}

// The block's commands in the order the block writes them.
std::vector<TScript*> InWritingOrder(TBlock* block) {
  std::vector<TScript*> scripts;
  for (TScript* s = block->GetFirstScript(); s; s = ScriptOfNode(s->GetNextNode()))
    scripts.push_back(s);
  return scripts;
}

// Saved and read back, sections nested in sections, loops around and inside sections,
// and a long run of sections side by side come back in the same shape and run alike.
TEST_F(SectionIdentifiersTest, NestedSectionsAndLoopsReadBackInTheirShape) {
  TDataSingle* x = Single(B1, "X");
  // The first line names X, so that X is the first object written (100).
  EndIf(If(x, "9"));
  TLabelScript* outerLoop = Label("Outer");
  TIfThenScript* first = If(x, "1", GE);
  TIfThenScript* inner = If(x, "2", GE);
  Comment("x>=2");
  TElseScript* innerElse = Else();
  TLabelScript* innerLoop = Label("Inner");
  Comment("x=1");
  Repeat(innerLoop, 2);
  EndIf(inner, innerElse);
  Comment("then");
  TElseScript* firstElse = Else();
  TIfThenScript* empty = If(x, "0");
  EndIf(empty);
  Comment("else");
  EndIf(first, firstElse);
  TIfThenScript* beside = If(x, "4");
  Comment("four");
  EndIf(beside);
  Repeat(outerLoop, 2);
  TLabelScript* untilLoop = Label("Until");
  TIfThenScript* inLoop = If(x, "5");
  Comment("five");
  EndIf(inLoop);
  Until(untilLoop, x, "0", GE);
  for (int i = 0; i < 40; ++i) {
    TIfThenScript* side = If(x, std::to_string(10 + i));
    Comment("side " + std::to_string(i));
    EndIf(side);
  }
  const std::string outline = Outline(B1->AExpNode);
  ASSERT_EQ(
      outline.rfind(
          "If X==9 | End If | Outer[If X>=1[If X>=2[Comment: x>=2] | Else[Inner[Comment: x=1] | "
          "Repeat Inner 2 times] | End If | Comment: then] | Else[If X==0 | End If | "
          "Comment: else] | End If | If X==4[Comment: four] | End If] | Repeat Outer 2 times | "
          "Until[If X==5[Comment: five] | End If] | Repeat from Until Until X>=0 | "
          "If X==10[Comment: side 0] | End If",
          0),
      0u)
      << outline;

  const std::vector<TScript*> scripts = InWritingOrder(B1);
  std::vector<int> types;
  for (TScript* s : scripts) types.push_back(s->GetScriptType());
  const TBytes bytes = Written(scripts);
  ReadInto(B2, bytes, types, x, 100);
  EXPECT_EQ(Outline(B2->AExpNode), outline);
  B2->CheckAfterRead();
  EXPECT_EQ(Written(InWritingOrder(B2)), bytes);
  for (const char* value : {"0", "1", "2", "4", "5", "12"}) {
    x->GetValue().SetText(value);
    EXPECT_EQ(Run(B2), Run(B1)) << value;
  }
}

// A random file of sections and loops with identifiers that name one command each.
class TFileMaker {
public:
  explicit TFileMaker(std::mt19937& random) : Random(random) {}

  std::vector<TLine> Make() {
    Lines.clear();
    Closers.clear();
    IfIds.clear();
    ElseIds.clear();
    LabelIds.clear();
    Next = 100;
    Fill(0);
    return Lines;
  }
  // Positions of the lines that name others: End Ifs, Repeats, Repeat-Untils.
  std::vector<std::size_t> Closers;
  // Every identifier the file holds.
  std::int32_t Next = 100;
  // Those of the If-Thens, the Elses and the Labels.
  std::vector<std::int32_t> IfIds, ElseIds, LabelIds;

private:
  void Fill(int depth) {
    const int count = 1 + static_cast<int>(Random() % (depth < 3 ? 4 : 2));
    for (int i = 0; i < count; ++i) {
      const unsigned kind = depth < 4 ? Random() % 4 : 0;
      if (kind == 0) {
        Lines.push_back(CommentLine(Next++));
      } else if (kind == 1 || kind == 2) {
        const std::int32_t ifId = Next++;
        IfIds.push_back(ifId);
        Lines.push_back(IfLine(ifId));
        if (Random() % 3) Fill(depth + 1);
        std::int32_t elseId = -1;
        if (kind == 2) {
          elseId = Next++;
          ElseIds.push_back(elseId);
          Lines.push_back(ElseLine(elseId));
          if (Random() % 3) Fill(depth + 1);
        }
        Closers.push_back(Lines.size());
        Lines.push_back(elseId < 0 ? EndIfLine(ifId, Next++) : EndIfLine(ifId, elseId, Next++));
      } else {
        const std::int32_t labelId = Next++;
        LabelIds.push_back(labelId);
        Lines.push_back(LabelLine(labelId));
        Fill(depth + 1);
        Closers.push_back(Lines.size());
        Lines.push_back(Random() % 2 ? RepeatLine(labelId, Next++) : UntilLine(labelId, Next++));
      }
    }
  }

  std::mt19937& Random;
  std::vector<TLine> Lines;
};

// A closing line naming other commands than it did: mostly another line of the kind it
// names (an If-Then, an Else, a Label; taken or free, in or out of its level), else any
// identifier of the file or one it lacks; an Else added or dropped.
TLine Damaged(const TLine& line, const TFileMaker& file, std::mt19937& random) {
  const auto pick = [&](const std::vector<std::int32_t>& ids) {
    if (!ids.empty() && random() % 4 != 0) return ids[random() % ids.size()];
    return static_cast<std::int32_t>(100 + random() % (file.Next - 100 + 1));
  };
  // The fields as written: the named identifier first, the line's own at the end.
  const auto field = [&line](std::size_t at) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = bits << 8 | line.Bytes[at + i];
    return static_cast<std::int32_t>(bits);
  };
  const std::int32_t named = field(0);
  const std::int32_t own = field(line.Bytes.size() - 5);
  if (line.Type == TScript::REPEAT) return RepeatLine(pick(file.LabelIds), own);
  if (line.Type == TScript::REPUNTIL) return UntilLine(pick(file.LabelIds), own);
  const bool hasElse = line.Bytes[4] != 0;
  const std::int32_t elseId = hasElse ? field(5) : -1;
  switch (random() % 4) {
    case 0:
      return hasElse ? EndIfLine(pick(file.IfIds), elseId, own) : EndIfLine(pick(file.IfIds), own);
    case 1: return EndIfLine(named, pick(file.ElseIds), own);  // an Else, maybe another
    case 2: return EndIfLine(named, own);                       // without its Else
    default: return EndIfLine(pick(file.IfIds), pick(file.ElseIds), own);
  }
}

TEST_F(SectionIdentifiersTest, WalkingUpAndFromTheTopAgreeOnDamagedFiles) {
  std::mt19937 random(4242);
  TFileMaker maker(random);
  int refused = 0, accepted = 0;
  for (int trial = 0; trial < 150; ++trial) {
    std::vector<TLine> lines = maker.Make();
    const std::int32_t last = maker.Next - 1;
    // Most files get one or two closing lines damaged; some stay whole.
    if (trial % 5 != 0 && !maker.Closers.empty())
      for (int n = 0; n < 1 + trial % 2; ++n) {
        const std::size_t at = maker.Closers[random() % maker.Closers.size()];
        lines[at] = Damaged(lines[at], maker, random);
      }
    // Read once as it is, once after decoys that carry every identifier of the file a
    // second time (in a block of their own, out of every section's way), so that no
    // identifier names one command only.
    std::vector<TLine> decoys;
    for (std::int32_t id = 100; id <= last + 1; ++id) decoys.push_back(CommentLine(id));
    TBlock* plain = NewBlock("Plain");
    TBlock* crowded = NewBlock("Crowded");
    const std::string plainError = ReadLines(plain, lines);
    const std::string crowdedError = ReadLines(crowded, lines, decoys);
    ASSERT_EQ(plainError, crowdedError) << "trial " << trial;
    if (plainError.empty()) {
      ++accepted;
      ASSERT_EQ(Shape(plain->AExpNode), Shape(crowded->AExpNode)) << "trial " << trial;
      ASSERT_EQ(Links(plain->AExpNode), Links(crowded->AExpNode)) << "trial " << trial;
    } else {
      ++refused;
    }
    delete plain;
    delete crowded;
  }
  // Both outcomes were met often enough to mean something.
  EXPECT_GT(refused, 40);
  EXPECT_GT(accepted, 40);
}

}  // namespace
