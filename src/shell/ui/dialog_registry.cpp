#include "shell/ui/dialog_registry.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <utility>

void TDialogRegistry::Register(std::type_index type, TOpener open) {
  if (!open) throw std::logic_error("No dialog given for " + TypeNameOf(type));
  if (!Openers.emplace(type, std::move(open)).second)
    throw std::logic_error("A dialog is registered twice for " + TypeNameOf(type));
}

std::vector<std::type_index> TDialogRegistry::Types() const {
  std::vector<std::type_index> types;
  types.reserve(Openers.size());
  for (const auto& [type, open] : Openers) types.push_back(type);
  return types;
}

int TDialogRegistry::Open(TDialogRequest& request, QWidget* parent) const {
  const auto found = Openers.find(typeid(request));
  return found == Openers.end() ? 0 : found->second(request, parent);
}

TDialogRegistry& DialogRegistry() {
  static TDialogRegistry registry;
  return registry;
}

std::string TypeNameOf(std::type_index type) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(
      abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
  return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}
