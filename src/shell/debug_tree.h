// The debug window's copy of the experiment tree: every block and command (not the blank
// line) on a node of its own, each object's DebugNode bound to it while the window shows;
// the stops set on commands and the node at which the user last stopped a run; how each
// node is drawn. The copy is rebuilt when the experiment tree changes shape; stops stay
// on the commands that still exist.
#pragma once

#include <functional>
#include <unordered_set>

#include "shell/tree_mirror.h"

class TBlock;
class TExperiment;
class TExperimentObject;
class TScript;
struct TNodeStyle;

class TDebugTree {
public:
  // The image a node with a stop shows.
  static constexpr int StopImage = 3;

  explicit TDebugTree(TExperiment& experiment);
  // Unbinds.
  ~TDebugTree();
  TDebugTree(const TDebugTree&) = delete;
  TDebugTree& operator=(const TDebugTree&) = delete;

  // Copies the experiment tree, fully expanded, and binds every object to its node; no
  // stops, no abort mark.
  void Bind();
  // Every object's DebugNode cleared, the copy emptied, stops and abort mark dropped.
  void Unbind();
  bool IsBound() const { return Mirror.IsBuilt(); }
  // The experiment tree changed shape since the copy was made.
  bool IsStale() const { return Mirror.IsStale(); }
  // Copies the experiment tree anew and binds it. Stops, the abort mark and the
  // selection stay on the objects that are still in the tree.
  void Rebuild();

  TTree& GetTree() { return Mirror.GetTree(); }
  // The object a node shows; none for none or when the object is gone.
  static TExperimentObject* ObjectOf(const TTreeNode* node);
  static TScript* ScriptOf(const TTreeNode* node);
  // The block of the selected node: the node's block, or the block of its command;
  // none without a selection.
  TBlock* GetSelectedBlock() const;
  // The node of an object in the copy as it stands; none for an object not in it (one
  // destroyed meanwhile included).
  TTreeNode* NodeOfObject(const TExperimentObject* object) const;
  // True when the node belongs to the copy as it stands.
  bool Contains(const TTreeNode* node) const;

  bool HasStop(const TTreeNode* node) const { return Stops.count(node) != 0; }
  int StopCount() const { return static_cast<int>(Stops.size()); }
  // Sets or removes the stop of a command node (level 1 or more); answers whether the
  // node is a command node.
  bool ToggleStop(TTreeNode* node);

  TTreeNode* GetAbortNode() const { return AbortNode; }
  void SetAbortNode(TTreeNode* node);

  // How a node is drawn: marks for a stop, the next command while paused and the abort
  // node; a commented-out command as "//" and its text in italics; the stop image.
  bool DrawNode(TTreeNode& node, TNodeStyle& style, bool paused);

  // Told when a bound command or block is destroyed (its node still in the copy).
  std::function<void()> OnObjectGone;
  // Told when the copy becomes stale or is rebuilt.
  std::function<void()> OnChanged;

private:
  // Binds the copy's nodes to their objects; answers how many were bound.
  // Binds the tree as it stands now, without stops or abort mark.
  void BindAfresh();
  int BindNodes();
  void UnbindNodes();
  void SetStopImage(TTreeNode* node, bool stop);

  TExperiment& Exp;
  TTreeMirror Mirror;
  std::unordered_set<const TTreeNode*> Stops;
  TTreeNode* AbortNode = nullptr;
};
