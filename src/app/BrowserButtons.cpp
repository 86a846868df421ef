#include "app/BrowserButtons.h"

#include "app/Controls.h"
#include "app/FirefoxFolderWindow.h"
#include "app/MainWindow.h"
#include "app/OutcomeTexts.h"
#include "app/Paths.h"
#include "app/ProcessValues.h"
#include "util/RegistryObject.h"

namespace bm {

namespace {

struct BrowserButton {
  int controlId;
  BrowserId browser;
};

// Maxthon's one button serves its three generations.
const BrowserButton kBrowserButtons[] = {
    {超级按钮_谷歌浏览器, BrowserId::Chrome},       {超级按钮_IE浏览器, BrowserId::IE},
    {超级按钮_搜狗浏览器, BrowserId::Sogou},        {超级按钮_极速浏览器, BrowserId::TSBrowser},
    {超级按钮_猎豹浏览器, BrowserId::Liebao},       {超级按钮_Edge浏览器, BrowserId::Edge},
    {超级按钮_360极速浏览器, BrowserId::Speed360},  {超级按钮_360安全浏览器, BrowserId::Safe360},
    {超级按钮_360极速浏览器X, BrowserId::Speed360X}, {超级按钮_遨游浏览器, BrowserId::Maxthon7},
    {超级按钮_火狐浏览器, BrowserId::Firefox},
    {超级按钮_QQ浏览器, BrowserId::QQ},             {超级按钮_双核浏览器大, BrowserId::DualCoreLarge},
    {超级按钮_双核浏览器小, BrowserId::DualCoreSmall},
};

// The label side of a press: each outcome replaces the label or grows the
// press's summary; the chooser is the one fallback for a missing backup.
class LabelReporter : public PressReporter {
 public:
  LabelReporter(Platform& os, const PressContext& context) : os_(os), context_(context) {}

  void Tell(const Report& report) override {
    const Text text = OutcomeText(report);
    if (report.append) {
      summary_ += text;
      ShowStatus(os_, summary_);
    } else {
      ShowStatus(os_, text);
    }
  }

  Text ChooseBackupFolder() override {
    ShowStatus(os_, kNoBackupPickFolder);
    return ChooseFolder(os_, context_.drive);
  }

  void AskFirefoxProfileFolder() override { OpenFirefoxFolderWindow(os_); }

 private:
  Platform& os_;
  const PressContext& context_;
  Text summary_;
};

}  // namespace

const BrowserEntry* ButtonEntry(int controlId) {
  for (const BrowserButton& button : kBrowserButtons) {
    if (button.controlId == controlId) return &Entry(button.browser);
  }
  return nullptr;
}

PressContext TakePressContext(Platform& os, const BrowserEntry& entry) {
  PressContext context;
  // Every click counts, whatever the mode.
  if (entry.kind == BrowserKind::Firefox) ++FirefoxClickCount;
  context.firefox = {&FirefoxProfileFolder, &FirefoxClickCount};
  // The entries are listed on every press, before the mode is looked at.
  if (PressListsAppPaths(entry)) {
    context.appPathsCount = RegistryObject().EnumerateSubkeys(os, kAppPathsKey, context.appPathsNames);
  }
  context.mode = CurrentOperationMode(os);
  context.drive = SelectedDriveText(os);
  context.profileRoot = ProfileRoot(os);
  context.backupRoot = BackupRoot(os, context.drive);
  return context;
}

bool PressBrowserButton(Platform& os, int controlId) {
  const BrowserEntry* entry = ButtonEntry(controlId);
  if (entry == nullptr) return false;
  const PressContext context = TakePressContext(os, *entry);
  if (context.mode == OperationMode::None) {
    ShowStatus(os, kPickModeFirst);
    return true;
  }
  LabelReporter reporter(os, context);
  RunBrowserPress(os, context, *entry, reporter);
  return true;
}

}  // namespace bm
