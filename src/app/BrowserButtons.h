// The single-browser buttons: which catalogue entry each button serves, what
// a press takes from the window, and the texts its outcomes show in 标签_文字.
#pragma once

#include "browsers/Procedures.h"

namespace bm {

extern const char kPickModeFirst[];       // "请先点选备份或恢复按钮"
extern const char kNoBackupPickFolder[];  // "未找到备份的书签文件,可手动指定目录"
extern const char kNoBackupFound[];       // "未找到备份的书签文件"

// The text an outcome shows.
Text OutcomeText(const Report& report);

// The entry a browser button serves; null for any other control.
const BrowserEntry* ButtonEntry(int controlId);

// The window's state at the start of a press: the mode, the drive, the roots
// and, for browsers found through App Paths, the listed entries.
PressContext TakePressContext(Platform& os, const BrowserEntry& entry);

// One press of a browser button; false for a control that is not one.
bool PressBrowserButton(Platform& os, int controlId);

}  // namespace bm
