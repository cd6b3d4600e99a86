// A fake port with a real main thread: the thread that made it. Hand-overs and posts from
// other threads wait in one queue, in the order they came, until the main thread serves
// them (a hand-over's caller waits meanwhile, a post's does not); messages are shown on
// the main thread, as the Qt port shows its boxes. On the main thread everything runs at
// once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "support/fake_ui_port.h"

class TServedUiPort : public TFakeUiPort {
public:
  void RunInMainThread(const std::function<void()>& fn) override {
    if (std::this_thread::get_id() == Main) {
      TFakeUiPort::RunInMainThread(fn);
      return;
    }
    std::exception_ptr error;
    bool done = false;
    {
      std::lock_guard guard(QueueLock);
      Queue.push_back([&] {
        try {
          TFakeUiPort::RunInMainThread(fn);
        } catch (...) {
          error = std::current_exception();
        }
        std::lock_guard served(QueueLock);
        done = true;
      });
    }
    Ready.notify_all();
    std::unique_lock lock(QueueLock);
    Ready.wait(lock, [&] { return done; });
    if (error) std::rethrow_exception(error);
  }
  void PostToMainThread(std::function<void()> fn) override {
    if (std::this_thread::get_id() == Main) {
      fn();
      return;
    }
    {
      std::lock_guard guard(QueueLock);
      Queue.push_back(std::move(fn));
    }
    Ready.notify_all();
  }
  void ShowMessage(const std::string& text, const std::string& caption,
                   TMessageKind kind) override {
    RunInMainThread([&] {
      if (OnMessage) OnMessage(text);
      TFakeUiPort::ShowMessage(text, caption, kind);
    });
  }

  // Serves until finished() answers true (asked before each call served and while none
  // waits); between calls, between() runs when given. May be called from a call served.
  void ServeUntil(const std::function<bool()>& finished,
                  const std::function<void()>& between = {}) {
    std::unique_lock lock(QueueLock);
    while (!finished()) {
      if (Queue.empty()) {
        Ready.wait_for(lock, std::chrono::milliseconds(2));
        continue;
      }
      std::function<void()> call = std::move(Queue.front());
      Queue.pop_front();
      lock.unlock();
      call();
      if (between) between();
      lock.lock();
      Ready.notify_all();
    }
  }
  // The calls waiting to be served.
  std::size_t Waiting() const {
    std::lock_guard guard(QueueLock);
    return Queue.size();
  }

  // Runs on the main thread as each message shows, before it is recorded.
  std::function<void(const std::string&)> OnMessage;
  const std::thread::id Main = std::this_thread::get_id();

private:
  mutable std::mutex QueueLock;
  std::condition_variable Ready;
  std::deque<std::function<void()>> Queue;
};
