#include "support/ui/worker.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "shell/ui/qt_ui_port.h"

bool RunOnWorker(const std::function<void()>& body) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread worker([body, done] {
    body();
    *done = true;
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  WaitServingHandOvers([&] { return *done || std::chrono::steady_clock::now() > deadline; });
  if (!*done) {
    worker.detach();
    return false;
  }
  worker.join();
  return true;
}
