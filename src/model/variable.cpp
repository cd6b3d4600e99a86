#include "model/variable.h"

#include "model/user_list.h"

// A reference leaves its attribute's users in its own destructor; this one catches any
// that is destroyed still listed, so that no list keeps a reference that is gone.
TVariable::~TVariable() {
  if (UserList) UserList->Erase(this);
}
