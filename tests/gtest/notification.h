// GoogleTest's thread start signal for the win32 thread model, whose C++
// library has no std::mutex or std::condition_variable: a manual-reset event.
// Included before every GoogleTest header of the Windows trees.
#pragma once

namespace testing::internal {

class Notification {
 public:
  Notification();
  ~Notification();
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify();
  void WaitForNotification();

 private:
  void* event_;
};

}  // namespace testing::internal
