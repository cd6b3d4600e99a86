// UI tests run with one QApplication for the whole program, created only when tests
// run (listing the tests needs no display).
#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {

class TApplicationEnvironment : public ::testing::Environment {
public:
  TApplicationEnvironment(int& argc, char** argv) : Argc(argc), Argv(argv) {}
  void SetUp() override { Application = std::make_unique<QApplication>(Argc, Argv); }
  void TearDown() override { Application.reset(); }

private:
  int& Argc;
  char** Argv;
  std::unique_ptr<QApplication> Application;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new TApplicationEnvironment(argc, argv));
  return RUN_ALL_TESTS();
}
