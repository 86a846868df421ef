#include "app/MainWindow.h"

#include "app/FirefoxFolderWindow.h"
#include "app/Paths.h"
#include "app/ProcessValues.h"
#include "app/BrowserButtons.h"

namespace bm {

namespace {

const Text kExistingBackupWarning =
    "检测到已有备份文件夹，继续备份将删除原目录文件，请谨慎操作！";

FontSpec Bold16() { return {"微软雅黑", 16, 700}; }
FontSpec Status12() { return {"微软雅黑", 12, 400}; }
FontSpec Button14() { return {"等线", 14, 400}; }


// A browser button's caption, as the catalogue gives it.
Text Caption(BrowserId id) { return Entry(id).caption; }

std::vector<ControlSpec> BuildControls() {
  using K = ControlKind;
  std::vector<ControlSpec> c;
  c.push_back(ControlLayout(超级按钮_一键备份书签, K::Button, "一键备份书签", 12, 24, 110, 62, 0, Bold16()));
  c.push_back(ControlLayout(标签_文字, K::Label, "", 128, 8, 192, 112, 0, Status12()));
  c.push_back(ControlLayout(超级按钮_一键恢复书签, K::Button, "一键恢复书签", 322, 24, 110, 62, 0, Bold16()));
  c.push_back(ControlLayout(标签1, K::Label, "备份位置：", 13, 118, 56, 24));
  ControlSpec drives = ControlLayout(组合框_盘符, K::ComboBox, "", 69, 121, 43, 20);
  drives.items = {"D:\\", "E:\\", "F:\\", "G:\\", "H:\\", "I:\\", "J:\\", "K:\\"};
  c.push_back(drives);
  c.push_back(ControlLayout(单选框_备份, K::RadioButton, "备份", 130, 123, 48, 16));
  c.push_back(ControlLayout(单选框_恢复, K::RadioButton, "恢复", 192, 123, 48, 16));
  c.push_back(ControlLayout(分组框1, K::GroupBox, "", 12, 141, 420, 208));
  c.push_back(ControlLayout(超级按钮_谷歌浏览器, K::Button, Caption(BrowserId::Chrome), 6, 14, 130, 30, 分组框1, Button14()));
  c.push_back(ControlLayout(超级按钮_IE浏览器, K::Button, Caption(BrowserId::IE), 6, 52, 130, 30, 分组框1, Button14()));
  c.push_back(ControlLayout(超级按钮_搜狗浏览器, K::Button, Caption(BrowserId::Sogou), 6, 90, 130, 30, 分组框1, Button14()));
  c.push_back(ControlLayout(超级按钮_极速浏览器, K::Button, Caption(BrowserId::TSBrowser), 6, 128, 130, 30, 分组框1, Button14()));
  c.push_back(ControlLayout(超级按钮_猎豹浏览器, K::Button, Caption(BrowserId::Liebao), 6, 166, 130, 30, 分组框1, Button14()));
  c.push_back(ControlLayout(超级按钮_Edge浏览器, K::Button, Caption(BrowserId::Edge), 156, 156, 130, 30, 0, Button14()));
  c.push_back(ControlLayout(超级按钮_360极速浏览器, K::Button, Caption(BrowserId::Speed360), 156, 194, 130, 30, 0, Button14()));
  c.push_back(ControlLayout(超级按钮_360安全浏览器, K::Button, Caption(BrowserId::Safe360), 156, 232, 130, 30, 0, Button14()));
  c.push_back(ControlLayout(超级按钮_360极速浏览器X, K::Button, Caption(BrowserId::Speed360X), 156, 271, 130, 30, 0, Button14()));
  c.push_back(ControlLayout(超级按钮9, K::Button, "", 157, 310, 130, 30));
  c.push_back(ControlLayout(超级按钮_火狐浏览器, K::Button, Caption(BrowserId::Firefox), 293, 156, 130, 30, 0, Button14()));
  c.push_back(ControlLayout(超级按钮_遨游浏览器, K::Button, Caption(BrowserId::Maxthon7), 293, 194, 130, 30, 0, Button14()));
  c.push_back(ControlLayout(超级按钮_QQ浏览器, K::Button, Caption(BrowserId::QQ), 293, 232, 130, 30, 0, Button14()));
  c.push_back(ControlLayout(超级按钮_双核浏览器大, K::Button, Caption(BrowserId::DualCoreLarge), 293, 270, 130, 30, 0, Button14()));
  c.push_back(ControlLayout(超级按钮_双核浏览器小, K::Button, Caption(BrowserId::DualCoreSmall), 293, 310, 130, 30, 0, Button14()));
  return c;
}

// The warning when today's backup folder already exists on the selected drive.
bool TodaysBackupExists(Platform& os) { return FolderExists(os, BackupRoot(os, SelectedDriveText(os))); }

}  // namespace

WindowSpec MainWindowSpec() { return {MainWindowId, "浏览器书签备份与恢复", 50, 50, 449, 387}; }

const std::vector<ControlSpec>& MainWindowControls() {
  static const std::vector<ControlSpec> controls = BuildControls();
  return controls;
}

OperationMode CurrentOperationMode(Platform& os) {
  if (os.IsButtonChecked(单选框_备份)) return OperationMode::Backup;
  if (os.IsButtonChecked(单选框_恢复)) return OperationMode::Restore;
  return OperationMode::None;
}

Text SelectedDriveText(Platform& os) {
  return os.ComboItemText(组合框_盘符, os.ComboSelectedIndex(组合框_盘符));
}

void ShowStatus(Platform& os, const Text& text) { os.SetControlText(标签_文字, text); }

void WindowCreatedHandler(Platform& os) {
  os.ComboSelect(组合框_盘符, 0);
  if (TodaysBackupExists(os)) ShowStatus(os, kExistingBackupWarning);
}

void DriveSelectedHandler(Platform& os) {
  ShowStatus(os, TodaysBackupExists(os) ? kExistingBackupWarning : Text());
}

void ButtonClicked(Platform& os, int controlId) {
  if (controlId == 超级按钮_一键恢复书签) {
    OneClickRestoreHandler(os);
    return;
  }
  PressBrowserButton(os, controlId);
}

void MainWindowEvents::OnWindowCreated(int windowId) {
  if (windowId == MainWindowId) WindowCreatedHandler(os_);
  if (windowId == FirefoxWindowId) FirefoxFolderWindowCreatedHandler(os_);
}

void MainWindowEvents::OnControlEvent(int controlId, ControlEvent event) {
  if (RouteFirefoxFolderWindowEvent(os_, controlId, event)) return;
  if (controlId == 组合框_盘符 && event == ControlEvent::SelectionChanged) {
    DriveSelectedHandler(os_);
  } else if (controlId == 超级按钮_一键备份书签 && event == ControlEvent::Clicked) {
    backup_.Press();
  } else if (event == ControlEvent::Clicked) {
    ButtonClicked(os_, controlId);
  }
}

int RunApplication(Platform& os) {
  InitProcessValues(os);
  MainWindowEvents events(os);
  os.SetEventSink(&events);
  if (!os.CreateMainWindow(MainWindowSpec(), MainWindowControls())) return 0;
  os.RunMessageLoop();
  events.WindowClosed();
  os.SetEventSink(nullptr);
  return 0;
}

}  // namespace bm
