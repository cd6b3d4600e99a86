#include "shell/tree_mirror.h"

#include <utility>

TTreeMirror::TTreeMirror(TTree& source, TFilter filter) : Source(source), Filter(std::move(filter)) {}

TTreeMirror::~TTreeMirror() { Clear(); }

void TTreeMirror::Build() {
  if (!Built) Source.AddObserver(this);
  Built = true;
  Copy.SetSelected(nullptr);
  Copy.Clear();
  Copies.clear();
  CopyChildren(nullptr, nullptr);
  Stale = false;
}

void TTreeMirror::Clear() {
  if (Built) Source.RemoveObserver(this);
  Built = false;
  Stale = false;
  Copy.SetSelected(nullptr);
  for (auto& [source, copy] : Copies) copy->SetData(nullptr);
  Copy.Clear();
  Copies.clear();
}

TTreeNode* TTreeMirror::CopyOf(const TTreeNode* source) const {
  const auto found = Copies.find(source);
  return found == Copies.end() ? nullptr : found->second;
}

void TTreeMirror::CopyChildren(const TTreeNode* source, TTreeNode* copyParent) {
  for (TTreeNode* child = source ? source->GetFirstChild() : Source.GetFirstNode(); child;
       child = child->GetNextSibling()) {
    if (Filter && !Filter(*child)) continue;
    TTreeNode* copy = Copy.AddChild(copyParent, child->GetText());
    copy->SetData(child->GetData());
    copy->SetImageIndex(child->GetImageIndex());
    copy->SetSelectedIndex(child->GetSelectedIndex());
    Copies[child] = copy;
    CopyChildren(child, copy);
    copy->SetExpanded(true);
  }
}

void TTreeMirror::MarkStale() {
  const bool was = Stale;
  Stale = true;
  if (!was && OnStale) OnStale();
}

void TTreeMirror::Forget(const TTreeNode* source) {
  const auto found = Copies.find(source);
  if (found != Copies.end()) {
    found->second->SetData(nullptr);
    Copies.erase(found);
  }
  for (TTreeNode* child = source->GetFirstChild(); child; child = child->GetNextSibling())
    Forget(child);
}

void TTreeMirror::NodeInserted(TTreeNode* node) {
  // A new node may sit where a removed one was: no stale copy may answer for it.
  Copies.erase(node);
  MarkStale();
}

void TTreeMirror::NodeAboutToRemove(TTreeNode* node) {
  if (TTreeNode* copy = CopyOf(node)) {
    if (OnRemoving) OnRemoving(copy);
  }
  // The source's objects are going (or their nodes are): the copies must not reach them.
  Forget(node);
  MarkStale();
}

void TTreeMirror::NodeMoved(TTreeNode*) { MarkStale(); }

void TTreeMirror::NodeChanged(TTreeNode* node) {
  if (TTreeNode* copy = CopyOf(node)) copy->SetText(node->GetText());
}

void TTreeMirror::ChildrenReordered(TTreeNode*) { MarkStale(); }
