// The click handlers of the single-browser buttons. Each module answers for
// its own buttons and returns false for a control that is not one of them.
#pragma once

#include "platform/Platform.h"

namespace bm {

// Google Chrome, Edge, QQ, 极速, 猎豹, 双核大 and 双核小.
bool HandleFixedPathBrowserClick(Platform& os, int controlId);
// 搜狗浏览器 and IE浏览器.
bool HandleSogouIeClick(Platform& os, int controlId);
// The three 360 browsers.
bool Handle360BrowserClick(Platform& os, int controlId);
// 遨游浏览器: Maxthon 3, 5 and 7 in one press.
bool HandleMaxthonClick(Platform& os, int controlId);

// Offers the click to each module in turn; false when none handled it.
bool HandleBrowserButton(Platform& os, int controlId);

}  // namespace bm
