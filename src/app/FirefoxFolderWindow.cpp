#include "app/FirefoxFolderWindow.h"

#include "app/MainWindow.h"
#include "app/Paths.h"
#include "app/ProcessValues.h"

namespace bm {

namespace {

const Text kHint = "双击此编辑框可复制命令:about:support";
const Text kRefused = "未找到指定的火狐目录，请确认目录是否粘贴正确";
const uint32_t kHintColour = Rgb(192, 192, 192);
const uint32_t kTypedColour = Rgb(0, 0, 0);
const uint32_t kBoxBackground = Rgb(241, 239, 218);

std::vector<ControlSpec> BuildControls() {
  return {ControlLayout(编辑框_火狐变量目录, ControlKind::Edit, kHint, 6, 12, 624, 24, 0, {"等线", 14, 700}),
          ControlLayout(按钮_载入火狐目录, ControlKind::Button, "载入目录", 634, 11, 60, 26)};
}

// The pasted text without the blanks around it and, when it is quoted, without
// the pair of quotes and the blanks inside them (as Explorer's "copy as path" gives it).
Text TrimmedFolder(Platform& os, const Text& pasted) {
  const Text trimmed = os.PathRemoveBlanksA(pasted);
  if (trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"') {
    return os.PathRemoveBlanksA(trimmed.substr(1, trimmed.size() - 2));
  }
  return trimmed;
}

// "D:", "D:\" or "D:/": a whole drive, never a profile folder.
bool IsDriveRoot(const Text& path) {
  const bool letter = !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return letter && path.size() >= 2 && path[1] == ':' &&
         (path.size() == 2 || (path.size() == 3 && (path[2] == '\\' || path[2] == '/')));
}

// A folder Firefox made for a profile holds its bookmark database or its
// preferences file.
bool IsFirefoxProfileFolder(Platform& os, const Text& folder) {
  if (folder.empty() || IsDriveRoot(folder) || !FolderExists(os, folder)) return false;
  return FileExists(os, folder + "\\places.sqlite") || FileExists(os, folder + "\\prefs.js");
}

}  // namespace

WindowSpec FirefoxFolderWindowSpec() {
  return {FirefoxWindowId, "打开火狐浏览器输入about:support命令，将\"配置文件夹\"的值粘贴到下面输入框后载入", 50, 50, 715, 85};
}

const std::vector<ControlSpec>& FirefoxFolderWindowControls() {
  static const std::vector<ControlSpec> controls = BuildControls();
  return controls;
}

bool OpenFirefoxFolderWindow(Platform& os) {
  return os.ShowModalWindow(FirefoxFolderWindowSpec(), FirefoxFolderWindowControls(), MainWindowId);
}

void FirefoxFolderWindowCreatedHandler(Platform& os) {
  os.SetEditColors(编辑框_火狐变量目录, kHintColour, kBoxBackground);
}

void FirefoxFolderDoubleClickedHandler(Platform& os) {
  os.SetClipboardText("about:support");
  os.SetControlText(编辑框_火狐变量目录, Text());
  os.SetEditColors(编辑框_火狐变量目录, kTypedColour, kBoxBackground);
}

void FirefoxFolderLoadHandler(Platform& os) {
  const Text folder = TrimmedFolder(os, os.GetControlText(编辑框_火狐变量目录));
  if (IsFirefoxProfileFolder(os, folder)) {
    FirefoxProfileFolder = folder;
  } else {
    ShowStatus(os, kRefused);
  }
  os.CloseWindow(FirefoxWindowId);
}

bool RouteFirefoxFolderWindowEvent(Platform& os, int controlId, ControlEvent event) {
  if (controlId == 编辑框_火狐变量目录 && event == ControlEvent::DoubleClicked) {
    FirefoxFolderDoubleClickedHandler(os);
  } else if (controlId == 按钮_载入火狐目录 && event == ControlEvent::Clicked) {
    FirefoxFolderLoadHandler(os);
  } else {
    return false;
  }
  return true;
}

}  // namespace bm
