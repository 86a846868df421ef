#include "app/OutcomeTexts.h"

#include <cstdio>

namespace bm {

const char kPickModeFirst[] = "请先点选备份或恢复按钮";
const char kNoBackupPickFolder[] = "未找到备份的书签文件,可手动指定目录";
const char kNoBackupFound[] = "未找到备份的书签文件";

namespace {

Text RunningText(const Text& name) { return "请先关闭" + name + "再恢复"; }

Text NumberedRestoreText(const Text& name, int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", number);
  return "已恢复备份书签（" + Text(digits) + "）到" + name + "，如书签内容有误，可再次点击";
}

}  // namespace

Text OutcomeText(const Report& report) {
  const BrowserEntry& entry = *report.entry;
  const bool own = !report.wholeButton;
  const Text name = own ? entry.name : entry.caption;
  switch (report.outcome) {
    case Outcome::BackupDone:
      if (own && *entry.backupDoneText) return entry.backupDoneText;
      return "已复制" + name + "书签到指定目录";
    case Outcome::BackupFailed:
      return name + "书签复制失败，请关闭" + name + "并确认备份位置可以写入";
    case Outcome::NotFound:
      if (own && *entry.notFoundText) return entry.notFoundText;
      return "未找到" + name + "书签文件";
    case Outcome::NotInstalled:
      return "未找到" + name + "书签文件，请确认已安装" + name + "？";
    case Outcome::RestoreDone:
      if (report.number > 0) return NumberedRestoreText(name, report.number);
      return "已恢复备份书签到" + name;
    case Outcome::RestoreFailed:
      return name + "书签恢复失败，请关闭" + name + "后重试";
    case Outcome::NotDetected:
      if (own && *entry.notDetectedText) return entry.notDetectedText;
      return "未检测到" + name + "目录，请确认已安装并首次打开过" + name;
    case Outcome::NoBackupPickFolder:
      return kNoBackupPickFolder;
    case Outcome::NoBackupFound:
      return kNoBackupFound;
    case Outcome::BrowserRunning:
      return RunningText(name);
    case Outcome::RestoreAlone:
      return name + "请单独恢复";
  }
  return Text();
}

Text OneClickLine(const BrowserEntry& entry, Outcome outcome) {
  const Text name = entry.name;
  const Text lineEnd = &entry == &Catalogue().back() ? "" : "\r\n";
  switch (outcome) {
    case Outcome::BackupDone:
      return "已备份" + name + lineEnd;
    case Outcome::BackupFailed:
      return name + "备份失败" + lineEnd;
    case Outcome::RestoreDone:
      return "已恢复" + name + "收藏夹";
    case Outcome::RestoreFailed:
      return name + "收藏夹恢复失败";
    case Outcome::RestoreAlone:
      return name + "请单独恢复";
    case Outcome::BrowserRunning:
      return RunningText(name);
    default:
      return Text();
  }
}

}  // namespace bm
