// PLACEHOLDER: replaced by the real handler.
#include "browsers/BrowserButtons.h"

namespace bm {

bool Handle360BrowserClick(Platform&, int) { return false; }

}  // namespace bm
