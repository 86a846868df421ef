// The simulated Windows under two threads at once: what one thread writes the
// other reads whole, and the knobs for worker threads do what the tests of a
// worker rely on.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <set>
#include <string>

#include "platform/sim/SimPlatform.h"

namespace bm {
namespace {

constexpr int kLabel = 102;
constexpr int kDrives = 105;
constexpr int kChoice = 106;
constexpr int kButton = 109;

// A main window with the status label "开始", a drop-down list, a radio button and a button.
bool CreateWindow(SimPlatform& os) {
  ControlSpec drives = ControlLayout(kDrives, ControlKind::ComboBox);
  drives.items = {"D:\\", "E:\\"};
  return os.CreateMainWindow({1, "主窗口", 0, 0, 100, 100},
                             {ControlLayout(kLabel, ControlKind::Label, "开始"), drives, ControlLayout(kChoice, ControlKind::RadioButton),
                              ControlLayout(kButton, ControlKind::Button)});
}

class SimThreads : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateWindow(os)); }
  SimPlatform os;
};

// ---- whole texts under two writers ------------------------------------------------------------

// One place a text is written to and read back from.
struct Channel {
  const char* name;
  std::function<void(SimPlatform&, const Text&)> write;
  // Everything the place holds now that a writer put there.
  std::function<std::vector<Text>(SimPlatform&)> read;
};

std::vector<Channel> Channels() {
  return {
      {"SetControlText", [](SimPlatform& os, const Text& text) { os.SetControlText(kLabel, text); },
       [](SimPlatform& os) { return std::vector<Text>{os.GetControlText(kLabel)}; }},
      {"TextWrites", [](SimPlatform& os, const Text& text) { os.SetControlText(kLabel, text); },
       [](SimPlatform& os) { return os.TextWrites(kLabel); }},
      {"PostControlText", [](SimPlatform& os, const Text& text) { os.PostControlText(kLabel, text); },
       [](SimPlatform& os) {
         os.PumpMessages();
         return std::vector<Text>{os.GetControlText(kLabel)};
       }},
      {"WriteFile", [](SimPlatform& os, const Text& text) { os.WriteFile("D:\\状态.txt", text); },
       [](SimPlatform& os) { return std::vector<Text>{os.ReadFile("D:\\状态.txt").value_or("开始")}; }},
      {"CopyFileA",
       [](SimPlatform& os, const Text& text) {
         // Each text has a source file of its own.
         const Text source = "C:\\源\\" + std::to_string(text.size()) + ".txt";
         os.WriteFile(source, text);
         os.CopyFileA(source, "D:\\副本.txt", false);
       },
       [](SimPlatform& os) { return std::vector<Text>{os.ReadFile("D:\\副本.txt").value_or("开始")}; }},
      {"MessageBoxTimeoutA",
       [](SimPlatform& os, const Text& text) { os.MessageBoxTimeoutA(0, text, "提示", kMbIconInformation, 0, 1); },
       [](SimPlatform& os) {
         std::vector<Text> texts;
         for (const ShownMessageBox& box : os.MessageBoxes()) texts.push_back(box.text);
         return texts;
       }},
  };
}

TEST(SimThreadsWhole, TwoWritersOfTextsOfDifferentLengthsAreReadWhole) {
  // Each writer alternates a short and a long text; the long ones outgrow any
  // small-string buffer.
  const std::vector<Text> first = {"短", Text(300, 'a') + "已备份谷歌浏览器"};
  const std::vector<Text> second = {"已备份IE浏览器\r\n", Text(700, 'b')};
  std::set<Text> allowed = {"开始"};
  allowed.insert(first.begin(), first.end());
  allowed.insert(second.begin(), second.end());

  for (const Channel& channel : Channels()) {
    SCOPED_TRACE(channel.name);
    SimPlatform machine;
    ASSERT_TRUE(CreateWindow(machine));
    auto writer = [&machine, &channel](const std::vector<Text>& texts) {
      return machine.StartThread([&machine, &channel, texts] {
        for (int round = 0; round < 400; ++round) channel.write(machine, texts[round % texts.size()]);
      });
    };
    const ThreadHandle a = writer(first);
    const ThreadHandle b = writer(second);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    int reads = 0;
    Text wrong;
    auto readAll = [&] {
      for (const Text& text : channel.read(machine)) {
        ++reads;
        if (!allowed.count(text) && wrong.empty()) wrong = text.substr(0, 40) + " (" + std::to_string(text.size()) + ")";
      }
    };
    while (!machine.WaitForThread(a, 0) || !machine.WaitForThread(b, 0)) readAll();
    readAll();
    EXPECT_EQ(wrong, "") << "a text nobody wrote, after " << reads << " reads";
    EXPECT_GT(reads, 0);
  }
}

// ---- the knobs for worker threads ------------------------------------------------------------

TEST_F(SimThreads, ADisabledControlTakesNoClick) {
  int clicks = 0;
  struct Counter : EventSink {
    explicit Counter(int& clicks) : clicks(clicks) {}
    void OnWindowCreated(int) override {}
    void OnControlEvent(int, ControlEvent) override { ++clicks; }
    int& clicks;
  } counter(clicks);
  os.SetEventSink(&counter);
  os.EnableControl(kButton, false);
  os.EnableControl(kChoice, false);
  os.Click(kButton);
  os.Click(kChoice);
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(os.IsButtonChecked(kChoice));
  os.EnableControl(kButton, true);
  os.Click(kButton);
  EXPECT_EQ(clicks, 1);
  os.SetEventSink(nullptr);
}

TEST_F(SimThreads, WindowWritesFromAWorkerAreNotedAndPostedOnesAreNot) {
  os.SetControlText(kLabel, "窗口线程");
  os.PostControlText(kLabel, "窗口线程也可以");
  const ThreadHandle worker = os.StartThread([this] {
    os.PostControlText(kLabel, "已备份IE浏览器\r\n");
    os.SetControlText(kLabel, "直接写");
    os.EnableControl(kButton, true);
    os.ComboSelect(kDrives, 0);
  });
  ASSERT_NE(worker, 0u);
  ASSERT_TRUE(os.WaitForThread(worker, kInfinite));
  os.CloseThread(worker);
  os.PumpMessages();
  EXPECT_EQ(os.WindowWritesFromOtherThreads(), (std::vector<int>{kLabel, kButton, kDrives}));
}

TEST_F(SimThreads, OnlyTheNewestPostedTextIsWrittenAndOnlyByTheWindowThread) {
  const ThreadHandle worker = os.StartThread([this] {
    os.PostControlText(kLabel, "一");
    os.PostControlText(kLabel, "二");
    os.PumpMessages();  // a worker's own pump takes nothing for the window
    os.PostControlText(kLabel, "三");
  });
  ASSERT_NE(worker, 0u);
  ASSERT_TRUE(os.WaitForThread(worker, kInfinite));
  os.CloseThread(worker);
  EXPECT_TRUE(os.TextWrites(kLabel).empty());
  os.PumpMessages();
  EXPECT_EQ(os.TextWrites(kLabel), std::vector<Text>{"三"});
}

TEST_F(SimThreads, TheMessageLoopRunsWhatWasPostedBeforeItEnds) {
  int runs = 0;
  const ThreadHandle worker = os.StartThread([this, &runs] {
    os.PostToWindowThread([&runs] { ++runs; });
    os.PostControlText(kLabel, "完成");
  });
  ASSERT_NE(worker, 0u);
  ASSERT_TRUE(os.WaitForThread(worker, kInfinite));
  os.CloseThread(worker);
  EXPECT_EQ(os.RunMessageLoop(), 0);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(os.GetControlText(kLabel), "完成");
}

TEST_F(SimThreads, JoinThreadsWaitsForThreadsStartedByThreads) {
  std::atomic<int> ended{0};
  const ThreadHandle outer = os.StartThread([this, &ended] {
    const ThreadHandle inner = os.StartThread([&ended] { ++ended; });
    os.CloseThread(inner);
    ++ended;
  });
  ASSERT_NE(outer, 0u);
  os.CloseThread(outer);
  os.JoinThreads();
  EXPECT_EQ(ended, 2);
}

TEST_F(SimThreads, AThreadThatCannotStartRunsNothing) {
  os.SetThreadStartFails(true);
  bool ran = false;
  EXPECT_EQ(os.StartThread([&ran] { ran = true; }), 0u);
  os.JoinThreads();
  EXPECT_FALSE(ran);
  os.SetThreadStartFails(false);
  const ThreadHandle thread = os.StartThread([&ran] { ran = true; });
  EXPECT_NE(thread, 0u);
  os.JoinThreads();
  EXPECT_TRUE(ran);
  os.CloseThread(thread);
}

}  // namespace
}  // namespace bm
