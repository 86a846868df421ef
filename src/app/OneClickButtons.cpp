#include "app/OneClickButtons.h"

#include "app/MainWindow.h"
#include "app/OutcomeTexts.h"
#include "app/Paths.h"
#include "app/ProcessValues.h"
#include "oneclick/OneClick.h"
#include "util/RegistryObject.h"
#include "util/TimedMessageBox.h"

namespace bm {

const char kOneClickBackupDone[] = "完成书签备份";
const char kOneClickRestoreDone[] = "完成收藏夹恢复";
const char kNoBackupRoot[] = "无法创建备份文件夹，请确认所选盘符可用";

namespace {

const char kNoBackupFolderPickOne[] = "未检测到备份文件夹，请更换盘符路径或手动选择目录！";
const char kNoFavouritesBackup[] = "未找到备份的收藏夹目录";
constexpr uint32_t kInformationOk = kMbOk | kMbIconInformation;

// The restore's summary grows in the label, row by row.
class RestoreLabel : public RowSink {
 public:
  explicit RestoreLabel(Platform& os) : os_(os) {}
  void Row(const BrowserEntry& entry, Outcome outcome) override {
    RestoreSummary += OneClickLine(entry, outcome);
    ShowStatus(os_, RestoreSummary);
  }

 private:
  Platform& os_;
};

// The backup's summary grows in the label, line by line, from the worker: each
// line is handed to the window's thread without waiting for it.
class BackupLabel : public RowSink {
 public:
  BackupLabel(Platform& os, const std::atomic<bool>& stopping) : os_(os), stopping_(stopping) {}
  void Row(const BrowserEntry& entry, Outcome outcome) override {
    BackupSummary += OneClickLine(entry, outcome);
    os_.PostControlText(标签_文字, BackupSummary);
  }
  bool Stopping() override { return stopping_; }

 private:
  Platform& os_;
  const std::atomic<bool>& stopping_;
};

}  // namespace

void OneClickBackup::Press() {
  if (running_) return;
  running_ = true;
  os_.EnableControl(超级按钮_一键备份书签, false);
  // One run, one folder: the drive and the day are taken now, once.
  const Text backupRoot = BackupRoot(os_, SelectedDriveText(os_));
  const Text profileRoot = ProfileRoot(os_);
  if (worker_ != 0) {
    // The last run has posted its end; its thread is at most returning.
    os_.WaitForThread(worker_, kInfinite);
    os_.CloseThread(worker_);
  }
  worker_ = os_.StartThread([this, profileRoot, backupRoot] { Work(profileRoot, backupRoot); });
  if (worker_ == 0) {
    running_ = false;
    os_.EnableControl(超级按钮_一键备份书签, true);
  }
}

void OneClickBackup::Work(const Text& profileRoot, const Text& backupRoot) {
  TextList appPathsNames;
  RegistryObject().EnumerateSubkeys(os_, kAppPathsKey, appPathsNames);
  BackupSummary.clear();
  BackupLabel label(os_, stopping_);
  switch (RunOneClickBackup(os_, profileRoot, backupRoot, appPathsNames, label)) {
    case OneClickBackupResult::Done:
      TimedMessageBox(os_, kOneClickBackupDone, kInformationOk, Text("提示"));
      break;
    case OneClickBackupResult::NoBackupRoot:
      os_.PostControlText(标签_文字, kNoBackupRoot);
      break;
    case OneClickBackupResult::Stopped:
      return;
  }
  // The button takes presses again once the notice has closed.
  os_.PostToWindowThread([this] {
    running_ = false;
    os_.EnableControl(超级按钮_一键备份书签, true);
  });
}

void OneClickBackup::WaitForEnd() {
  if (worker_ == 0) return;
  stopping_ = true;
  os_.WaitForThread(worker_, kInfinite);
  os_.CloseThread(worker_);
  worker_ = 0;
}

void OneClickRestoreHandler(Platform& os) {
  TextList appPathsNames;
  RegistryObject().EnumerateSubkeys(os, kAppPathsKey, appPathsNames);
  const Text drive = SelectedDriveText(os);
  Text source = BackupRoot(os, drive);
  RestoreSummary.clear();
  if (!FolderExists(os, source)) {
    ShowStatus(os, kNoBackupFolderPickOne);
    source = ChooseFolder(os, drive);
    // Cancelled, or nothing of the file system: nothing is restored, and the label keeps asking.
    if (source.empty()) return;
    if (FolderIsEmpty(os, source)) {
      ShowStatus(os, kNoFavouritesBackup);
      return;
    }
  }
  RestoreLabel label(os);
  if (RunOneClickRestore(os, ProfileRoot(os), source, appPathsNames, label) == 0) {
    ShowStatus(os, kNoFavouritesBackup);
    return;
  }
  TimedMessageBox(os, kOneClickRestoreDone, kInformationOk);
}

}  // namespace bm
