// The two large buttons: every browser backed up, or restored, in one go.
#pragma once

#include <atomic>

#include "platform/Platform.h"

namespace bm {

extern const char kOneClickBackupDone[];   // "完成书签备份"
extern const char kOneClickRestoreDone[];  // "完成收藏夹恢复"
extern const char kNoBackupRoot[];         // "无法创建备份文件夹，请确认所选盘符可用"

// 一键备份书签: one run at a time on a worker thread, into the folder of the
// drive and day the press saw. The button stays disabled until the run's
// notice has closed.
class OneClickBackup {
 public:
  explicit OneClickBackup(Platform& os) : os_(os) {}
  ~OneClickBackup() { WaitForEnd(); }
  OneClickBackup(const OneClickBackup&) = delete;
  OneClickBackup& operator=(const OneClickBackup&) = delete;

  // The click handler, on the window's thread; a press during a run starts nothing.
  void Press();
  // Asks a run to stop after the browser it is copying, and waits for it: the
  // window is gone, and the worker must not outlive the platform.
  void WaitForEnd();
  bool Running() const { return running_; }

 private:
  void Work(const Text& profileRoot, const Text& backupRoot);

  Platform& os_;
  ThreadHandle worker_ = 0;
  std::atomic<bool> running_{false};
  std::atomic<bool> stopping_{false};
};

// 一键恢复书签: from today's backup folder, or from one folder the user picks.
void OneClickRestoreHandler(Platform& os);

}  // namespace bm
