// The Firefox button on the real program: every profile backed up, the
// rotating restore into the folder pasted into FirefoxFolderWindow, the
// double-click that leaves "about:support" on the clipboard, and no restore
// while Firefox holds the profile.
#include <windows.h>

#include <vector>

#include "../../src/app/Controls.h"
#include "e2e/Driver.h"

namespace bm::e2e {
namespace {

const char kProfiles[] = "~\\appdata\\Roaming\\Mozilla\\Firefox\\Profiles\\";
const char kWindowTitle[] = "打开火狐浏览器输入about:support命令，将\"配置文件夹\"的值粘贴到下面输入框后载入";

std::string Restored(int number) {
  return "已恢复备份书签（" + std::to_string(number) + "）到火狐浏览器，如书签内容有误，可再次点击";
}

// The sub-folders of a folder in the order the directory search gives them,
// which is the order the program numbers its backups in.
std::vector<std::string> Subfolders(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") {
      names.push_back(Gbk(name));
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

class Firefox : public Scenario {
 protected:
  std::string Profile(const char* name) { return std::string(kProfiles) + name; }
  std::string Backups() { return BackupRootOn("D:\\") + "\\火狐浏览器"; }
  void Press(int mode) {
    ASSERT_TRUE(app.Check(mode));
    ASSERT_TRUE(app.Click(bm::超级按钮_火狐浏览器));
  }
  // Pastes the profile folder into the window the restore opened and loads it.
  void LoadFolder(const std::string& folder) {
    ASSERT_NE(app.WaitForWindow(kWindowTitle), nullptr) << "FirefoxFolderWindow did not open";
    ASSERT_TRUE(app.SetText(bm::编辑框_火狐变量目录, "  " + folder + "  "));
    ASSERT_TRUE(app.Click(bm::按钮_载入火狐目录));
  }
};

TEST_F(Firefox, BackupOfTwoProfiles) {
  Put(Profile("e2e1.default\\places.sqlite"), "database one");
  Put(Profile("e2e2.work\\places.sqlite"), "database two");
  Put(Profile("e2e2.work\\places.sqlite-wal"), "log two");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.Start());
  Press(bm::单选框_备份);
  ASSERT_TRUE(app.WaitForText(bm::标签_文字, "已复制火狐浏览器书签到目录"));
  ASSERT_TRUE(app.Settle());
  EXPECT_TRUE(FileHolds(Backups() + "\\e2e1.default\\places.sqlite", "database one"));
  EXPECT_TRUE(FileHolds(Backups() + "\\e2e2.work\\places.sqlite", "database two"));
  EXPECT_TRUE(FileHolds(Backups() + "\\e2e2.work\\places.sqlite-wal", "log two"));
}

TEST_F(Firefox, TwoRestoreClicksTakeTheNewestBackupThenTheOneBefore) {
  Put(Profile("e2e.inuse\\places.sqlite"), "current");
  Put(BackupRootOn("D:\\") + "\\火狐浏览器\\e2e-a\\places.sqlite", "backup a");
  Put(BackupRootOn("D:\\") + "\\火狐浏览器\\e2e-b\\places.sqlite", "backup b");
  if (HasFatalFailure()) return;
  const std::vector<std::string> backups = Subfolders(Backups());
  ASSERT_EQ(backups.size(), 2u);
  ASSERT_TRUE(app.Start());
  Press(bm::单选框_恢复);
  LoadFolder(Expand(Profile("e2e.inuse")));
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.WaitForText(bm::标签_文字, Restored(2)));
  EXPECT_TRUE(FileHolds(Expand(Profile("e2e.inuse\\places.sqlite")), "backup " + backups[1].substr(4)));
  // The next click asks for nothing and steps one backup back.
  ASSERT_TRUE(app.Click(bm::超级按钮_火狐浏览器));
  ASSERT_TRUE(app.WaitForText(bm::标签_文字, Restored(1)));
  ASSERT_TRUE(app.Settle());
  EXPECT_EQ(app.WaitForWindow(kWindowTitle, 500), nullptr);
  EXPECT_TRUE(FileHolds(Expand(Profile("e2e.inuse\\places.sqlite")), "backup " + backups[0].substr(4)));
}

TEST_F(Firefox, ADoubleClickLeavesAboutSupportOnTheClipboard) {
  Put(Profile("e2e.inuse\\places.sqlite"), "current");
  Put(BackupRootOn("D:\\") + "\\火狐浏览器\\e2e-a\\places.sqlite", "backup a");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.Start());
  Press(bm::单选框_恢复);
  ASSERT_NE(app.WaitForWindow(kWindowTitle), nullptr);
  EXPECT_EQ(app.Text(bm::编辑框_火狐变量目录), "双击此编辑框可复制命令:about:support");
  ASSERT_TRUE(app.DoubleClick(bm::编辑框_火狐变量目录));
  ASSERT_TRUE(app.WaitForText(bm::编辑框_火狐变量目录, ""));
  EXPECT_EQ(ClipboardText(), "about:support");
  // The hint is no folder: refused, and nothing is restored.
  ASSERT_TRUE(app.Click(bm::按钮_载入火狐目录));
  ASSERT_TRUE(app.WaitForText(bm::标签_文字, "未找到指定的火狐目录，请确认目录是否粘贴正确"));
  ASSERT_TRUE(app.Settle());
  EXPECT_TRUE(FileHolds(Expand(Profile("e2e.inuse\\places.sqlite")), "current"));
}

TEST_F(Firefox, NoRestoreWhileFirefoxHoldsTheProfile) {
  Put(Profile("e2e.inuse\\places.sqlite"), "current");
  Put(Profile("e2e.inuse\\parent.lock"), "");
  Put(BackupRootOn("D:\\") + "\\火狐浏览器\\e2e-a\\places.sqlite", "backup a");
  if (HasFatalFailure()) return;
  HeldFile running(Expand(Profile("e2e.inuse\\parent.lock")));
  ASSERT_TRUE(running.IsHeld());
  ASSERT_TRUE(app.Start());
  Press(bm::单选框_恢复);
  LoadFolder(Expand(Profile("e2e.inuse")));
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.WaitForText(bm::标签_文字, "请先关闭火狐浏览器再恢复"));
  ASSERT_TRUE(app.Settle());
  EXPECT_TRUE(FileHolds(Expand(Profile("e2e.inuse\\places.sqlite")), "current"));
}

// The window whole on the screen, at the scaling of the run; with BM_SHOT set
// (the harness's screenshots at 100% and 200%) the screen is saved there.
TEST_F(Firefox, TheFolderWindowShowsWholeOverTheMainWindow) {
  Put(Profile("e2e.inuse\\places.sqlite"), "current");
  Put(BackupRootOn("D:\\") + "\\火狐浏览器\\e2e-a\\places.sqlite", "backup a");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(app.Start());
  Press(bm::单选框_恢复);
  HWND window = app.WaitForWindow(kWindowTitle);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetWindow(window, GW_OWNER), app.MainWindow());
  EXPECT_FALSE(IsWindowEnabled(app.MainWindow())) << "the main window takes input while the window is open";
  RECT frame{}, screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  GetWindowRect(window, &frame);
  EXPECT_TRUE(frame.left >= screen.left && frame.right <= screen.right && frame.bottom <= screen.bottom)
      << "the window runs off the screen";
  RECT client{};
  GetClientRect(window, &client);
  for (int id : {bm::编辑框_火狐变量目录, bm::按钮_载入火狐目录}) {
    RECT box{};
    GetWindowRect(app.Control(id), &box);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= client.right && box.bottom <= client.bottom)
        << "control " << id << " is cut off";
  }
  Sleep(1000);  // painted
  const std::string shot = Env("BM_SHOT");
  if (!shot.empty()) {
    EXPECT_TRUE(SaveScreenBmp(shot));
  }
}

}  // namespace
}  // namespace bm::e2e
