// A copy of a tree that a second window shows with its own selection, expansion and
// images: each copied node carries the data of its source node. The copy follows text
// changes at once; inserts, moves and removals only mark it stale, because a source node
// is inserted before its object is attached to it, so the owner rebuilds at a point where
// the source is whole again. An object destroyed meanwhile leaves its copy without data.
#pragma once

#include <functional>
#include <unordered_map>

#include "model/tree_node.h"

class TTreeMirror : private TTreeObserver {
public:
  // Which source nodes are copied (with their children); all without a filter.
  using TFilter = std::function<bool(const TTreeNode& source)>;

  explicit TTreeMirror(TTree& source, TFilter filter = {});
  ~TTreeMirror() override;
  TTreeMirror(const TTreeMirror&) = delete;
  TTreeMirror& operator=(const TTreeMirror&) = delete;

  // Copies the source anew (text, images, data, every node expanded) and follows it.
  void Build();
  // Empties the copy and stops following the source.
  void Clear();
  bool IsBuilt() const { return Built; }
  // The source changed its shape since the last Build.
  bool IsStale() const { return Stale; }

  TTree& GetTree() { return Copy; }
  const TTree& GetTree() const { return Copy; }
  // The copy of a source node; none when it was not copied or is gone.
  TTreeNode* CopyOf(const TTreeNode* source) const;
  // Number of nodes in the copy.
  int NodeCount() const { return static_cast<int>(Copies.size()); }

  // Told with the copy of a source node about to be removed, before the copy's data is
  // cleared (an object that clears its copy's data as it is destroyed has done so).
  std::function<void(TTreeNode* copy)> OnRemoving;
  // Told when the copy became stale.
  std::function<void()> OnStale;

private:
  void CopyChildren(const TTreeNode* source, TTreeNode* copyParent);
  void MarkStale();
  // Copies of the node and of its children leave the index.
  void Forget(const TTreeNode* source);

  void NodeInserted(TTreeNode* node) override;
  void NodeAboutToRemove(TTreeNode* node) override;
  void NodeMoved(TTreeNode* node) override;
  void NodeChanged(TTreeNode* node) override;
  void ChildrenReordered(TTreeNode* parent) override;

  TTree& Source;
  TFilter Filter;
  TTree Copy;
  std::unordered_map<const TTreeNode*, TTreeNode*> Copies;
  bool Built = false;
  bool Stale = false;
};
