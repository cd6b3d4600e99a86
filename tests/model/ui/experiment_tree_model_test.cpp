// The tree model over a real experiment: blocks, commands and variables decide how
// their nodes are drawn, and the experiment's own edits pass the model tester.
#include <QAbstractItemModelTester>
#include <QBrush>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <gtest/gtest.h>

#include "model/ui/tree_model.h"
#include "model/ui/tree_view.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/if_then_script.h"
#include "support/experiment_fixture.h"

namespace {

using TTester = QAbstractItemModelTester;

QIcon Solid(const QColor& colour) {
  QPixmap pixmap(16, 16);
  pixmap.fill(colour);
  return QIcon(pixmap);
}

QColor ImageOf(const QModelIndex& index, QIcon::Mode mode = QIcon::Normal) {
  return index.data(Qt::DecorationRole)
      .value<QIcon>()
      .pixmap(16, 16, mode)
      .toImage()
      .pixelColor(8, 8);
}

QColor ColourOf(const QModelIndex& index) {
  return index.data(Qt::ForegroundRole).value<QBrush>().color();
}

bool Italic(const QModelIndex& index) { return index.data(Qt::FontRole).value<QFont>().italic(); }

class ExperimentTreeModelTest : public TExperimentFixture {};

}  // namespace

TEST_F(ExperimentTreeModelTest, BlocksCommandsAndVariablesDrawTheirOwnNodes) {
  TTreeModel experiment(&Tree, ExperimentNodeStyle);
  TTester experimentTester(&experiment, TTester::FailureReportingMode::Fatal);
  experiment.SetImages({Solid(Qt::red), Solid(Qt::green), Solid(Qt::blue)});
  TTreeModel attributes(&Exp.GetAttributeTree(), AttributeNodeStyle);
  TTester attributeTester(&attributes, TTester::FailureReportingMode::Fatal);
  TCoreTreeView view;
  view.SetTreeModel(&experiment);

  TBlock* start = AddBlock("Start");
  TBlock* other = AddBlock("Other");
  Cur = start;
  TCommentScript* note = Comment("calibrate first");
  TStub* wait = Stub(start, "Wait 10 ms");
  TDataSingle* count = Single(start, "count");
  TIfThenScript* ifthen = If(count, "1");
  TStub* inner = Stub(start, "Send *RST", TScript::CALCULATE, ifthen);
  EndIf(ifthen);
  wait->SetCommentedOut(true);

  // The current block draws itself with its selected image; another block by default,
  // with its own image and the selected one while selected.
  const QModelIndex startIndex = experiment.IndexOf(start->AExpNode);
  const QModelIndex otherIndex = experiment.IndexOf(other->AExpNode);
  ASSERT_EQ(start, Exp.GetCurrentBlock());
  EXPECT_EQ(startIndex.data().toString().toStdString(), start->AExpNode->GetText());
  EXPECT_EQ(ImageOf(startIndex), QColor(Qt::green));
  EXPECT_EQ(ImageOf(otherIndex), QColor(Qt::red));
  EXPECT_EQ(ImageOf(otherIndex, QIcon::Selected),
            Solid(Qt::green).pixmap(16, 16, QIcon::Selected).toImage().pixelColor(8, 8));
  EXPECT_EQ(ImageOf(experiment.IndexOf(Exp.GetBlankScript()->AExpNode)), QColor(Qt::blue));

  // A comment in italics; a commented-out command between "/*" and "*/"; a command
  // inside a section in its level's colour (even levels red); others by default.
  const QModelIndex noteIndex = experiment.IndexOf(note->AExpNode);
  EXPECT_TRUE(Italic(noteIndex));
  EXPECT_EQ(noteIndex.data().toString().toStdString(), note->AExpNode->GetText());
  EXPECT_FALSE(noteIndex.data(Qt::ForegroundRole).isValid());
  const QModelIndex waitIndex = experiment.IndexOf(wait->AExpNode);
  EXPECT_EQ(waitIndex.data().toString(), "/*Wait 10 ms*/");
  EXPECT_TRUE(Italic(waitIndex));
  const QModelIndex innerIndex = experiment.IndexOf(inner->AExpNode);
  ASSERT_EQ(inner->AExpNode->GetLevel(), 2);
  EXPECT_EQ(ColourOf(innerIndex), QColor(255, 0, 0));
  EXPECT_FALSE(Italic(innerIndex));
  EXPECT_EQ(ColourOf(experiment.IndexOf(ifthen->AExpNode)), QColor(255, 0, 0))
      << "a section's opening line takes the colour of its lines";
  wait->SetCommentedOut(false);
  EXPECT_EQ(waitIndex.data().toString(), "Wait 10 ms");
  EXPECT_FALSE(waitIndex.data(Qt::FontRole).isValid());

  // Another block becomes current: the drawing follows, the blank line moves with it.
  Exp.SelectBlock(other->AExpNode);
  EXPECT_EQ(ImageOf(otherIndex), QColor(Qt::green));
  EXPECT_EQ(ImageOf(startIndex), QColor(Qt::red));
  EXPECT_EQ(view.SelectedNode(), Tree.GetSelected());

  // A read-only variable is blue; a writable one is drawn by default.
  const QModelIndex countIndex = attributes.IndexOf(count->AExpAttNode);
  ASSERT_TRUE(countIndex.isValid());
  EXPECT_EQ(countIndex.data().toString().toStdString(), count->AExpAttNode->GetText());
  EXPECT_FALSE(countIndex.data(Qt::ForegroundRole).isValid());
  count->SetReadOnly(true);
  ASSERT_TRUE(count->IsReadOnly());
  EXPECT_EQ(ColourOf(countIndex), QColor(0, 0, 255));

  // The experiment's deletions, under the testers: a command, a section, a block.
  start->DeleteScript(note);
  start->DeleteScript(ifthen);
  delete other;
  for (TTreeNode* node = Tree.GetFirstNode(); node; node = node->GetNext())
    EXPECT_TRUE(experiment.IndexOf(node).data().isValid());
  EXPECT_EQ(experiment.rowCount(), 1);
  EXPECT_EQ(view.SelectedNode(), Tree.GetSelected());
}
