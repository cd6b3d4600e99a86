// Base of everything in the experiment tree: blocks and commands.
#pragma once

class TTreeNode;
struct TNodeStyle;

// What GetExperimentType answers.
enum TExperimentType { aiBLANK = -1, aiBLOCK = 0, aiSCRIPT = 1 };

class TExperimentObject {
public:
  // Keeps the node (none is allowed) and makes its data point back to this object.
  explicit TExperimentObject(TTreeNode* node);
  // Clears the nodes' data and deletes the experiment tree's node.
  virtual ~TExperimentObject();
  TExperimentObject(const TExperimentObject&) = delete;
  TExperimentObject& operator=(const TExperimentObject&) = delete;

  // Opens the object's dialog; answers the dialog's result.
  virtual int Edit() = 0;
  // Decides how the tree draws the node; false leaves the default drawing.
  virtual bool DrawNode(TNodeStyle& style) = 0;
  virtual TExperimentType GetExperimentType() const = 0;

  TTreeNode* AExpNode;              // the node in the experiment tree
  TTreeNode* DebugNode = nullptr;   // the node in the debug window's tree, when shown
};
