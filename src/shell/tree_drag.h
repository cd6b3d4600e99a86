// Drags in the main window's experiment tree: a command or a block node carried to
// another place. The drag object names the label that follows the mouse, answers
// whether the node under the mouse takes the drop and performs the move. Moving a
// command is the command's own business (CanMoveTo, MoveTo); moving a block reorders
// the top-level nodes. The window draws the label and forwards the tree's drag events.
// Nothing moves while a run is active.
#pragma once

#include <memory>
#include <string>

class TBlock;
class TScript;
class TTreeNode;

class TDragExperimentObject {
public:
  // The label's top-left corner lies this far right of and below the mouse, in the
  // tree's coordinates.
  static constexpr int LabelOffset = 5;
  // The label's panel is this much wider and higher than its text.
  static constexpr int LabelMargin = 5;

  virtual ~TDragExperimentObject() = default;

  // The node dragged; its object is the one that moves.
  virtual void SetStartNode(TTreeNode* node) = 0;
  TTreeNode* GetStartNode() const { return Pstartnode; }
  // The text of the floating label.
  const std::string& GetLabelText() const { return LabelText; }

  // Whether the node under the mouse (none: below all nodes) takes the drop.
  bool DragOver(TTreeNode* node) const;
  // The drop has ended, accepted or not, on the node (none: below all nodes). An
  // accepted drop that the node takes moves the dragged object. Answers whether the
  // experiment changed, which is then marked modified. The drag is over afterwards.
  bool Finished(TTreeNode* node, bool accepted);
  // A drop on the node: Finished with what DragOver answers for it.
  bool DragDrop(TTreeNode* node) { return Finished(node, DragOver(node)); }

protected:
  // The node's block, as the drop sees it: the block of a block node, the command's
  // block for a command or the blank line; none without a node.
  static TBlock* BlockUnder(TTreeNode* node);
  virtual bool Accepts(TTreeNode* node) const = 0;
  // Performs the accepted drop; answers whether the experiment changed.
  virtual bool Move(TTreeNode* node) = 0;
  virtual void Clear() { Pstartnode = nullptr; }

  TTreeNode* Pstartnode = nullptr;
  std::string LabelText;
};

class TDragScript : public TDragExperimentObject {
public:
  // A command's node; the blank line's label reads "New Script".
  void SetStartNode(TTreeNode* node) override;
  TScript* GetStartScript() const { return Pstartscript; }

protected:
  // The node's block must exist and the command agree to go there.
  bool Accepts(TTreeNode* node) const override;
  bool Move(TTreeNode* node) override;
  void Clear() override;

private:
  TScript* Pstartscript = nullptr;
};

class TDragBlock : public TDragExperimentObject {
public:
  // A block's node.
  void SetStartNode(TTreeNode* node) override;
  TBlock* GetStartBlock() const { return Pstartblock; }

protected:
  // Any place outside the dragged block: another block's nodes or below all nodes.
  bool Accepts(TTreeNode* node) const override;
  // In front of the target's block node (first place on the first), or last when
  // dropped below all nodes.
  bool Move(TTreeNode* node) override;
  void Clear() override;

private:
  TBlock* Pstartblock = nullptr;
};

// The drag that a node of the experiment tree starts: a block drag for a top-level
// node, a command drag for any other, told its start node. None while a run is active.
std::unique_ptr<TDragExperimentObject> ExperimentViewStartDrag(TTreeNode* node);

extern const char* const NewScriptLabel;  // "New Script"
