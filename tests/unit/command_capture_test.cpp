#include <gtest/gtest.h>

#include "app/ProcessValues.h"
#include "platform/sim/SimPlatform.h"
#include "util/CommandCapture.h"

namespace bm {
namespace {

const Text kAppPaths = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// What REG QUERY prints for one value.
Text RegOutput(const Text& key, const Text& name, const Text& type, const Text& data) {
  return "\r\n" + key + "\r\n    " + name + "    " + type + "    " + data + "\r\n\r\n";
}

class CommandCaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedVersion = OsVersionWord;
    OsVersionWord = 0x0A00;
  }
  void TearDown() override { OsVersionWord = savedVersion; }

  void Prints(const SimCommand& command) {
    os.OnStartProcess([command](const WideText&, const WideText&) { return command; });
  }
  void Prints(const Text& output) {
    SimCommand command;
    command.output = output;
    Prints(command);
  }
  WideText Wide(const Text& text) { return os.MultiByteToWideChar(936, text); }

  SimPlatform os;
  uint16_t savedVersion = 0;
};

// ---- TextBetween ------------------------------------------------------------------

struct BetweenCase {
  const char* name;
  Text text, left, right;
  std::optional<size_t> start;
  bool ignoreCase;
  Text expected;
};

void PrintTo(const BetweenCase& c, std::ostream* out) { *out << c.name; }

class TextBetweenTest : public ::testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetweenTest, CutsBetweenTheMarkers) {
  const BetweenCase& c = GetParam();
  EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.expected);
}

// 0xB0 0x41 is one double-byte character whose trail byte reads as "A".
INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetweenTest,
    ::testing::Values(
        BetweenCase{"Plain", "key=value;rest", "key=", ";", std::nullopt, false, "value"},
        BetweenCase{"QuoteMarker", "path=\"D:\\360\\\" end", "path=#引号", "#引号", std::nullopt, false, "D:\\360\\"},
        BetweenCase{"FirstRightAfterLeft", "<a>1</a><a>2</a>", "<a>", "</a>", std::nullopt, false, "1"},
        // Positions count from 1: 1 (or 0) is the beginning, 2 the second byte.
        BetweenCase{"StartOneIsTheBeginning", "<a>1</a><a>2</a>", "<a>", "</a>", size_t{1}, false, "1"},
        BetweenCase{"StartZeroIsTheBeginning", "<a>1</a><a>2</a>", "<a>", "</a>", size_t{0}, false, "1"},
        BetweenCase{"StartSkipsEarlierMatch", "<a>1</a><a>2</a>", "<a>", "</a>", size_t{2}, false, "2"},
        BetweenCase{"StartOnTheLeftMarker", "x<a>1</a><a>2</a>", "<a>", "</a>", size_t{2}, false, "1"},
        BetweenCase{"StartPastTheEnd", "<a>1</a>", "<a>", "</a>", size_t{100}, false, ""},
        BetweenCase{"LeftMissing", "key=value;", "nokey=", ";", std::nullopt, false, ""},
        BetweenCase{"RightMissing", "key=value", "key=", ";", std::nullopt, false, ""},
        BetweenCase{"RightOnlyBeforeLeft", ";key=value", "key=", ";", std::nullopt, false, ""},
        BetweenCase{"CaseMattersByDefault", "KEY=v;", "key=", ";", std::nullopt, false, ""},
        BetweenCase{"IgnoreCase", "KEY=v;", "key=", ";", std::nullopt, true, "v"},
        BetweenCase{"ChineseMarkers", "路径：D:\\浏览器。", "路径：", "。", std::nullopt, false, "D:\\浏览器"},
        BetweenCase{"TrailByteIsNoMatch", "\xB0\x41" "bc=1;", "Abc=", ";", std::nullopt, false, ""},
        BetweenCase{"TrailByteIsNoMatchIgnoringCase", "\xB0\x41" "bc=1;", "abc=", ";", std::nullopt, true, ""},
        BetweenCase{"RealMatchAfterTrailByte", "\xB0\x41" "bc=1;Abc=2;", "Abc=", ";", std::nullopt, false, "2"},
        BetweenCase{"TrailByteNotFolded", "\xB0\x61" "=1;", "\xB0\x41" "=", ";", std::nullopt, true, ""}),
    [](const ::testing::TestParamInfo<BetweenCase>& info) { return std::string(info.param.name); });

// ---- QueryValueByCommand --------------------------------------------------------------

TEST_F(CommandCaptureTest, QueryRunsQuotedRegThroughTheCommandInterpreter) {
  os.SetWow64DirectoryResult(0);
  QueryValueByCommand(os, kAppPaths + "\\360se6.exe", std::nullopt, "Path");
  ASSERT_EQ(os.StartedProcesses().size(), 1u);
  EXPECT_EQ(os.StartedProcesses()[0].program, u"C:\\Windows\\system32\\cmd.exe");
  EXPECT_EQ(os.StartedProcesses()[0].commandLine,
            Wide(" /c REG QUERY \"" + kAppPaths + "\\360se6.exe\" /v \"Path\" /reg:32"));
}

TEST_F(CommandCaptureTest, RegistryViewFollowsTheWindowsBitness) {
  const struct {
    long wow64Result;
    bool is64;
    const char* view;
  } cases[] = {{-1, false, "/reg:32"}, {0, false, "/reg:32"}, {28, true, "/reg:64"}};
  for (const auto& c : cases) {
    SimPlatform machine;
    machine.SetWow64DirectoryResult(c.wow64Result);
    EXPECT_EQ(Is64BitWindows(machine), c.is64) << c.wow64Result;
    QueryValueByCommand(machine, kAppPaths, 1, "Path");
    ASSERT_EQ(machine.StartedProcesses().size(), 1u);
    const Text line = machine.WideCharToMultiByte(936, machine.StartedProcesses()[0].commandLine);
    EXPECT_EQ(line.substr(line.size() - 7), c.view) << c.wow64Result;
  }
}

TEST_F(CommandCaptureTest, QueryPicksTheRestOfTheValueLine) {
  const Text key = kAppPaths + "\\360chrome.exe";
  const struct {
    const char* name;
    Text printedType;
    std::optional<int> askedType;
    Text printedData;
    Text expected;
  } cases[] = {
      {"StringByDefault", "REG_SZ", std::nullopt, "D:\\360极速\\Chrome\\Application\\",
       "D:\\360极速\\Chrome\\Application\\"},
      {"OutOfRangeTypeIsString", "REG_SZ", 9, "D:\\x", "D:\\x"},
      {"MultiStringLineOnly", "REG_MULTI_SZ", 7, "first\\0second", "first\\0second"},
      {"ExpandString", "REG_EXPAND_SZ", 2, "%ProgramFiles%\\x", "%ProgramFiles%\\x"},
      {"OtherTypeWithTypeOmitted", "REG_EXPAND_SZ", std::nullopt, "%ProgramFiles%\\x", ""},
      {"DwordAskedAsString", "REG_DWORD", 1, "0x1", ""},
  };
  for (const auto& c : cases) {
    SimPlatform machine;
    const Text output = RegOutput(key, "Path", c.printedType, c.printedData);
    machine.OnStartProcess([output](const WideText&, const WideText&) {
      SimCommand command;
      command.output = output;
      return command;
    });
    EXPECT_EQ(QueryValueByCommand(machine, key, c.askedType, "Path"), c.expected) << c.name;
  }
}

TEST_F(CommandCaptureTest, ValueNotFoundGivesEmptyText) {
  Prints("错误: 系统找不到指定的注册表项或值。\r\n");
  EXPECT_EQ(QueryValueByCommand(os, kAppPaths + "\\none.exe", std::nullopt, "Path"), "");
}

TEST_F(CommandCaptureTest, QuotesInNamesAreRefusedWithoutRunningAnything) {
  EXPECT_EQ(QueryValueByCommand(os, kAppPaths + "\\a\" & calc & \".exe", std::nullopt, "Path"), "");
  EXPECT_EQ(QueryValueByCommand(os, kAppPaths, std::nullopt, "Path\" & calc & \""), "");
  EXPECT_TRUE(os.StartedProcesses().empty());
}

TEST_F(CommandCaptureTest, CommandCharactersStayInsideTheQuotes) {
  Prints(RegOutput(kAppPaths + "\\x.exe", "a&b|c", "REG_SZ", "data"));
  EXPECT_EQ(QueryValueByCommand(os, kAppPaths + "\\x.exe", std::nullopt, "a&b|c"), "data");
  ASSERT_EQ(os.StartedProcesses().size(), 1u);
  const Text line = os.WideCharToMultiByte(936, os.StartedProcesses()[0].commandLine);
  EXPECT_NE(line.find(" /v \"a&b|c\" /reg:"), Text::npos) << line;
}

TEST_F(CommandCaptureTest, TrailingBackslashesKeepTheClosingQuote) {
  QueryValueByCommand(os, kAppPaths + "\\", std::nullopt, "dir\\");
  ASSERT_EQ(os.StartedProcesses().size(), 1u);
  const Text line = os.WideCharToMultiByte(936, os.StartedProcesses()[0].commandLine);
  EXPECT_NE(line.find("\"" + kAppPaths + "\\\\\" /v \"dir\\\\\" "), Text::npos) << line;

  // A trail byte 0x5C at the end is part of a character, not a backslash.
  SimPlatform machine;
  QueryValueByCommand(machine, kAppPaths + "\\\x81\x5C", std::nullopt, "Path");
  ASSERT_EQ(machine.StartedProcesses().size(), 1u);
  const Text gbkLine = machine.WideCharToMultiByte(936, machine.StartedProcesses()[0].commandLine);
  EXPECT_NE(gbkLine.find("\\\x81\x5C\" /v"), Text::npos);
}

// ---- RunCommandCapture ---------------------------------------------------------------------

TEST_F(CommandCaptureTest, CommandLineIsSlashCAndTheCommandInUtf16) {
  RunCommandCapture(os, "echo 中文");
  ASSERT_EQ(os.StartedProcesses().size(), 1u);
  EXPECT_EQ(os.StartedProcesses()[0].commandLine, u" /c echo \u4E2D\u6587");
}

TEST_F(CommandCaptureTest, InterpreterFollowsTheWindowsVersion) {
  const struct {
    uint32_t major, minor;
    bool readable;
    const char16_t* program;
  } cases[] = {{4, 10, true, u"D:\\Sys\\command.com"},
               {5, 0, true, u"D:\\Sys\\command.com"},
               {5, 1, true, u"D:\\Sys\\cmd.exe"},
               {10, 0, true, u"D:\\Sys\\cmd.exe"},
               // A version that cannot be read is no reason to expect a system before XP.
               {0, 0, false, u"D:\\Sys\\cmd.exe"}};
  for (const auto& c : cases) {
    SimPlatform machine;
    machine.SetSystemFolder("D:\\Sys");
    machine.SetOsVersion(c.major, c.minor, 0, c.readable);
    InitProcessValues(machine);
    RunCommandCapture(machine, "ver");
    ASSERT_EQ(machine.StartedProcesses().size(), 1u);
    EXPECT_EQ(machine.StartedProcesses()[0].program, c.program) << c.major << "." << c.minor;
  }
}

TEST_F(CommandCaptureTest, OutputLargerThanOneChunkIsDrainedWhole) {
  SimCommand command;
  for (int i = 0; command.output.size() < 20000; ++i) command.output += "第" + std::to_string(i) + "行\r\n";
  command.chunkSize = 4096;
  Prints(command);
  EXPECT_EQ(RunCommandCapture(os, "type big.txt"), command.output);
}

TEST_F(CommandCaptureTest, NothingPrintedOrNotStartedGivesEmptyText) {
  Prints(Text());
  EXPECT_EQ(RunCommandCapture(os, "rem"), "");
  SimCommand broken;
  broken.fails = true;
  broken.output = "never seen";
  Prints(broken);
  EXPECT_EQ(RunCommandCapture(os, "whatever"), "");
}

TEST_F(CommandCaptureTest, OverlongCommandIsNotStarted) {
  EXPECT_EQ(RunCommandCapture(os, Text(32763, 'x')), "");
  EXPECT_TRUE(os.StartedProcesses().empty());
  RunCommandCapture(os, Text(32762, 'x'));
  EXPECT_EQ(os.StartedProcesses().size(), 1u);
}

TEST_F(CommandCaptureTest, CommandThatNeverEndsIsStoppedAtTheBound) {
  SimCommand waiting;
  waiting.output = "请输入:";
  waiting.neverEnds = true;
  Prints(waiting);
  const uint32_t start = os.GetTickCount();
  EXPECT_EQ(RunCommandCapture(os, "set /p x=请输入:"), "请输入:");
  ASSERT_EQ(os.StartedProcesses().size(), 1u);
  EXPECT_TRUE(os.StartedProcesses()[0].terminated);
  // Measured on the simulated clock.
  EXPECT_GE(os.GetTickCount() - start, 10000u);
  EXPECT_LT(os.GetTickCount() - start, 10100u);
}

TEST_F(CommandCaptureTest, CommandThatKeepsPrintingIsStoppedAtTheBound) {
  SimCommand endless;
  endless.output = Text(50000, 'y');
  endless.chunkSize = 1;  // one byte each time the pipe is looked into
  endless.neverEnds = true;
  Prints(endless);
  const uint32_t start = os.GetTickCount();
  const Text output = RunCommandCapture(os, "for /l %i in (0,0,1) do @echo y");
  EXPECT_TRUE(os.StartedProcesses()[0].terminated);
  EXPECT_GT(output.size(), 0u);
  EXPECT_LT(output.size(), endless.output.size());
  EXPECT_EQ(output, Text(output.size(), 'y'));
  EXPECT_LT(os.GetTickCount() - start, 10100u);
}

TEST_F(CommandCaptureTest, CommandThatEndsIsNotTerminated) {
  Prints("done\r\n");
  RunCommandCapture(os, "echo done");
  ASSERT_EQ(os.StartedProcesses().size(), 1u);
  EXPECT_FALSE(os.StartedProcesses()[0].terminated);
}

// The callback is a plain routine; it reports into these.
TextList callbackPieces;
int stopAfterPieces = 0;

int RecordPiece(const Text& piece, int second, int third) {
  EXPECT_EQ(second, 0);
  EXPECT_EQ(third, 0);
  callbackPieces.push_back(piece);
  return static_cast<int>(callbackPieces.size()) >= stopAfterPieces ? 1 : 0;
}

TEST_F(CommandCaptureTest, CallbackSeesEveryPieceAndCanStopTheReading) {
  SimCommand command;
  command.output = Text(3000, 'a') + Text(3000, 'b') + Text(3000, 'c');
  command.chunkSize = 3000;
  Prints(command);

  callbackPieces.clear();
  stopAfterPieces = 100;
  EXPECT_EQ(RunCommandCapture(os, "x", RecordPiece), command.output);
  EXPECT_EQ(callbackPieces, (TextList{Text(3000, 'a'), Text(3000, 'b'), Text(3000, 'c')}));

  callbackPieces.clear();
  stopAfterPieces = 1;
  EXPECT_EQ(RunCommandCapture(os, "x", RecordPiece), Text(3000, 'a'));
  EXPECT_EQ(callbackPieces.size(), 1u);
}

}  // namespace
}  // namespace bm
