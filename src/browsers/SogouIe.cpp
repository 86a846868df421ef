// PLACEHOLDER: replaced by the real handler.
#include "browsers/BrowserButtons.h"

namespace bm {

bool HandleSogouIeClick(Platform&, int) { return false; }

}  // namespace bm
