// Output files (".opt") through LoadOutputFile, as the detached-output list opens them;
// a damaged file ends in EReadError and nothing else. A window that loads is saved,
// loaded again and saved again: both saves must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "model/errors.h"
#include "outputs/output_file.h"
#include "outputs/output_form.h"
#include "support/harness.h"
#include "support/scratch.h"

namespace {

std::unique_ptr<TOutputForm> Load(const std::string& path) {
  try {
    return LoadOutputFile(path, nullptr);
  } catch (const EReadError&) {
    return nullptr;
  }
}

std::string Save(TOutputForm& form) {
  FUZZ_CHECK(SaveOutputFile(form, scratch::PathOf("saved.opt")));
  return scratch::Read("saved.opt");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  THarnessInput input;
  std::unique_ptr<TOutputForm> form = Load(scratch::Write("input.opt", data, size));
  if (!form) return 0;
  const std::string first = Save(*form);
  std::unique_ptr<TOutputForm> again = Load(scratch::PathOf("saved.opt"));
  FUZZ_CHECK(again != nullptr);
  FUZZ_CHECK(Save(*again) == first);
  return 0;
}
