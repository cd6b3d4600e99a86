// The core's tree: the experiment tree and the attribute tree are built of these nodes.
// Views (the Qt tree views) watch a tree through TTreeObserver; the tree owns its nodes,
// a node's data pointer belongs to whoever set it.
//
// Experiments hold blocks of 100,000 commands, and views ask for rows and parents all
// the time, so sibling steps, child access and positions take constant time, and the
// edits the model makes one node at a time (a section adopting or releasing its
// commands, a block deleted from its first command on) take constant time each.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

class TTree;
class TTreeNode;

// The children of a node: a gap buffer, so that runs of inserts and removals at or near
// one position (the patterns of loading, sections and deletion) cost constant time
// each, while any child is reached by its position at once.
class TChildList {
public:
  TChildList() = default;
  TChildList(const TChildList&) = delete;
  TChildList& operator=(const TChildList&) = delete;

  int Size() const { return static_cast<int>(Buffer.size()) - (GapEnd - GapStart); }
  bool Empty() const { return Size() == 0; }
  TTreeNode* At(int index) const { return Buffer[index < GapStart ? index : index + GapEnd - GapStart]; }
  void Insert(int index, TTreeNode* node);
  TTreeNode* Erase(int index);
  // All children in order; the list is left empty.
  std::vector<TTreeNode*> TakeAll();

private:
  void MoveGapTo(int index);

  std::vector<TTreeNode*> Buffer;
  int GapStart = 0;
  int GapEnd = 0;
};

// Where MoveTo puts a node relative to the destination node.
enum class TNodeAttachMode {
  naAdd,            // last sibling of the destination
  naAddFirst,       // first sibling of the destination
  naAddChild,       // last child of the destination
  naAddChildFirst,  // first child of the destination
  naInsert,         // just before the destination
};

class TTreeNode {
public:
  TTree* GetTree() const { return Tree; }
  // Null for a top-level node.
  TTreeNode* GetParent() const;
  // 0 for a top-level node.
  int GetLevel() const;
  // Position among its siblings.
  int GetIndex() const;

  int Count() const { return Children.Size(); }
  bool HasChildren() const { return !Children.Empty(); }
  TTreeNode* Item(int index) const;
  TTreeNode* GetFirstChild() const { return Children.Empty() ? nullptr : Children.At(0); }
  TTreeNode* GetLastChild() const { return Children.Empty() ? nullptr : Children.At(Count() - 1); }
  TTreeNode* GetNextSibling() const { return Next; }
  TTreeNode* GetPrevSibling() const { return Prev; }
  // The next node in depth-first order (first child, else next sibling, else the next
  // sibling of the nearest ancestor that has one); null after the last node.
  TTreeNode* GetNext() const;
  // True when node is this node's parent, grandparent, ...
  bool HasAsParent(const TTreeNode* node) const;
  // Position in the depth-first order of the whole tree, from 0 (a walk: for single
  // user actions, not for loops over nodes).
  int GetAbsoluteIndex() const;

  const std::string& GetText() const { return Text; }
  void SetText(std::string text);
  void* GetData() const { return Data; }
  void SetData(void* data) { Data = data; }
  int GetImageIndex() const { return ImageIndex; }
  void SetImageIndex(int index);
  int GetSelectedIndex() const { return SelectedIndex; }
  void SetSelectedIndex(int index);
  bool GetExpanded() const { return Expanded; }
  void SetExpanded(bool expanded);

  // Moves this node (with its children) relative to destination. A node cannot move
  // into itself or below itself.
  void MoveTo(TTreeNode* destination, TNodeAttachMode mode);
  // Removes this node and its children from the tree and destroys them.
  void Delete();
  void DeleteChildren();
  // Puts the children in the order of less(a, b); equal ones keep their order.
  template <typename Less>
  void SortChildren(Less less);

private:
  friend class TTree;
  TTreeNode(TTree* tree, TTreeNode* parent, std::string text)
      : Tree(tree), Parent(parent), Text(std::move(text)) {}
  ~TTreeNode();  // destroys the children, without notifications
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  // Position of a child, renumbering lazily from the first child whose cached position
  // may be stale.
  int PositionOf(const TTreeNode* child) const;
  void InsertChild(int index, TTreeNode* child);
  TTreeNode* RemoveChild(int index);
  void Relink(const std::vector<TTreeNode*>& order);
  void ReorderChildren(std::vector<TTreeNode*>& order);

  TTree* Tree;
  TTreeNode* Parent;  // the tree's hidden root for top-level nodes
  TTreeNode* Prev = nullptr;
  TTreeNode* Next = nullptr;
  TChildList Children;
  // Every child before position ValidBelow has its position in Index; the others may
  // hold stale positions until they are renumbered.
  mutable int Index = 0;
  mutable int ValidBelow = 0;
  std::string Text;
  void* Data = nullptr;
  int ImageIndex = -1;
  int SelectedIndex = -1;
  bool Expanded = false;
};

// Told of every change to a tree. "About to" calls come before the change, the others
// after it; indexes are positions among the parent's children (parent null: top level).
class TTreeObserver {
public:
  virtual ~TTreeObserver() = default;
  virtual void NodeAboutToInsert(TTreeNode* parent, int index) { (void)parent, (void)index; }
  virtual void NodeInserted(TTreeNode* node) { (void)node; }
  virtual void NodeAboutToRemove(TTreeNode* node) { (void)node; }
  virtual void NodeRemoved(TTreeNode* parent, int index) { (void)parent, (void)index; }
  // newIndex is the node's position under newParent once the move is done.
  virtual void NodeAboutToMove(TTreeNode* node, TTreeNode* newParent, int newIndex) {
    (void)node, (void)newParent, (void)newIndex;
  }
  virtual void NodeMoved(TTreeNode* node) { (void)node; }
  // Text, images or expanded state changed.
  virtual void NodeChanged(TTreeNode* node) { (void)node; }
  virtual void SelectionChanged(TTreeNode* selected) { (void)selected; }
  // The children of parent were put in another order (parent null: top level).
  virtual void ChildrenReordered(TTreeNode* parent) { (void)parent; }
};

class TTree {
public:
  TTree();
  ~TTree();
  TTree(const TTree&) = delete;
  TTree& operator=(const TTree&) = delete;

  // New nodes. A null sibling or parent means the top level.
  TTreeNode* Add(TTreeNode* sibling, const std::string& text);       // last sibling
  TTreeNode* AddFirst(TTreeNode* sibling, const std::string& text);  // first sibling
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);   // last child
  TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& text);
  TTreeNode* Insert(TTreeNode* sibling, const std::string& text);    // before sibling

  int Count() const { return Root.Count(); }  // top-level nodes
  TTreeNode* Item(int index) const { return Root.Item(index); }
  TTreeNode* GetFirstNode() const { return Root.GetFirstChild(); }
  void Clear();

  TTreeNode* GetSelected() const { return Selected; }
  void SetSelected(TTreeNode* node);

  void AddObserver(TTreeObserver* observer);
  void RemoveObserver(TTreeObserver* observer);

private:
  friend class TTreeNode;
  // The parent a caller names: the hidden root for null.
  TTreeNode* Level(TTreeNode* parent) { return parent ? parent : &Root; }
  TTreeNode* InsertAt(TTreeNode* parent, int index, const std::string& text);
  // Takes the node out of its parent's children; the caller owns it.
  TTreeNode* Detach(TTreeNode* node);
  void ForgetSelection(TTreeNode* removed);
  template <typename F>
  void Notify(F&& call) {
    for (TTreeObserver* observer : Observers) call(*observer);
  }

  TTreeNode Root;
  TTreeNode* Selected = nullptr;
  std::vector<TTreeObserver*> Observers;
};

template <typename Less>
void TTreeNode::SortChildren(Less less) {
  std::vector<TTreeNode*> order = Children.TakeAll();
  std::stable_sort(order.begin(), order.end(), less);
  ReorderChildren(order);
}
