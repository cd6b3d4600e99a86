#include "model/tree_node.h"

#include <algorithm>

#include "model/assertion.h"

namespace {

// The hidden root stands for "top level" and is never shown to callers.
TTreeNode* Visible(TTreeNode* node, const TTreeNode* root) { return node == root ? nullptr : node; }

}  // namespace

// TTreeNode

TTreeNode* TTreeNode::GetParent() const { return Visible(Parent, &Tree->Root); }

int TTreeNode::GetLevel() const {
  int level = 0;
  for (const TTreeNode* p = Parent; p && p != &Tree->Root; p = p->Parent) ++level;
  return level;
}

int TTreeNode::GetIndex() const {
  const auto& siblings = Parent->Children;
  const auto found = std::find_if(siblings.begin(), siblings.end(),
                                  [this](const auto& child) { return child.get() == this; });
  return static_cast<int>(found - siblings.begin());
}

TTreeNode* TTreeNode::Item(int index) const {
  return index >= 0 && index < Count() ? Children[index].get() : nullptr;
}

TTreeNode* TTreeNode::GetNextSibling() const { return Parent->Item(GetIndex() + 1); }

TTreeNode* TTreeNode::GetPrevSibling() const { return Parent->Item(GetIndex() - 1); }

TTreeNode* TTreeNode::GetNext() const {
  if (HasChildren()) return GetFirstChild();
  for (const TTreeNode* node = this; node && node != &Tree->Root; node = node->Parent)
    if (TTreeNode* next = node->GetNextSibling()) return next;
  return nullptr;
}

bool TTreeNode::HasAsParent(const TTreeNode* node) const {
  for (const TTreeNode* p = Parent; p; p = p->Parent)
    if (p == node) return true;
  return false;
}

int TTreeNode::GetAbsoluteIndex() const {
  int index = 0;
  for (const TTreeNode* node = Tree->GetFirstNode(); node && node != this; node = node->GetNext())
    ++index;
  return index;
}

void TTreeNode::SetText(const std::string& text) {
  Text = text;
  Tree->Notify([this](TTreeObserver& o) { o.NodeChanged(this); });
}

void TTreeNode::SetImageIndex(int index) {
  ImageIndex = index;
  Tree->Notify([this](TTreeObserver& o) { o.NodeChanged(this); });
}

void TTreeNode::SetSelectedIndex(int index) {
  SelectedIndex = index;
  Tree->Notify([this](TTreeObserver& o) { o.NodeChanged(this); });
}

void TTreeNode::SetExpanded(bool expanded) {
  Expanded = expanded;
  Tree->Notify([this](TTreeObserver& o) { o.NodeChanged(this); });
}

void TTreeNode::MoveTo(TTreeNode* destination, TNodeAttachMode mode) {
  QORV_ASSERT(destination!=0&&destination!=this&&!destination->HasAsParent(this));
  QORV_ASSERT(destination->Tree==Tree);
  TTreeNode* newParent = nullptr;
  int index = 0;  // position among newParent's children before this node is taken out
  switch (mode) {
    case TNodeAttachMode::naAdd: newParent = destination->Parent; index = newParent->Count(); break;
    case TNodeAttachMode::naAddFirst: newParent = destination->Parent; index = 0; break;
    case TNodeAttachMode::naAddChild: newParent = destination; index = destination->Count(); break;
    case TNodeAttachMode::naAddChildFirst: newParent = destination; index = 0; break;
    case TNodeAttachMode::naInsert: newParent = destination->Parent; index = destination->GetIndex(); break;
  }
  if (newParent == Parent && GetIndex() < index) --index;  // this node leaves a gap first
  TTreeNode* root = &Tree->Root;
  Tree->Notify([&](TTreeObserver& o) { o.NodeAboutToMove(this, Visible(newParent, root), index); });
  std::unique_ptr<TTreeNode> self = Tree->Detach(this);
  newParent->Children.insert(newParent->Children.begin() + index, std::move(self));
  Parent = newParent;
  Tree->Notify([this](TTreeObserver& o) { o.NodeMoved(this); });
}

void TTreeNode::Delete() {
  TTree* tree = Tree;
  TTreeNode* parent = Parent;
  const int index = GetIndex();
  tree->Notify([this](TTreeObserver& o) { o.NodeAboutToRemove(this); });
  tree->ForgetSelection(this);
  std::unique_ptr<TTreeNode> self = tree->Detach(this);
  self.reset();  // destroys this node and its children
  tree->Notify([&](TTreeObserver& o) { o.NodeRemoved(Visible(parent, &tree->Root), index); });
}

void TTreeNode::DeleteChildren() {
  while (HasChildren()) GetLastChild()->Delete();
}

// TTree

TTree::TTree() : Root(this, nullptr, std::string()) {}

TTree::~TTree() {
  // Nodes go without notifications: the observers may be gone already.
  Observers.clear();
  Root.Children.clear();
}

TTreeNode* TTree::InsertAt(TTreeNode* parent, int index, const std::string& text) {
  Notify([&](TTreeObserver& o) { o.NodeAboutToInsert(Visible(parent, &Root), index); });
  std::unique_ptr<TTreeNode> node(new TTreeNode(this, parent, text));
  TTreeNode* added = node.get();
  parent->Children.insert(parent->Children.begin() + index, std::move(node));
  Notify([added](TTreeObserver& o) { o.NodeInserted(added); });
  return added;
}

TTreeNode* TTree::Add(TTreeNode* sibling, const std::string& text) {
  TTreeNode* parent = sibling ? sibling->Parent : &Root;
  return InsertAt(parent, parent->Count(), text);
}

TTreeNode* TTree::AddFirst(TTreeNode* sibling, const std::string& text) {
  return InsertAt(sibling ? sibling->Parent : &Root, 0, text);
}

TTreeNode* TTree::AddChild(TTreeNode* parent, const std::string& text) {
  return InsertAt(Level(parent), Level(parent)->Count(), text);
}

TTreeNode* TTree::AddChildFirst(TTreeNode* parent, const std::string& text) {
  return InsertAt(Level(parent), 0, text);
}

TTreeNode* TTree::Insert(TTreeNode* sibling, const std::string& text) {
  if (!sibling) return Add(nullptr, text);
  return InsertAt(sibling->Parent, sibling->GetIndex(), text);
}

void TTree::Clear() { Root.DeleteChildren(); }

void TTree::SetSelected(TTreeNode* node) {
  Selected = node;
  Notify([node](TTreeObserver& o) { o.SelectionChanged(node); });
}

void TTree::ForgetSelection(TTreeNode* removed) {
  if (Selected && (Selected == removed || Selected->HasAsParent(removed))) SetSelected(nullptr);
}

std::unique_ptr<TTreeNode> TTree::Detach(TTreeNode* node) {
  auto& siblings = node->Parent->Children;
  const auto found = siblings.begin() + node->GetIndex();
  std::unique_ptr<TTreeNode> owned = std::move(*found);
  siblings.erase(found);
  return owned;
}

void TTree::AddObserver(TTreeObserver* observer) { Observers.push_back(observer); }

void TTree::RemoveObserver(TTreeObserver* observer) {
  Observers.erase(std::remove(Observers.begin(), Observers.end(), observer), Observers.end());
}
