#include "app/OneClickButtons.h"

#include "app/MainWindow.h"
#include "app/OutcomeTexts.h"
#include "app/Paths.h"
#include "app/ProcessValues.h"
#include "oneclick/OneClick.h"
#include "util/RegistryObject.h"
#include "util/TimedMessageBox.h"

namespace bm {

const char kOneClickRestoreDone[] = "完成收藏夹恢复";

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

}  // namespace

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
