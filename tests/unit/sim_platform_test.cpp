// The knobs of the simulated Windows do what the tests above the seam rely on.
#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"

namespace bm {
namespace {

class SimFiles : public ::testing::Test {
 protected:
  SimPlatform os;
};

TEST_F(SimFiles, NamesCompareIgnoringCaseOnTheWideFormNotOnGbkBytes) {
  ASSERT_TRUE(os.WriteFile("D:\\备份\\Bookmarks", "data"));
  EXPECT_EQ(os.ReadFile("d:\\备份\\BOOKMARKS"), Text("data"));
  // "\x81\x5C" and "\x81\x7C" differ only in a trail byte that folding ASCII
  // bytes would confuse with '\' or '|'; "\xB0\x61"/"\xB0\x41" differ in a
  // trail byte that is an ASCII letter. Each is a different character.
  ASSERT_TRUE(os.WriteFile("D:\\\xB0\x61", "one"));
  ASSERT_TRUE(os.WriteFile("D:\\\xB0\x41", "two"));
  EXPECT_EQ(os.ReadFile("D:\\\xB0\x61"), Text("one"));
  EXPECT_EQ(os.ReadFile("D:\\\xB0\x41"), Text("two"));
  ASSERT_TRUE(os.WriteFile("D:\\\x81\x5C\\inner.txt", "x"));
  EXPECT_TRUE(os.IsFolder("D:\\\x81\x5C"));
  EXPECT_FALSE(os.IsFolder("D:\\\x81"));
}

TEST_F(SimFiles, HeldOpenFileCannotBeCopiedFromOrOnto) {
  ASSERT_TRUE(os.WriteFile("C:\\p\\Bookmarks", "live"));
  ASSERT_TRUE(os.WriteFile("D:\\b\\Bookmarks", "old"));
  os.HoldOpen("C:\\P\\bookmarks");
  EXPECT_FALSE(os.CopyFileA("C:\\p\\Bookmarks", "D:\\b\\Bookmarks", false));
  EXPECT_EQ(os.ReadFile("D:\\b\\Bookmarks"), Text("old"));
  os.HoldOpen("D:\\b\\Bookmarks");
  os.HoldOpen("C:\\p\\Bookmarks", false);
  EXPECT_FALSE(os.CopyFileA("C:\\p\\Bookmarks", "D:\\b\\Bookmarks", false));
  os.HoldOpen("D:\\b\\Bookmarks", false);
  EXPECT_TRUE(os.CopyFileA("C:\\p\\Bookmarks", "D:\\b\\Bookmarks", false));
  EXPECT_EQ(os.ReadFile("D:\\b\\Bookmarks"), Text("live"));
}

TEST_F(SimFiles, CopyFailsForEachReasonWindowsHas) {
  ASSERT_TRUE(os.WriteFile("C:\\src.txt", "s"));
  ASSERT_TRUE(os.WriteFile("D:\\ro.txt", "r", kAttrReadOnly));
  ASSERT_TRUE(os.WriteFile("D:\\there.txt", "t"));
  struct Case {
    const char* from;
    const char* to;
    bool failIfExists;
  } cases[] = {
      {"C:\\missing.txt", "D:\\a.txt", false},  // no source
      {"C:\\src.txt", "D:\\nofolder\\a.txt", false},  // target folder missing
      {"C:\\src.txt", "D:\\ro.txt", false},     // read-only target
      {"C:\\src.txt", "D:\\there.txt", true},   // fail-if-exists
      {"C:\\src.txt", "Q:\\a.txt", false},      // no such drive
      {"C:\\", "D:\\a.txt", false},             // a folder is no source
  };
  for (const Case& c : cases) EXPECT_FALSE(os.CopyFileA(c.from, c.to, c.failIfExists)) << c.from << " -> " << c.to;
  EXPECT_EQ(os.ReadFile("D:\\ro.txt"), Text("r"));
  EXPECT_EQ(os.ReadFile("D:\\there.txt"), Text("t"));
  EXPECT_FALSE(os.IsFile("D:\\a.txt"));
}

TEST_F(SimFiles, CopyKeepsTheSourceAttributes) {
  ASSERT_TRUE(os.WriteFile("C:\\ro.txt", "r", kAttrReadOnly | kAttrArchive));
  ASSERT_TRUE(os.CopyFileA("C:\\ro.txt", "D:\\ro.txt", false));
  EXPECT_EQ(os.AttributesOf("D:\\ro.txt"), kAttrReadOnly | kAttrArchive);
  EXPECT_FALSE(os.CopyFileA("C:\\ro.txt", "D:\\ro.txt", false));  // now read-only itself
}

TEST_F(SimFiles, ReadOnlyOrMissingDriveRefusesNewFolders) {
  os.SetDriveReadOnly('D', true);
  EXPECT_FALSE(os.CreateDirectoryW(u"D:\\新建"));
  EXPECT_FALSE(os.IsFolder("D:\\新建"));
  os.SetDriveReadOnly('D', false);
  EXPECT_TRUE(os.CreateDirectoryW(u"D:\\新建"));
  EXPECT_TRUE(os.IsFolder("D:\\新建"));
  EXPECT_FALSE(os.CreateDirectoryA("D:\\新建"));  // exists already
  EXPECT_FALSE(os.CreateDirectoryA("E:\\x"));
  os.RemoveDrive('D');
  EXPECT_FALSE(os.IsFolder("D:\\新建"));
}

TEST_F(SimFiles, DirectorySearchListsDotsFirstThenNamesIgnoringCase) {
  ASSERT_TRUE(os.WriteFile("D:\\f\\b.txt", ""));
  ASSERT_TRUE(os.WriteFile("D:\\f\\A", ""));
  ASSERT_TRUE(os.MakeFolders("D:\\f\\C"));
  FindData found;
  std::vector<Text> names;
  const SearchHandle search = os.FindFirstFileA("D:\\f\\*.*", found);
  ASSERT_NE(search, 0u);
  do names.push_back(found.name);
  while (os.FindNextFileA(search, found));
  os.FindClose(search);
  EXPECT_EQ(names, (std::vector<Text>{".", "..", "A", "b.txt", "C"}));
  EXPECT_EQ(os.FindFirstFileA("D:\\f\\", found), 0u);
  EXPECT_EQ(os.FindFirstFileA("D:\\nothere\\*", found), 0u);
}

TEST_F(SimFiles, DumpListsEveryFolderAndFile) {
  ASSERT_TRUE(os.WriteFile("D:\\a\\b.txt", "hi"));
  EXPECT_EQ(os.DumpFiles(), "D:\\a\\\nD:\\a\\b.txt=hi\n");
}

}  // namespace
}  // namespace bm

namespace bm {
namespace {

// ---- registry --------------------------------------------------------------------

class SimRegistry : public ::testing::Test {
 protected:
  RegKey Hkcu() { return os.RegRootKey(RegRoot::CurrentUser); }
  SimPlatform os;
};

TEST_F(SimRegistry, KnobsAndSeamSeeTheSameKeys) {
  ASSERT_TRUE(os.SetRegText(RegRoot::CurrentUser, "Software\\App Paths\\360se6.exe", "Path", "C:\\360\\安全"));
  RegKey key = 0;
  ASSERT_EQ(os.RegOpenKeyA(Hkcu(), "software\\APP PATHS\\360SE6.EXE", key), kErrorSuccess);
  EXPECT_EQ(os.OpenRegKeyCount(), 1);
  uint32_t type = 0, size = 0;
  ASSERT_EQ(os.RegQueryValueExA(key, "PATH", type, nullptr, size), kErrorSuccess);
  EXPECT_EQ(size, Text("C:\\360\\安全").size() + 1);
  EXPECT_EQ(os.RegSetValueExA(key, "Extra", kRegDword, reinterpret_cast<const uint8_t*>("\1\0\0\0"), 4),
            kErrorSuccess);
  EXPECT_EQ(os.RegCloseKey(key), kErrorSuccess);
  EXPECT_EQ(os.OpenRegKeyCount(), 0);
  EXPECT_EQ(os.RegCloseKey(key), 6) << "closed twice";
  EXPECT_EQ(os.RegValueType(RegRoot::CurrentUser, "Software\\App Paths\\360se6.exe", "extra"), kRegDword);
  EXPECT_EQ(os.RegValueData(RegRoot::CurrentUser, "Software\\App Paths\\360se6.exe", "Extra"),
            (Bytes{1, 0, 0, 0}));
  EXPECT_EQ(os.RegSubkeyNames(RegRoot::CurrentUser, "Software"), std::vector<Text>{"App Paths"});
  EXPECT_FALSE(os.RegKeyExists(RegRoot::LocalMachine, "Software\\App Paths"));
}

TEST_F(SimRegistry, DeniedKeyCannotBeOpenedButIsListed) {
  os.CreateRegKey(RegRoot::CurrentUser, "Software\\Open");
  os.DenyRegKey(RegRoot::CurrentUser, "Software\\Locked");
  RegKey key = 0;
  EXPECT_EQ(os.RegOpenKeyA(Hkcu(), "Software\\Locked", key), kErrorAccessDenied);
  EXPECT_EQ(os.RegOpenKeyExA(Hkcu(), "Software\\Locked", kKeyRead, key), kErrorAccessDenied);
  EXPECT_EQ(os.RegCreateKeyA(Hkcu(), "Software\\Locked", key), kErrorAccessDenied);
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(os.RegSubkeyNames(RegRoot::CurrentUser, "Software"), (std::vector<Text>{"Locked", "Open"}));
  EXPECT_EQ(os.OpenRegKeyCount(), 0);
  os.DenyRegKey(RegRoot::CurrentUser, "Software\\Locked", false);
  EXPECT_EQ(os.RegOpenKeyA(Hkcu(), "Software\\Locked", key), kErrorSuccess);
  os.RegCloseKey(key);
}

TEST_F(SimRegistry, HandlesCarryTheirAccess) {
  os.CreateRegKey(RegRoot::CurrentUser, "Software\\K\\child");
  RegKey readOnly = 0, writeOnly = 0;
  ASSERT_EQ(os.RegOpenKeyExA(Hkcu(), "Software\\K", kKeyRead, readOnly), kErrorSuccess);
  ASSERT_EQ(os.RegOpenKeyExA(Hkcu(), "Software\\K", kKeyWrite, writeOnly), kErrorSuccess);
  EXPECT_EQ(os.RegSetValueExA(readOnly, "v", kRegBinary, nullptr, 0), kErrorAccessDenied);
  Text name;
  EXPECT_EQ(os.RegEnumKeyA(writeOnly, 0, 256, name), kErrorAccessDenied);
  EXPECT_EQ(os.RegEnumKeyA(readOnly, 0, 256, name), kErrorSuccess);
  EXPECT_EQ(os.RegSetValueExA(writeOnly, "v", kRegBinary, nullptr, 0), kErrorSuccess);
  os.RegCloseKey(readOnly);
  os.RegCloseKey(writeOnly);
}

TEST_F(SimRegistry, DeletedKeyLeavesItsHandlesStale) {
  os.CreateRegKey(RegRoot::CurrentUser, "Software\\Gone");
  RegKey key = 0;
  ASSERT_EQ(os.RegOpenKeyA(Hkcu(), "Software\\Gone", key), kErrorSuccess);
  EXPECT_EQ(os.RegDeleteKeyA(Hkcu(), "Software\\Gone"), kErrorSuccess);
  Text name;
  EXPECT_EQ(os.RegEnumKeyA(key, 0, 256, name), 1018);
  EXPECT_EQ(os.RegCloseKey(key), kErrorSuccess);
  EXPECT_FALSE(os.RegKeyExists(RegRoot::CurrentUser, "Software\\Gone"));
  EXPECT_EQ(os.RegDeleteKeyA(Hkcu(), ""), kErrorAccessDenied) << "a root stays";
}

TEST_F(SimRegistry, RenameRefusesTakenNamesAndAMissingExport) {
  os.CreateRegKey(RegRoot::CurrentUser, "Software\\a");
  os.CreateRegKey(RegRoot::CurrentUser, "Software\\b");
  RegKey key = 0;
  ASSERT_EQ(os.RegOpenKeyA(Hkcu(), "Software\\a", key), kErrorSuccess);
  EXPECT_NE(os.NtRenameKey(key, u"B"), 0);
  EXPECT_NE(os.NtRenameKey(key, u"A"), 0) << "its own name counts as taken";
  EXPECT_NE(os.NtRenameKey(key, u"x\\y"), 0);
  os.SetNtRenameKeyAvailable(false);
  EXPECT_NE(os.NtRenameKey(key, u"c"), 0);
  os.SetNtRenameKeyAvailable(true);
  EXPECT_EQ(os.NtRenameKey(key, u"c"), 0);
  EXPECT_EQ(os.RegSubkeyNames(RegRoot::CurrentUser, "Software"), (std::vector<Text>{"b", "c"}));
  os.RegCloseKey(key);
}

TEST_F(SimRegistry, ValuesEnumerateInCreationOrder) {
  os.SetRegText(RegRoot::CurrentUser, "K", "zeta", "1");
  os.SetRegText(RegRoot::CurrentUser, "K", "alpha", "2");
  os.SetRegText(RegRoot::CurrentUser, "K", "ZETA", "3");  // replaces, keeps its place
  RegKey key = 0;
  ASSERT_EQ(os.RegOpenKeyA(Hkcu(), "K", key), kErrorSuccess);
  std::vector<Text> names;
  Text name;
  uint32_t type = 0, size = 0;
  for (uint32_t i = 0; os.RegEnumValueA(key, i, 256, name, type, nullptr, size) == kErrorSuccess; ++i)
    names.push_back(name);
  EXPECT_EQ(names, (std::vector<Text>{"zeta", "alpha"}));
  EXPECT_EQ(os.RegValueData(RegRoot::CurrentUser, "K", "zeta"), (Bytes{'3', 0}));
  os.RegCloseKey(key);
}

// ---- shell ------------------------------------------------------------------------

class SimShell : public ::testing::Test {
 protected:
  int Delete(const WideText& path, uint16_t flags) {
    bool aborted = true;
    const int result = os.SHFileOperationW(kFoDelete, path + WideText(2, u'\0'), WideText(), flags, aborted);
    EXPECT_FALSE(aborted);
    return result;
  }
  SimPlatform os;
};

TEST_F(SimShell, DeleteWithUndoFillsTheBinAndRecordsTheCall) {
  ASSERT_TRUE(os.WriteFile("D:\\备份\\旧.txt", "old", kAttrHidden));
  ASSERT_TRUE(os.WriteFile("D:\\备份\\sub\\in.txt", "in"));
  EXPECT_EQ(Delete(u"D:\\备份\\旧.txt", kFofAllowUndo | kFofNoConfirmation), 0);
  EXPECT_EQ(Delete(u"D:\\备份\\sub", kFofAllowUndo), 0);
  ASSERT_EQ(os.RecycleBin().size(), 2u);
  EXPECT_EQ(os.RecycleBin()[0].originalPath, "D:\\备份\\旧.txt");
  EXPECT_EQ(os.RecycleBin()[0].content, "old");
  EXPECT_EQ(os.RecycleBin()[0].attributes, kAttrHidden);
  EXPECT_FALSE(os.RecycleBin()[0].folder);
  EXPECT_TRUE(os.RecycleBin()[1].folder);
  EXPECT_EQ(os.DumpFiles(), "D:\\备份\\\n");
  ASSERT_EQ(os.ShellCalls().size(), 2u);
  EXPECT_EQ(os.ShellCalls()[0].operation, kFoDelete);
  EXPECT_EQ(os.ShellCalls()[0].flags, kFofAllowUndo | kFofNoConfirmation);
  EXPECT_EQ(os.ShellCalls()[0].from, WideText(u"D:\\备份\\旧.txt\0\0", 13));
}

TEST_F(SimShell, DeleteWithoutUndoLeavesTheBinEmpty) {
  ASSERT_TRUE(os.WriteFile("D:\\a.txt", "a"));
  EXPECT_EQ(Delete(u"D:\\a.txt", kFofNoConfirmation), 0);
  EXPECT_FALSE(os.IsFile("D:\\a.txt"));
  EXPECT_TRUE(os.RecycleBin().empty());
}

TEST_F(SimShell, DeleteFailures) {
  ASSERT_TRUE(os.WriteFile("D:\\held\\Bookmarks", "b"));
  os.HoldOpen("D:\\held\\Bookmarks");
  EXPECT_NE(Delete(u"D:\\held\\Bookmarks", kFofAllowUndo), 0);
  EXPECT_NE(Delete(u"D:\\held", kFofAllowUndo), 0) << "a folder holding an open file";
  EXPECT_NE(Delete(u"D:\\missing.txt", kFofAllowUndo), 0);
  ASSERT_TRUE(os.WriteFile("C:\\ro.txt", "r"));
  os.SetDriveReadOnly('C', true);
  EXPECT_NE(Delete(u"C:\\ro.txt", kFofAllowUndo), 0);
  EXPECT_TRUE(os.IsFile("C:\\ro.txt"));
  EXPECT_TRUE(os.IsFile("D:\\held\\Bookmarks"));
  EXPECT_TRUE(os.RecycleBin().empty());
  EXPECT_EQ(os.ShellCalls().size(), 4u);
}

TEST_F(SimShell, WildcardDeletesEveryMatch) {
  ASSERT_TRUE(os.WriteFile("D:\\f\\a.txt", "a"));
  ASSERT_TRUE(os.WriteFile("D:\\f\\b.TXT", "b"));
  ASSERT_TRUE(os.WriteFile("D:\\f\\c.html", "c"));
  EXPECT_EQ(Delete(u"D:\\f\\*.txt", kFofAllowUndo), 0);
  EXPECT_EQ(os.DumpFiles(), "D:\\f\\\nD:\\f\\c.html=c\n");
  EXPECT_EQ(os.RecycleBin().size(), 2u);
}

// ---- message boxes and top-level windows ------------------------------------------------

TEST(SimMessageBoxes, RecordedWithTheSetResultOrUnavailable) {
  SimPlatform os;
  EXPECT_EQ(os.MessageBoxTimeoutA(7, "完成", "提示", kMbOk | kMbIconInformation, 0, 5000), 1);
  os.SetMessageBoxResult(32000);
  EXPECT_EQ(os.MessageBoxTimeoutA(0, "t", "", kMbOk, 0, 1), 32000);
  ASSERT_EQ(os.MessageBoxes().size(), 2u);
  EXPECT_EQ(os.MessageBoxes()[0].owner, 7u);
  EXPECT_EQ(os.MessageBoxes()[0].text, "完成");
  EXPECT_EQ(os.MessageBoxes()[0].title, "提示");
  EXPECT_EQ(os.MessageBoxes()[0].style, kMbOk | kMbIconInformation);
  EXPECT_EQ(os.MessageBoxes()[0].timeoutMs, 5000u);
  os.SetMessageBoxTimeoutAvailable(false);
  EXPECT_EQ(os.MessageBoxTimeoutA(0, "x", "y", kMbOk, 0, 1), 0);
  EXPECT_EQ(os.MessageBoxes().size(), 2u) << "no box was shown";
}

TEST(SimWindows, FindWindowExWalksTheZOrder) {
  SimPlatform os;
  const WindowHandle middle = os.AddTopLevelWindow(99, true, 0, "Other", "别的");
  const WindowHandle front = os.AddTopLevelWindow(os.ProcessId(), false, 0, "Mine", "");
  const WindowHandle back = os.AddTopLevelWindow(os.ProcessId(), true, front, "Owned", "", false);
  std::vector<WindowHandle> walk;
  for (WindowHandle w = os.FindWindowExA(0); w != 0 && walk.size() < 10; w = os.FindWindowExA(w)) walk.push_back(w);
  EXPECT_EQ(walk, (std::vector<WindowHandle>{front, middle, back}));
  EXPECT_FALSE(os.IsWindowVisible(front));
  os.SetWindowVisible(front, true);
  EXPECT_TRUE(os.IsWindowVisible(front));
  EXPECT_EQ(os.GetWindowThreadProcessId(middle), 99u);
  EXPECT_EQ(os.GetParent(back), front);
  EXPECT_EQ(os.GetClassNameA(middle), "Other");
  EXPECT_EQ(os.GetWindowTextW(middle), u"别的");
  EXPECT_EQ(os.FindWindowExA(12345), 0u) << "not a window";
}

// ---- commands ----------------------------------------------------------------------------

class SimCommands : public ::testing::Test {
 protected:
  Text Drain(ProcessHandle process, int& pieces) {
    Text output;
    pieces = 0;
    for (int polls = 0; polls < 1000; ++polls) {
      const long waiting = os.PeekCapturedOutput(process);
      if (waiting < 0) break;
      if (waiting == 0) {
        if (!os.IsCapturedProcessRunning(process)) break;
        continue;
      }
      const Bytes piece = os.ReadCapturedOutput(process, static_cast<uint32_t>(waiting));
      output.append(piece.begin(), piece.end());
      ++pieces;
    }
    return output;
  }
  SimPlatform os;
};

TEST_F(SimCommands, OutputArrivesChunkByChunkThenThePipeBreaks) {
  os.OnStartProcess([](const WideText& program, const WideText&) {
    SimCommand command;
    command.output = program == u"C:\\Windows\\system32\\cmd.exe" ? "0123456789" : "";
    command.chunkSize = 4;
    return command;
  });
  const ProcessHandle process = os.StartCapturedProcessW(u"C:\\Windows\\system32\\cmd.exe", u" /c reg query x");
  ASSERT_NE(process, 0u);
  int pieces = 0;
  EXPECT_EQ(Drain(process, pieces), "0123456789");
  EXPECT_EQ(pieces, 3);
  EXPECT_FALSE(os.IsCapturedProcessRunning(process));
  EXPECT_EQ(os.PeekCapturedOutput(process), -1);
  os.CloseCapturedProcess(process);
  ASSERT_EQ(os.StartedProcesses().size(), 1u);
  EXPECT_EQ(os.StartedProcesses()[0].commandLine, u" /c reg query x");
}

TEST_F(SimCommands, ByDefaultACommandPrintsNothingAndEnds) {
  const ProcessHandle process = os.StartCapturedProcessW(u"cmd.exe", u" /c echo");
  ASSERT_NE(process, 0u);
  EXPECT_FALSE(os.IsCapturedProcessRunning(process));
  EXPECT_EQ(os.PeekCapturedOutput(process), -1);
  os.CloseCapturedProcess(process);
}

TEST_F(SimCommands, ACommandThatNeverEndsRunsUntilTerminated) {
  os.OnStartProcess([](const WideText&, const WideText&) {
    SimCommand command;
    command.output = "waiting";
    command.neverEnds = true;
    return command;
  });
  const ProcessHandle process = os.StartCapturedProcessW(u"cmd.exe", u" /c pause");
  ASSERT_EQ(os.PeekCapturedOutput(process), 7);
  EXPECT_EQ(os.ReadCapturedOutput(process, 100), (Bytes{'w', 'a', 'i', 't', 'i', 'n', 'g'}));
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(os.PeekCapturedOutput(process), 0);
    EXPECT_TRUE(os.IsCapturedProcessRunning(process));
  }
  os.TerminateCapturedProcess(process);
  EXPECT_FALSE(os.IsCapturedProcessRunning(process));
  EXPECT_EQ(os.PeekCapturedOutput(process), -1);
  EXPECT_TRUE(os.StartedProcesses()[0].terminated);
  os.CloseCapturedProcess(process);
}

TEST_F(SimCommands, AFailingCommandIsNotStartedButRecorded) {
  os.OnStartProcess([](const WideText&, const WideText&) {
    SimCommand command;
    command.fails = true;
    return command;
  });
  EXPECT_EQ(os.StartCapturedProcessW(u"x.exe", u""), 0u);
  EXPECT_EQ(os.StartedProcesses().size(), 1u);
}

TEST(SimMachine, SystemFolderAndWow64Knobs) {
  SimPlatform os;
  EXPECT_EQ(os.GetSystemFolderW(), u"C:\\Windows\\system32");
  EXPECT_EQ(os.CallGetSystemWow64DirectoryA(), 0);
  os.SetSystemFolder("C:\\WINNT\\system32");
  os.SetWow64DirectoryResult(-1);
  EXPECT_EQ(os.GetSystemFolderW(), u"C:\\WINNT\\system32");
  EXPECT_EQ(os.CallGetSystemWow64DirectoryA(), -1);
  uint32_t major = 0, minor = 0, build = 0;
  EXPECT_TRUE(os.QueryOsVersion(major, minor, build));
  EXPECT_EQ(major, 10u);
  os.SetOsVersion(5, 1, 2600, false);
  EXPECT_FALSE(os.QueryOsVersion(major, minor, build));
  Text name;
  EXPECT_TRUE(os.GetUserNameA(name));
  EXPECT_EQ(name, "Tester");
  os.SetUserNameFails(true);
  EXPECT_FALSE(os.GetUserNameA(name));
  const uint32_t before = os.GetTickCount();
  os.Sleep(25);
  os.PumpMessages();
  EXPECT_EQ(os.GetTickCount(), before + 26);
  EXPECT_EQ(os.PumpCount(), 1);
}

// ---- the folder chooser and the program's windows -------------------------------------------

class RecordingSink : public EventSink {
 public:
  explicit RecordingSink(SimPlatform& os) : os_(os) {}
  void OnWindowCreated(int windowId) override {
    events.push_back("created " + std::to_string(windowId));
    // By now the controls exist and the window is a visible top-level window.
    controlsReady = os_.ControlWindow(102) != 0 && os_.IsWindowVisible(os_.MainWindowHandle());
  }
  void OnControlEvent(int controlId, ControlEvent event) override {
    events.push_back(std::to_string(controlId) + (event == ControlEvent::Clicked ? " clicked" : " changed"));
  }
  std::vector<std::string> events;
  bool controlsReady = false;

 private:
  SimPlatform& os_;
};

class SimWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    os.SetEventSink(&sink);
    auto control = [](int id, ControlKind kind, int parent) {
      ControlSpec layout;
      layout.id = id;
      layout.kind = kind;
      layout.parentId = parent;
      layout.caption = "c" + std::to_string(id);
      return layout;
    };
    std::vector<ControlSpec> controls = {control(102, ControlKind::Label, 0), control(105, ControlKind::ComboBox, 0),
                                         control(106, ControlKind::RadioButton, 0),
                                         control(107, ControlKind::RadioButton, 0),
                                         control(108, ControlKind::GroupBox, 0),
                                         control(201, ControlKind::RadioButton, 108),
                                         control(109, ControlKind::Button, 108)};
    controls[1].items = {"D:\\", "E:\\"};
    ASSERT_TRUE(os.CreateMainWindow({1, "主窗口", 0, 0, 100, 100}, controls));
  }
  SimPlatform os;
  RecordingSink sink{os};
};

TEST_F(SimWindow, CreationReportsAfterEverythingExists) {
  EXPECT_EQ(sink.events, std::vector<std::string>{"created 1"});
  EXPECT_TRUE(sink.controlsReady);
  EXPECT_TRUE(os.MainWindowCreated());
  EXPECT_EQ(os.MainWindow().title, "主窗口");
  EXPECT_EQ(os.FindWindowExA(0), os.MainWindowHandle());
  EXPECT_EQ(os.GetWindowThreadProcessId(os.MainWindowHandle()), os.GetCurrentProcessId());
  EXPECT_EQ(os.GetControlText(102), "c102");
  EXPECT_FALSE(os.CreateMainWindow({1, "again", 0, 0, 1, 1}, {}));
}

TEST_F(SimWindow, RadioButtonsOfOneParentFormAGroup) {
  os.Click(201);
  os.Click(106);
  EXPECT_TRUE(os.IsButtonChecked(106));
  EXPECT_TRUE(os.IsButtonChecked(201)) << "another parent, another group";
  os.Click(107);
  EXPECT_FALSE(os.IsButtonChecked(106));
  EXPECT_TRUE(os.IsButtonChecked(107));
  os.Click(109);
  EXPECT_EQ(sink.events, (std::vector<std::string>{"created 1", "201 clicked", "106 clicked", "107 clicked",
                                                   "109 clicked"}));
}

TEST_F(SimWindow, ProgramSelectionIsSilentUserSelectionIsReported) {
  EXPECT_EQ(os.ComboSelectedIndex(105), -1);
  os.ComboSelect(105, 1);
  EXPECT_EQ(os.ComboSelectedIndex(105), 1);
  EXPECT_EQ(os.GetControlText(105), "E:\\");
  os.ComboSelect(105, 5);
  EXPECT_EQ(os.ComboSelectedIndex(105), -1);
  os.PickComboItem(105, 0);
  EXPECT_EQ(os.ComboSelectedIndex(105), 0);
  EXPECT_EQ(os.ComboItemCount(105), 2);
  EXPECT_EQ(os.ComboItemText(105, 2), "");
  EXPECT_EQ(sink.events, (std::vector<std::string>{"created 1", "105 changed"}));
}

TEST_F(SimWindow, EveryTextWriteIsKept) {
  os.SetControlText(102, "一");
  os.SetControlText(102, "二");
  EXPECT_EQ(os.TextWrites(102), (std::vector<Text>{"一", "二"}));
  EXPECT_EQ(os.GetControlText(102), "二");
  EXPECT_TRUE(os.TextWrites(999).empty());
}

TEST_F(SimWindow, ChooserAnswersInOrderAndRecordsWhatWasShown) {
  os.QueueChooserAnswer(ChooserAnswer::Pick("E:\\旧备份"));
  os.QueueChooserAnswer(ChooserAnswer::VirtualItem());
  os.SetControlText(102, "未找到备份的书签文件");
  FolderChoice first = os.BrowseForFolderW(0, u"请选择一个文件夹", kBifEditBox, u"D:\\");
  EXPECT_TRUE(first.chosen);
  EXPECT_EQ(first.path, u"E:\\旧备份");
  FolderChoice second = os.BrowseForFolderW(0, u"t", 0, u"");
  EXPECT_TRUE(second.chosen);
  EXPECT_TRUE(second.path.empty());
  EXPECT_FALSE(os.BrowseForFolderW(0, u"t", 0, u"").chosen) << "nothing queued: cancelled";
  ASSERT_EQ(os.ChooserCalls().size(), 3u);
  EXPECT_EQ(os.ChooserCalls()[0].title, "请选择一个文件夹");
  EXPECT_EQ(os.ChooserCalls()[0].startFolder, "D:\\");
  EXPECT_EQ(os.ChooserCalls()[0].flags, kBifEditBox);
  EXPECT_EQ(os.ChooserCalls()[0].TextWhileOpen(102), "未找到备份的书签文件");
}

TEST_F(SimWindow, ChooserActionRunsWhileOpenButNotInsideItself) {
  int runs = 0;
  os.OnChooserOpen([&] {
    ++runs;
    os.Click(109);
    os.BrowseForFolderW(0, u"nested", 0, u"");
  });
  os.BrowseForFolderW(0, u"outer", 0, u"");
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(os.ChooserCalls().size(), 2u);
  EXPECT_EQ(sink.events.back(), "109 clicked");
  os.BrowseForFolderW(0, u"again", 0, u"");
  EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace bm
