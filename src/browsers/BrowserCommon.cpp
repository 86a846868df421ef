#include "browsers/BrowserCommon.h"

#include "app/Paths.h"

namespace bm {

const char kPickModeFirst[] = "请先点选备份或恢复按钮";
const char kNoBackupPickFolder[] = "未找到备份的书签文件,可手动指定目录";
const char kNoBackupFound[] = "未找到备份的书签文件";

Text BackupFailedText(const Text& name) {
  return name + "书签复制失败，请关闭" + name + "并确认备份位置可以写入";
}

Text RestoreFailedText(const Text& name) { return name + "书签恢复失败，请关闭" + name + "后重试"; }

bool CopyPresentFiles(Platform& os, const std::vector<FileCopy>& copies) {
  int copied = 0;
  bool allSucceeded = true;
  for (const FileCopy& copy : copies) {
    if (!FileExists(os, copy.from)) continue;
    if (CopyOneFile(os, copy.from, copy.to)) {
      ++copied;
    } else {
      allSucceeded = false;
    }
  }
  return allSucceeded && copied > 0;
}

}  // namespace bm
