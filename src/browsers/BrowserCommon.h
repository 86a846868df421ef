// What the single-browser handlers share: the texts every one of them shows,
// and the copy of a browser's files that tells whether it really happened.
#pragma once

#include <vector>

#include "platform/Platform.h"

namespace bm {

extern const char kPickModeFirst[];        // "请先点选备份或恢复按钮"
extern const char kNoBackupPickFolder[];   // "未找到备份的书签文件,可手动指定目录"
extern const char kNoBackupFound[];        // "未找到备份的书签文件"

// Shown instead of the done text when a copy did not happen; `name` is the
// browser's name as its own messages write it.
Text BackupFailedText(const Text& name);   // "{name}书签复制失败，请关闭{name}并确认备份位置可以写入"
Text RestoreFailedText(const Text& name);  // "{name}书签恢复失败，请关闭{name}后重试"

struct FileCopy {
  Text from;
  Text to;
};

// Copies, in order, every file whose source exists (a browser's optional
// files, such as Chrome's Bookmarks.bak, may be missing). True when at least
// one file was copied and every copy that was attempted succeeded.
bool CopyPresentFiles(Platform& os, const std::vector<FileCopy>& copies);

}  // namespace bm
