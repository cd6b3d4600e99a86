#include "model/tree_node.h"

#include <algorithm>
#include <utility>

#include "model/assertion.h"

namespace {

// The hidden root stands for "top level" and is never shown to callers.
TTreeNode* Visible(TTreeNode* node, const TTreeNode* root) { return node == root ? nullptr : node; }

}  // namespace

// TChildList

void TChildList::MoveGapTo(int index) {
  if (index < GapStart) {
    const int count = GapStart - index;
    std::move_backward(Buffer.begin() + index, Buffer.begin() + GapStart, Buffer.begin() + GapEnd);
    GapStart -= count;
    GapEnd -= count;
  } else if (index > GapStart) {
    const int count = index - GapStart;
    std::move(Buffer.begin() + GapEnd, Buffer.begin() + GapEnd + count, Buffer.begin() + GapStart);
    GapStart += count;
    GapEnd += count;
  }
}

void TChildList::Insert(int index, TTreeNode* node) {
  if (GapStart == GapEnd) {
    // Grow with the gap at the end, doubling so that appends stay amortised constant.
    MoveGapTo(Size());
    const int size = static_cast<int>(Buffer.size());
    const int grown = std::max(8, size * 2);
    Buffer.resize(static_cast<std::size_t>(grown), nullptr);
    GapEnd = grown;
  }
  MoveGapTo(index);
  Buffer[GapStart++] = node;
}

TTreeNode* TChildList::Erase(int index) {
  MoveGapTo(index);
  TTreeNode* node = Buffer[GapEnd];
  Buffer[GapEnd++] = nullptr;
  return node;
}

std::vector<TTreeNode*> TChildList::TakeAll() {
  std::vector<TTreeNode*> nodes;
  nodes.reserve(static_cast<std::size_t>(Size()));
  for (int i = 0; i < Size(); ++i) nodes.push_back(At(i));
  Buffer.clear();
  GapStart = GapEnd = 0;
  return nodes;
}

// TTreeNode

TTreeNode::~TTreeNode() {
  for (TTreeNode* child : Children.TakeAll()) delete child;
}

int TTreeNode::PositionOf(const TTreeNode* child) const {
  // A cached position is right when the child stands there; otherwise the child stands
  // at or after ValidBelow, since every position before it is right.
  const int cached = child->Index;
  if (cached < Count() && Children.At(cached) == child) return cached;
  for (int i = ValidBelow; i < Count(); ++i) {
    TTreeNode* node = Children.At(i);
    node->Index = i;
    if (node == child) {
      ValidBelow = i + 1;
      return i;
    }
  }
  QORV_ASSERT_AS(false, "the node is a child of its parent");
  return -1;
}

void TTreeNode::InsertChild(int index, TTreeNode* child) {
  TTreeNode* prev = index > 0 ? Children.At(index - 1) : nullptr;
  TTreeNode* next = index < Count() ? Children.At(index) : nullptr;
  const bool appended = next == nullptr;
  Children.Insert(index, child);
  child->Parent = this;
  child->Prev = prev;
  child->Next = next;
  if (prev) prev->Next = child;
  if (next) next->Prev = child;
  child->Index = index;
  // An append keeps every earlier position; an insert moves the ones after it.
  if (appended && ValidBelow >= index)
    ValidBelow = index + 1;
  else
    ValidBelow = std::min(ValidBelow, index);
}

TTreeNode* TTreeNode::RemoveChild(int index) {
  TTreeNode* child = Children.Erase(index);
  if (child->Prev) child->Prev->Next = child->Next;
  if (child->Next) child->Next->Prev = child->Prev;
  child->Prev = child->Next = nullptr;
  ValidBelow = std::min(ValidBelow, index);
  return child;
}

void TTreeNode::Relink(const std::vector<TTreeNode*>& order) {
  TTreeNode* prev = nullptr;
  int index = 0;
  for (TTreeNode* node : order) {
    Children.Insert(index, node);
    node->Index = index++;
    node->Prev = prev;
    node->Next = nullptr;
    if (prev) prev->Next = node;
    prev = node;
  }
  ValidBelow = index;
}

void TTreeNode::ReorderChildren(std::vector<TTreeNode*>& order) {
  Relink(order);
  TTreeNode* parent = Parent ? this : nullptr;  // the hidden root stands for the top level
  Tree->Notify([parent](TTreeObserver& o) { o.ChildrenReordered(parent); });
}

TTreeNode* TTreeNode::GetParent() const { return Visible(Parent, &Tree->Root); }

int TTreeNode::GetLevel() const {
  int level = 0;
  for (const TTreeNode* p = Parent; p && p != &Tree->Root; p = p->Parent) ++level;
  return level;
}

int TTreeNode::GetIndex() const { return Parent->PositionOf(this); }

TTreeNode* TTreeNode::Item(int index) const {
  return index >= 0 && index < Count() ? Children.At(index) : nullptr;
}

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

void TTreeNode::SetText(std::string text) {
  Text = std::move(text);
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
  Tree->Detach(this);
  newParent->InsertChild(index, this);
  Tree->Notify([this](TTreeObserver& o) { o.NodeMoved(this); });
}

void TTreeNode::Delete() {
  TTree* tree = Tree;
  TTreeNode* parent = Parent;
  const int index = GetIndex();
  tree->Notify([this](TTreeObserver& o) { o.NodeAboutToRemove(this); });
  tree->ForgetSelection(this);
  delete tree->Detach(this);  // destroys this node and its children
  tree->Notify([&](TTreeObserver& o) { o.NodeRemoved(Visible(parent, &tree->Root), index); });
}

void TTreeNode::DeleteChildren() {
  while (HasChildren()) GetLastChild()->Delete();
}

// TTree

TTree::TTree() : Root(this, nullptr, std::string()) {}

TTree::~TTree() {
  // Nodes go without notifications (the observers may be gone already), when the root
  // destroys its children.
  Observers.clear();
}

TTreeNode* TTree::InsertAt(TTreeNode* parent, int index, const std::string& text) {
  Notify([&](TTreeObserver& o) { o.NodeAboutToInsert(Visible(parent, &Root), index); });
  auto* added = new TTreeNode(this, parent, text);
  parent->InsertChild(index, added);
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

TTreeNode* TTree::Detach(TTreeNode* node) { return node->Parent->RemoveChild(node->GetIndex()); }

void TTree::AddObserver(TTreeObserver* observer) { Observers.push_back(observer); }

void TTree::RemoveObserver(TTreeObserver* observer) {
  Observers.erase(std::remove(Observers.begin(), Observers.end(), observer), Observers.end());
}
