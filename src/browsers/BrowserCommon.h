// What the single-browser handlers share: the texts every one of them shows,
// and the copy of a browser's files that tells whether it really happened.
#pragma once

#include <vector>

#include "platform/Platform.h"

namespace bm {

extern const char kPickModeFirst[];        // "请先点选备份或恢复按钮"
extern const char kNoBackupPickFolder[];   // "未找到备份的书签文件,可手动指定目录"
extern const char kNoBackupFound[];        // "未找到备份的书签文件"

// The outcome texts of one browser, `name` being the browser's name as its
// button (or, for a generation of a browser, its own texts) write it.
Text BookmarksNotFoundText(const Text& name);   // "未找到{name}书签文件"
Text BackupDoneText(const Text& name);          // "已复制{name}书签到指定目录"
Text BrowserNotDetectedText(const Text& name);  // "未检测到{name}目录，请确认已安装并首次打开过{name}"
Text RestoreDoneText(const Text& name);         // "已恢复备份书签到{name}"

// Shown instead of the done text when a copy did not happen.
Text BackupFailedText(const Text& name);   // "{name}书签复制失败，请关闭{name}并确认备份位置可以写入"
Text RestoreFailedText(const Text& name);  // "{name}书签恢复失败，请关闭{name}后重试"

struct FileCopy {
  Text from;
  Text to;
};

// `fromFolder` + fromPieces[i] to `toFolder` + toPieces[i], pairing the two
// lists in order (the shorter one decides how many).
std::vector<FileCopy> PairFiles(const Text& fromFolder, const std::vector<Text>& fromPieces, const Text& toFolder,
                                const std::vector<Text>& toPieces);

// Copies, in order, every file whose source exists (a browser's optional
// files, such as Chrome's Bookmarks.bak, may be missing). True when at least
// one file was copied and every copy that was attempted succeeded.
bool CopyPresentFiles(Platform& os, const std::vector<FileCopy>& copies);

}  // namespace bm
