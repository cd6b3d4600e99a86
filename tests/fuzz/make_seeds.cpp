// Makes the seed corpora of the harnesses: make_seeds <folder> <demo.sim>. The document
// seeds are saved by the core's own save operations from experiments built as the
// dialogs build them; the text seeds are typical inputs of each harness. Each harness's
// seeds go to <folder>/<harness>.
#include <cstdio>
#include <filesystem>

#include "seeds/seed_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_seeds <folder> <demo.sim>\n");
    return 2;
  }
  const TSeedWriter seeds{std::filesystem::path(argv[1])};
  MakeDocumentSeeds(seeds);
  MakeSettingsSeeds(seeds);
  MakeMatSeeds(seeds);
  MakeTextSeeds(seeds, argv[2]);
  return 0;
}
