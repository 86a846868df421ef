#include "browsers/BrowserCommon.h"

#include <algorithm>

#include "app/Paths.h"

namespace bm {

const char kPickModeFirst[] = "请先点选备份或恢复按钮";
const char kNoBackupPickFolder[] = "未找到备份的书签文件,可手动指定目录";
const char kNoBackupFound[] = "未找到备份的书签文件";

Text BookmarksNotFoundText(const Text& name) { return "未找到" + name + "书签文件"; }

Text BackupDoneText(const Text& name) { return "已复制" + name + "书签到指定目录"; }

Text BrowserNotDetectedText(const Text& name) {
  return "未检测到" + name + "目录，请确认已安装并首次打开过" + name;
}

Text RestoreDoneText(const Text& name) { return "已恢复备份书签到" + name; }

Text BackupFailedText(const Text& name) {
  return name + "书签复制失败，请关闭" + name + "并确认备份位置可以写入";
}

Text RestoreFailedText(const Text& name) { return name + "书签恢复失败，请关闭" + name + "后重试"; }

std::vector<FileCopy> PairFiles(const Text& fromFolder, const std::vector<Text>& fromPieces, const Text& toFolder,
                                const std::vector<Text>& toPieces) {
  std::vector<FileCopy> copies;
  const size_t count = std::min(fromPieces.size(), toPieces.size());
  for (size_t i = 0; i < count; ++i) copies.push_back({fromFolder + fromPieces[i], toFolder + toPieces[i]});
  return copies;
}

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
