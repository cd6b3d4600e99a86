// make_demo: writes the demo experiment (demo_experiment.h) as an experiment file.
//
//   make_demo <experiment file> <data folder>
//
// The data folder is made when missing; the demo writes its data file there. The build
// runs this program, so that the demo it ships is always written in the format of the
// core it was built with. Anything the core shows on the way fails the program.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "examples/demo_experiment.h"
#include "model/ui_port.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_demo <experiment file> <data folder>\n");
    return 2;
  }
  // The console port prints what the core shows; a demo that shows anything while it is
  // built is broken.
  int status = 0;
  try {
    const std::filesystem::path folder = std::filesystem::absolute(argv[2]);
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure) {
      std::fprintf(stderr, "make_demo: %s: %s\n", folder.c_str(), failure.message().c_str());
      status = 1;
    } else {
      TDemoSettings settings;
      settings.DataDirectory = folder.string();
      TDemoExperiment demo(settings);
      std::string error;
      if (!demo.Save(argv[1], error)) {
        std::fprintf(stderr, "make_demo: %s: %s\n", argv[1], error.c_str());
        status = 1;
      }
    }
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "make_demo: %s\n", failure.what());
    status = 1;
  }
  if (status == 0 && ConsoleMessagesShown() > 0) {
    std::remove(argv[1]);
    status = 1;
  }
  return status;
}
