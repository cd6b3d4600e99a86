// What the tests of the experiment tree's editing and drags share: three blocks added as
// the user adds them (A is the start block and holds the blank line), the block lines
// written as text, and the count of modified marks.
#pragma once

#include <string>

#include "scripts/flow/blank_script.h"
#include "support/experiment_fixture.h"

class TTreeFixture : public TExperimentFixture {
protected:
  // The lines of a block, sections in brackets, the blank line as "_".
  static std::string Shape(const TBlock* block) { return ShapeOf(block->AExpNode); }
  // The titles of the blocks in tree order.
  std::string BlockOrder() const {
    std::string text;
    for (int i = 0; i < Tree.Count(); ++i) text += (i ? " " : "") + Tree.Item(i)->GetText();
    return text;
  }
  // How often the experiment was marked modified since the last Ui.Clear().
  int Marks() const {
    int marks = 0;
    for (const auto& [modified, refresh] : Ui.ExperimentChanges()) marks += modified != 0;
    return marks;
  }
  TTreeNode* BlankNode() const { return Exp.GetBlankScript()->AExpNode; }

  TBlock* A = AddBlock("A");  // titled "Start Block" as the first block
  TBlock* B = AddBlock("B");
  TBlock* C = AddBlock("C");

private:
  static std::string ShapeOf(const TTreeNode* node) {
    std::string text;
    for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
      if (!text.empty()) text += " ";
      const bool blank = child->GetText().find_first_not_of(' ') == std::string::npos;
      text += blank ? "_" : child->GetText();
      if (child->HasChildren()) text += "[" + ShapeOf(child) + "]";
    }
    return text;
  }
};
