// Drives the real program from outside, as a user would: starts
// bookmark-backup.exe, finds its window and controls, checks radio buttons,
// presses buttons, picks a drive, reads the status label and answers the folder
// chooser. Also makes, compares and removes the files and App Paths entries a
// scenario needs, with plain Win32 calls.
//
// Every text here is a GBK byte string, as the program's own: this file is
// compiled with -fexec-charset=GBK, so a Chinese literal equals, byte for
// byte, what the program writes into its label.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace bm::e2e {

using Bytes = std::string;  // a file's contents

// ---- texts, paths and the date ------------------------------------------------
std::wstring Wide(const std::string& gbk);
std::string Gbk(const std::wstring& wide);

// The current user's profile folder, as the program finds it.
std::string ProfileFolder();
// Today's local date as "%d年%d月%d日".
std::string TodayText();
// The dated backup folder on a drive item ("D:\"): drive + "浏览器书签备份" + date.
std::string BackupRootOn(const std::string& drive);
// "~\..." stands for the profile folder; other paths are returned unchanged.
std::string Expand(const std::string& path);
// An environment variable of the run (empty when unset).
std::string Env(const char* name);

// ---- files ---------------------------------------------------------------------
bool PathExists(const std::string& path);
bool IsFolder(const std::string& path);
// Creates every missing folder of the path; the outermost one it created is
// returned (empty when none was needed), so a fixture can remove what it made.
std::string MakeFolders(const std::string& path, bool* ok = nullptr);
bool WriteFileBytes(const std::string& path, const Bytes& content);
std::optional<Bytes> ReadFileBytes(const std::string& path);
// Removes a file or a whole folder tree (read-only entries included); a link
// is removed without what it leads to.
void RemoveTree(const std::string& path);
// Everything below a folder as "relative path|size|write time" lines, sorted:
// two equal listings mean nothing was created, removed or rewritten. Links
// Windows reports as such are not followed; Wine reports its symbolic links
// as plain folders, so list the folders a scenario made, not the profile.
std::vector<std::string> ListTree(const std::string& folder);

// `path` holds exactly `expected`; otherwise says what it holds instead.
testing::AssertionResult FileHolds(const std::string& path, const Bytes& expected);

// The bytes of the file that lay at `originalPath` and is now in the Recycle
// Bin (Wine's trash; the newest when several); none when it is not there.
std::optional<Bytes> RecycledFile(const std::string& originalPath);

// The clipboard's text (as GBK), as another program would paste it.
std::string ClipboardText();

// Files whose names GBK cannot write, by their UTF-16 paths.
bool WriteFileBytesW(const std::wstring& path, const Bytes& content);
std::optional<Bytes> ReadFileBytesW(const std::wstring& path);

// Holds a file open with no sharing, as a running browser holds its profile
// (or, with `shareRead`, letting others read it, as Chromium holds "lockfile").
class HeldFile {
 public:
  explicit HeldFile(const std::string& path, bool shareRead = false);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool IsHeld() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// ---- the per-user App Paths key --------------------------------------------------
// HKCU\Software\Microsoft\Windows\CurrentVersion\App Paths\<exeName> with "Path".
bool SetAppPath(const std::string& exeName, const std::string& pathValue);
void RemoveAppPath(const std::string& exeName);

// ---- screenshots -----------------------------------------------------------------
// The whole screen as a 24-bit BMP.
bool SaveScreenBmp(const std::string& path);

// ---- the program -------------------------------------------------------------------
class App {
 public:
  App() = default;
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Starts the exe named by BM_EXE and waits for its main window.
  testing::AssertionResult Start();
  // WM_CLOSE, then waits for the process to end; ended by force if it hangs.
  void Close();
  bool Running() const;

  HWND MainWindow() const { return main_; }
  // A control by its id, at any depth below the main window or another window
  // of the program.
  HWND Control(int id) const;

  // The control's text (WM_GETTEXT), as GBK.
  std::string Text(int id) const;
  bool IsChecked(int id) const;

  // A user's click, posted so a handler that opens a modal dialog does not
  // block the driver.
  testing::AssertionResult Click(int id);
  // Clicks a radio button and waits until it shows checked.
  testing::AssertionResult Check(int id);
  // Picks item `index` of a combo box as a user does: the selection, then
  // CBN_SELCHANGE to its parent.
  testing::AssertionResult PickItem(int comboId, int index);
  // Picks a drive of 组合框_盘符 by its item text ("E:\").
  testing::AssertionResult PickDrive(const std::string& drive);

  // Waits (bounded) until the control's text equals `expected`.
  testing::AssertionResult WaitForText(int id, const std::string& expected, DWORD timeoutMs = kTimeoutMs);
  // Returns once the program's window thread has handled every message the
  // driver posted before (clicks, picks), with the handlers they ran.
  testing::AssertionResult Settle();

  bool IsEnabled(int id) const;
  // Waits (bounded) until the control is enabled, or disabled.
  testing::AssertionResult WaitForEnabled(int id, bool enabled = true, DWORD timeoutMs = kTimeoutMs) const;
  // A message box of the program titled `title`; null when none shows in time.
  HWND WaitForBox(const std::string& title, DWORD timeoutMs = kTimeoutMs) const;
  // Another visible top-level window of the program, by its title (and class).
  HWND WaitForWindow(const std::string& title, DWORD timeoutMs = kTimeoutMs,
                     const std::string& className = "") const;
  // WM_SETTEXT, as the driver's stand-in for a paste: a paste from another
  // process's clipboard does not reach an edit box across processes.
  testing::AssertionResult SetText(int id, const std::string& text);
  // A user's double-click on the control.
  testing::AssertionResult DoubleClick(int id);
  // Waits until the window is gone (closed or hidden).
  testing::AssertionResult WaitUntilGone(HWND window, DWORD timeoutMs = kTimeoutMs) const;

  // The folder chooser: waits for the program's "#32770" dialog.
  HWND WaitForChooser(DWORD timeoutMs = kTimeoutMs) const;
  // The name of the chooser's selected folder as its tree shows it (for a
  // drive, a name holding "D:"); empty when nothing is selected.
  std::string ChooserSelection(HWND chooser) const;
  // Presses OK (ok) or Cancel, and waits for the dialog to close. Before OK,
  // waits until the selected folder's name holds `expectSelected` (when
  // given), so the press answers the folder the program preselected.
  testing::AssertionResult AnswerChooser(bool ok, const std::string& expectSelected = "",
                                         DWORD timeoutMs = kTimeoutMs);

  static constexpr DWORD kTimeoutMs = 10000;
  static constexpr DWORD kPollMs = 50;

 private:
  HWND FindMainWindow() const;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

// ---- the base of every scenario ------------------------------------------------------
// Owns the program and everything a scenario made: the folders it created,
// the App Paths entries it wrote, and the contents of the drives D: and E:,
// which must be scratch drives made by the harness (BM_SCRATCH_DRIVES=1).
// Removes them after the scenario, and saves a screenshot named after a
// scenario that failed.
class Scenario : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a file ("~\..." below the profile), creating its folders.
  void Put(const std::string& path, const Bytes& content);
  void PutFolder(const std::string& path);
  void PutAppPath(const std::string& exeName, const std::string& pathValue);
  // Remembers a path to remove after the scenario.
  void Track(const std::string& path);

  App app;

 private:
  std::vector<std::string> made_;
  std::vector<std::string> appPaths_;
};

}  // namespace bm::e2e
