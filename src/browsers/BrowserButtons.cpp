#include "browsers/BrowserButtons.h"

namespace bm {

bool HandleBrowserButton(Platform& os, int controlId) {
  return HandleFixedPathBrowserClick(os, controlId) || HandleSogouIeClick(os, controlId) ||
         Handle360BrowserClick(os, controlId) || HandleMaxthonClick(os, controlId);
}

}  // namespace bm
