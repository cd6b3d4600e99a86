#include "model/exp_attribute.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/errors.h"
#include "model/ordered_set.h"
#include "model/read_file.h"
#include "model/release_pace.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "model/variable.h"
#include "model/write_file.h"
#include "scripts/attribute_script.h"
#include "scripts/copy_script.h"

namespace {

const char* const AttributeReadError = "Error reading attribute";

// The command of a user; every user belongs to one.
TAttributeScript* CommandOf(const TVariable* user) {
  TAttributeScript* script = user->GetScriptOwner();
  QORV_ASSERT(script!=0);
  return script;
}

// The commands of the users, each once, in user order.
std::vector<TAttributeScript*> CommandsOf(const std::vector<TVariable*>& users) {
  TOrderedSet<TAttributeScript> commands;
  for (TVariable* user : users) commands.Insert(CommandOf(user));
  return commands.Items();
}

}  // namespace

int AttributeImage(bool isArray, int type) {
  if (type < 0 || type > 2) return -1;
  return (isArray ? 10 : 6) + type;
}

int OutputImage(int kind) { return kind >= 3 && kind <= 6 ? kind - 2 : -1; }

std::string TypeName(int type) {
  static const char* const names[] = {"String", "Integer", "Float", "Text",
                                      "Table",  "Graph",   "Bignum"};
  return type >= 0 && type <= 6 ? names[type] : "";
}

// TExpAttViewData

TExpAttViewData::TExpAttViewData(TTreeNode* node) : AExpAttNode(node) {
  if (AExpAttNode) AExpAttNode->SetData(this);
}

TExpAttViewData::~TExpAttViewData() {
  if (AExpAttNode) {
    AExpAttNode->SetData(nullptr);
    AExpAttNode->Delete();
  }
}

TExpAttViewData* AttViewDataOfNode(const TTreeNode* node) {
  return static_cast<TExpAttViewData*>(node->GetData());
}

// TExpAttribute

TExpAttribute::TExpAttribute(const std::string& displayName, TTreeNode* node)
    : TExpAttViewData(node), DisplayName(displayName) {}

TExpAttribute::~TExpAttribute() {
  DisableCopyScript();
  TOrderedSet<TAttributeScript> doomed;
  // A command answering for one user may drop its others (a Decision deletes its
  // condition with both references): those leave their slots empty as they go.
  Users.Hold();
  for (std::size_t slot = 0; slot < Users.SlotCount(); ++slot) {
    TVariable* user = Users.SlotAt(slot);
    if (!user) continue;
    user->ClearRef();
    TAttributeScript* script = CommandOf(user);
    if (script->RemoveVariable(user)) doomed.Insert(script);
  }
  Users.Clear();
  for (TAttributeScript* script : doomed.Items()) {
    delete script;
    PaceRelease();
  }
}

int TExpAttribute::AddUser(TVariable* reference) {
  if (!Users.Insert(reference)) return Users.IndexOf(reference);
  return static_cast<int>(Users.Size()) - 1;
}

void TExpAttribute::RemoveUser(TVariable* reference) { Users.Erase(reference); }

bool TExpAttribute::HasUser(const TVariable* reference) const { return Users.Contains(reference); }

std::int32_t TExpAttribute::GetUserCount() const { return static_cast<std::int32_t>(Users.Size()); }

std::vector<TVariable*> TExpAttribute::GetUsers() const { return Users.Items(); }

void TExpAttribute::SetName(const std::string& name) {
  DisplayName = name;
  if (AExpAttNode) AExpAttNode->SetText(name);
  for (TAttributeScript* script : CommandsOf(GetUsers())) {
    const std::string text = script->GetText();
    if (script->AExpNode) script->AExpNode->SetText(text);
    if (script->DebugNode) script->DebugNode->SetText(text);
  }
}

void TExpAttribute::SetCopyScript(TCopyScript* script) {
  QORV_ASSERT(script!=0);
  if (!Pcopyscript) Pcopyscript = script;
  QORV_ASSERT(Pcopyscript==script);
}

void TExpAttribute::DisableCopyScript() {
  if (Pcopyscript) Pcopyscript->Disable();
  QORV_ASSERT(Pcopyscript==0);
}

bool TExpAttribute::CanDelete() {
  if (!HasUsers()) return true;
  return UiPort().Ask(
             "Deleting this may delete one or more scripts.  Do you really want to do this?",
             "Qorv Message", TMessageKind::Warning, mbYes | mbNo) == mbYes;
}

bool TExpAttribute::CanChangeType(int type) {
  for (TVariable* user : GetUsers())
    if (!user->NotifyOwner(type)) return false;
  return true;
}

void TExpAttribute::DeleteIncompatibleUsers() {
  // A held copy no longer matches the retyped attribute.
  DisableCopyScript();
  TOrderedSet<TAttributeScript> collected;
  for (TVariable* user : GetUsers()) {
    if (!user->ReleaseRef()) continue;
    RemoveUser(user);
    collected.Insert(CommandOf(user));
  }
  if (!collected.Empty()) {
    // The other references of those commands go with them.
    for (TVariable* user : GetUsers()) {
      if (!collected.Contains(CommandOf(user))) continue;
      user->ClearRef();
      RemoveUser(user);
    }
    for (TAttributeScript* script : collected.Items()) {
      if (script->GetScriptType() == TScript::DECISION)
        static_cast<TConditionAttributeScript*>(script)->ClearCondition();
      else
        delete script;
    }
  }
  for (TAttributeScript* script : CommandsOf(GetUsers()))
    if (script->AExpNode) script->AExpNode->SetText(script->GetText());
}

void TExpAttribute::SaveUsers(TWriteFile& writer) {
  std::int32_t count = GetUserCount();
  if (const std::vector<TVariable*>* exported = writer.GetBlockVariableList())
    count = static_cast<std::int32_t>(std::count_if(exported->begin(), exported->end(),
                                                    [this](TVariable* v) { return HasUser(v); }));
  writer.WriteInteger(count);
  if (count >= 1) writer.WriteInteger(writer.GetObjectId(this));
}

void TExpAttribute::LoadUsers(TReadFile& reader) {
  std::int32_t count;
  reader.ReadInteger(count);
  if (count < 0) throw EReadError(AttributeReadError);
  std::int32_t bound = 0;
  if (count > 0) {
    std::int32_t identifier;
    reader.ReadInteger(identifier);
    TReadVariableList& waiting = reader.GetVariableList();
    if (waiting.IsDeferring()) {
      waiting.Defer(this, identifier, count);
      return;
    }
    bound = waiting.Resolve(identifier, [this, identifier](TVariable* reference) {
      return reference->ResolveLoadedLink(this, identifier);
    });
  }
  if (bound != count) throw EReadError(AttributeReadError);
}

void DeferAttributeUsers(TReadFile& reader) { reader.GetVariableList().BeginDeferring(); }

void BindDeferredUsers(TReadFile& reader) {
  // A command takes its new text once, after its last reference that shows in the text
  // is bound; its references were read one after another, so that is mostly at once.
  TAttributeScript* stale = nullptr;
  const bool exact = reader.GetVariableList().LinkDeferred(
      [&stale](TVariable* reference, TExpAttribute* attribute, std::int32_t identifier) {
        bool textStale = false;
        if (!reference->LinkLoaded(attribute, identifier, textStale)) return false;
        TAttributeScript* owner = textStale ? reference->GetScriptOwner() : nullptr;
        if (owner && owner != stale) {
          if (stale) stale->UpdateNodeText();
          stale = owner;
        }
        return true;
      },
      [](TVariable* reference) { __builtin_prefetch(reference->GetScriptOwner()); });
  if (stale) stale->UpdateNodeText();
  if (!exact) throw EReadError(AttributeReadError);
}

// TExpAttList

TExpAttList::TExpAttList(TExperiment* owner, TTreeNode* node)
    : TExpAttViewData(node), Pexpowner(owner) {}

TExpAttList::~TExpAttList() {
  if (AExpAttNode) Clear(false);
}

void TExpAttList::Clear(bool ask) {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  if (ask &&
      UiPort().Ask("You are about to remove everything from " + AExpAttNode->GetText() + "." +
                       "\rDo you really want to do this?",
                   "Qorv warning", TMessageKind::Warning, mbYes | mbNo) != mbYes)
    return;
  while (TTreeNode* firstnode = AExpAttNode->GetFirstChild()) {
    QORV_ASSERT_AS(firstnode->GetData() != nullptr, "firstnode->Data!=0");
    delete AttViewDataOfNode(firstnode);
    PaceRelease();
  }
}

void TExpAttList::ClearUnused() {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  std::vector<TExpAttribute*> unused;
  for (TTreeNode* node = AExpAttNode->GetFirstChild(); node; node = node->GetNextSibling()) {
    QORV_ASSERT_AS(node->GetData() != nullptr, "node->Data!=0");
    auto* attribute = dynamic_cast<TExpAttribute*>(AttViewDataOfNode(node));
    QORV_ASSERT(attribute!=0);
    if (!attribute->HasUsers()) unused.push_back(attribute);
  }
  for (TExpAttribute* attribute : unused) delete attribute;
}
