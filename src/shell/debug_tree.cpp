#include "shell/debug_tree.h"

#include <vector>

#include "model/assertion.h"
#include "model/block.h"
#include "model/experiment.h"
#include "model/node_style.h"
#include "scripts/script.h"

namespace {

// The blank line is where the main window adds commands: nothing the debugger runs.
bool IsBlankLine(const TTreeNode& node) {
  TScript* script = ScriptOfNode(&node);
  return script && script->GetScriptType() == TScript::BLANK;
}

}  // namespace

TDebugTree::TDebugTree(TExperiment& experiment)
    : Exp(experiment), Mirror(experiment.GetExperimentTree(), [](const TTreeNode& node) {
        return !IsBlankLine(node);
      }) {
  Mirror.OnRemoving = [this](TTreeNode* copy) {
    if (copy == AbortNode) AbortNode = nullptr;
    Stops.erase(copy);
    // The object's destructor has let go of the node: it was destroyed, not moved.
    if (!copy->GetData() && OnObjectGone) OnObjectGone();
  };
  Mirror.OnStale = [this] {
    if (OnChanged) OnChanged();
  };
}

TDebugTree::~TDebugTree() { Unbind(); }

TExperimentObject* TDebugTree::ObjectOf(const TTreeNode* node) {
  return node ? static_cast<TExperimentObject*>(node->GetData()) : nullptr;
}

TScript* TDebugTree::ScriptOf(const TTreeNode* node) {
  return node && node->GetData() ? ScriptOfNode(node) : nullptr;
}

void TDebugTree::Bind() {
  BindAfresh();
  if (OnChanged) OnChanged();
}

void TDebugTree::BindAfresh() {
  UnbindNodes();
  Stops.clear();
  AbortNode = nullptr;
  Mirror.Build();
  const int count = BindNodes();
  QORV_ASSERT_AS(count==Mirror.NodeCount(), "count==DebugTreeView->Items->Count");
}

void TDebugTree::Unbind() {
  UnbindNodes();
  Stops.clear();
  AbortNode = nullptr;
  Mirror.Clear();
}

void TDebugTree::Rebuild() {
  if (!IsBound()) return;
  std::vector<TExperimentObject*> stopped;
  for (const TTreeNode* node : Stops)
    if (TExperimentObject* object = ObjectOf(node)) stopped.push_back(object);
  TExperimentObject* aborted = ObjectOf(AbortNode);
  TExperimentObject* selected = ObjectOf(GetTree().GetSelected());
  BindAfresh();
  // An object that left the tree keeps no DebugNode after the binding above.
  for (TExperimentObject* object : stopped)
    if (object->DebugNode) {
      Stops.insert(object->DebugNode);
      SetStopImage(object->DebugNode, true);
    }
  if (aborted) AbortNode = aborted->DebugNode;
  if (selected && selected->DebugNode) GetTree().SetSelected(selected->DebugNode);
  if (OnChanged) OnChanged();
}

int TDebugTree::BindNodes() {
  int count = 0;
  for (TTreeNode* node = GetTree().GetFirstNode(); node; node = node->GetNext()) {
    TExperimentObject* object = ObjectOf(node);
    if (!object) continue;
    object->DebugNode = node;
    if (node->GetLevel() > 0) SetStopImage(node, false);
    ++count;
  }
  return count;
}

void TDebugTree::UnbindNodes() {
  for (TTreeNode* node = GetTree().GetFirstNode(); node; node = node->GetNext()) {
    TExperimentObject* object = ObjectOf(node);
    if (object && object->DebugNode == node) object->DebugNode = nullptr;
    node->SetData(nullptr);
  }
}

TBlock* TDebugTree::GetSelectedBlock() const {
  const TTreeNode* node = Mirror.GetTree().GetSelected();
  TExperimentObject* object = ObjectOf(node);
  if (!object) return nullptr;
  if (auto* block = dynamic_cast<TBlock*>(object)) return block;
  if (auto* script = dynamic_cast<TScript*>(object)) return script->Pblock;
  return nullptr;
}

TTreeNode* TDebugTree::NodeOfObject(const TExperimentObject* object) const {
  if (!object) return nullptr;
  for (TTreeNode* walk = Mirror.GetTree().GetFirstNode(); walk; walk = walk->GetNext())
    if (walk->GetData() == object) return walk;
  return nullptr;
}

bool TDebugTree::Contains(const TTreeNode* node) const {
  if (!node) return false;
  for (const TTreeNode* walk = Mirror.GetTree().GetFirstNode(); walk; walk = walk->GetNext())
    if (walk == node) return true;
  return false;
}

bool TDebugTree::ToggleStop(TTreeNode* node) {
  if (!node || node->GetLevel() < 1) return false;
  const bool stop = Stops.count(node) == 0;
  if (stop)
    Stops.insert(node);
  else
    Stops.erase(node);
  SetStopImage(node, stop);
  return true;
}

void TDebugTree::SetStopImage(TTreeNode* node, bool stop) {
  node->SetImageIndex(stop ? StopImage : -1);
  node->SetSelectedIndex(stop ? StopImage : -1);
}

void TDebugTree::SetAbortNode(TTreeNode* node) {
  TTreeNode* previous = AbortNode;
  AbortNode = node;
  // The rows change colour: their views repaint them.
  if (previous && previous != node) previous->SetText(previous->GetText());
  if (node) node->SetText(node->GetText());
}

bool TDebugTree::DrawNode(TTreeNode& node, TNodeStyle& style, bool paused) {
  TExperimentObject* object = ObjectOf(&node);
  if (!object) return false;  // gone: the rebuild that follows drops the node
  TScript* script = dynamic_cast<TScript*>(object);
  if (script && script->AbCommentedOut) {
    style.Text = "//" + node.GetText();
    style.Italic = true;
    style.ImageIndex = node.GetImageIndex();
  } else if (!object->DrawNode(style)) {
    style = TNodeStyle{};
    style.Text = node.GetText();
    style.ImageIndex = node.GetImageIndex();
  }
  if (script) style.ImageIndex = HasStop(&node) ? StopImage : -1;
  if (paused && GetTree().GetSelected() == &node) style.Marks |= nmPaused;
  if (!paused && &node == AbortNode) style.Marks |= nmAborted;
  return true;
}
