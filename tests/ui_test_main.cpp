// UI tests run with one QApplication for the whole program, created only when tests
// run (listing the tests needs no display). HOME and the XDG configuration and data
// folders point at a temporary folder first, so that settings and file associations the
// tests write never reach the user's own.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

class TApplicationEnvironment : public ::testing::Environment {
public:
  TApplicationEnvironment(int& argc, char** argv) : Argc(argc), Argv(argv) {}
  void SetUp() override {
    Home = std::filesystem::temp_directory_path() / ("qorv_ui_home_" + std::to_string(::getpid()));
    std::filesystem::create_directories(Home);
    ::setenv("HOME", Home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (Home / ".config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (Home / ".local" / "share").c_str(), 1);
    Application = std::make_unique<QApplication>(Argc, Argv);
  }
  void TearDown() override {
    Application.reset();
    std::error_code ignored;
    std::filesystem::remove_all(Home, ignored);
  }

private:
  int& Argc;
  char** Argv;
  std::filesystem::path Home;
  std::unique_ptr<QApplication> Application;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new TApplicationEnvironment(argc, argv));
  return RUN_ALL_TESTS();
}
