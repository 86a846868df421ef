// PLACEHOLDER: replaced by the real handler.
#include "browsers/BrowserButtons.h"

namespace bm {

bool HandleFixedPathBrowserClick(Platform&, int) { return false; }

}  // namespace bm
