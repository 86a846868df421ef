// The two large buttons: every browser backed up, or restored, in one go.
#pragma once

#include "platform/Platform.h"

namespace bm {

extern const char kOneClickRestoreDone[];  // "完成收藏夹恢复"

// 一键恢复书签: from today's backup folder, or from one folder the user picks.
void OneClickRestoreHandler(Platform& os);

}  // namespace bm
