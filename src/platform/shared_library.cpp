#include "platform/shared_library.h"

#include <dlfcn.h>

#include <cstdlib>

#include "model/assertion.h"

TSharedLibrary::TSharedLibrary(const char* variable, const char* defaultFile,
                               const char* const* names, int count)
    : Variable(variable), DefaultFile(defaultFile), Names(names),
      Functions(static_cast<std::size_t>(count), nullptr) {}

std::string TSharedLibrary::FileName(const char* variable, const char* defaultFile) {
  const char* name = std::getenv(variable);
  return name && *name ? name : defaultFile;
}

bool TSharedLibrary::Load() {
  if (Handle) return true;
  LoadedFile = FileName(Variable, DefaultFile);
  Handle = ::dlopen(LoadedFile.c_str(), RTLD_NOW | RTLD_LOCAL);
  return Handle != nullptr;
}

void TSharedLibrary::Unload() {
  if (Handle) ::dlclose(Handle);
  Handle = nullptr;
  for (auto& function : Functions) function = nullptr;
}

void* TSharedLibrary::Function(int index) {
  QORV_ASSERT(Handle && index >= 0 && index < static_cast<int>(Functions.size()));
  void*& function = Functions[static_cast<std::size_t>(index)];
  if (!function) function = ::dlsym(Handle, Names[index]);
  return function;
}

void* TSharedLibrary::Symbol(const char* name) const {
  QORV_ASSERT(Handle);
  return ::dlsym(Handle, name);
}
