// The texts the program shows for what its procedures report.
#pragma once

#include "browsers/Procedures.h"

namespace bm {

extern const char kPickModeFirst[];       // "请先点选备份或恢复按钮"
extern const char kNoBackupPickFolder[];  // "未找到备份的书签文件,可手动指定目录"
extern const char kNoBackupFound[];       // "未找到备份的书签文件"

// A single-browser button's text for one outcome.
Text OutcomeText(const Report& report);

// A one-click row's line: the backup's lines end in CR LF but the last
// browser's; the restore's messages follow each other directly.
Text OneClickLine(const BrowserEntry& entry, Outcome outcome);

}  // namespace bm
