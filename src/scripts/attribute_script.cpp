#include "scripts/attribute_script.h"

#include "model/assertion.h"
#include "model/tree_node.h"

namespace {

// The If-Then of an end point's section, through its End If; none when not linked.
TScript* IfThenOf(TEndPointScript* endpoint) {
  TEndPointScript* endif = endpoint->GetEndIfScript();
  return endif ? endif->GetIfThenScript() : nullptr;
}

}  // namespace

int TEndPointScript::Edit() {
  TScript* ifthen = IfThenOf(this);
  QORV_ASSERT_AS(ifthen!=0, "Pifthenscript!=0");
  return ifthen->Edit();
}

void TEndPointScript::MoveNode(TScript* topscript, bool asChild) {
  if (topscript && topscript == IfThenOf(this))
    AbIndented = asChild;
  else
    TScript::MoveNode(topscript, asChild);
}

std::uint32_t TEndPointScript::GetNodeColor() {
  QORV_ASSERT(AExpNode!=0);
  return ColourOfLevel(AExpNode->GetLevel() + 1);
}
