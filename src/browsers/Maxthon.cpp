// PLACEHOLDER: replaced by the real handler.
#include "browsers/BrowserButtons.h"

namespace bm {

bool HandleMaxthonClick(Platform&, int) { return false; }

}  // namespace bm
