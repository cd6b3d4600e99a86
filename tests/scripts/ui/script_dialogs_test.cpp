// The command dialogs and the command table agree: every row that names a dialog has it
// registered, and every command dialog registered is the dialog of a row (else its
// command's tool button would stay disabled).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <typeindex>

#include "scripts/command_table.h"
#include "scripts/device/send_and_read_request.h"
#include "scripts/script_request.h"
#include "scripts/ui/script_dialogs.h"
#include "shell/ui/dialog_registry.h"

TEST(ScriptDialogs, EveryRowsDialogIsRegisteredAndEveryCommandDialogHasItsRow) {
  TDialogRegistry registry;
  RegisterScriptDialogs(registry);
  std::set<std::type_index> rows;
  for (const TCommandKind& kind : CommandKinds()) {
    if (!kind.Dialog) continue;
    const auto request = kind.Dialog();
    ASSERT_NE(request, nullptr) << "type " << kind.Type;
    const std::type_index type = typeid(*request);
    EXPECT_TRUE(rows.insert(type).second) << TypeNameOf(type) << " serves two rows";
    EXPECT_TRUE(registry.Serves(type)) << TypeNameOf(type) << " has no dialog registered";
  }
  // The Send-and-Read pair has no row: its add handler opens its dialog itself.
  EXPECT_TRUE(registry.Serves(typeid(TSendAndReadRequest)));
  rows.insert(typeid(TSendAndReadRequest));
  for (const std::type_index& type : registry.Types())
    EXPECT_TRUE(rows.count(type)) << TypeNameOf(type) << " is the dialog of no row";
  EXPECT_GE(rows.size(), 2u);  // Wait and Repeat at least
}
