// A worker thread beside the window's thread: it runs and is waited for, its
// texts and work reach the window's thread when that thread handles its
// messages, and neither thread can hold the other up for good.
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>

#include "contract/ContractTest.h"
#include "util/TimedMessageBox.h"

namespace bm {
namespace {

constexpr int kLabel = 7101;
constexpr int kDrives = 7102;
constexpr int kButton = 7103;
constexpr int kChoice = 7104;
// Long enough for anything that is not stuck.
constexpr uint32_t kPatienceMs = 20000;

// One control of the column the cases lay out.
ControlSpec Layout(int id, ControlKind kind, const Text& caption, int y) {
  return ControlLayout(id, kind, caption, 10, y, 160, 24);
}

// A main window with a status label, a drop-down list of two drives, a button
// and a radio button.
bool CreateWindowWithControls(Platform& os) {
  ControlSpec drives = Layout(kDrives, ControlKind::ComboBox, "", 40);
  drives.items = {"D:\\", "E:\\"};
  return os.CreateMainWindow({1, "书签线程测试窗口", 40, 40, 320, 220},
                             {Layout(kLabel, ControlKind::Label, "开始", 10), drives,
                              Layout(kButton, ControlKind::Button, "一键备份书签", 70),
                              Layout(kChoice, ControlKind::RadioButton, "备份", 100)});
}

// Lets a thread that a failed case left waiting for the window's thread
// finish: the window's thread handles its messages until it has ended.
bool Release(Platform& os, ThreadHandle thread) {
  for (int round = 0; round < 600; ++round) {
    if (os.WaitForThread(thread, 50)) return true;
    os.PumpMessages();
  }
  return false;
}

class ThreadsContract : public ContractTest {};

// ---- threads ------------------------------------------------------------------------------

TEST_F(ThreadsContract, AStartedThreadRunsItsBodyOnAnotherThreadAndIsSeenToEnd) {
  auto ranOn = std::make_shared<std::thread::id>();
  const ThreadHandle thread = Os().StartThread([ranOn] { *ranOn = std::this_thread::get_id(); });
  ASSERT_NE(thread, 0u);
  ASSERT_TRUE(Os().WaitForThread(thread, kPatienceMs));
  EXPECT_NE(*ranOn, std::thread::id());
  EXPECT_NE(*ranOn, std::this_thread::get_id());
  EXPECT_TRUE(Os().WaitForThread(thread, 0)) << "an ended thread stays ended";
  Os().CloseThread(thread);
  EXPECT_FALSE(Os().WaitForThread(0, 0));
}

TEST_F(ThreadsContract, WaitForThreadGivesUpOnAThreadThatStillRuns) {
  auto release = std::make_shared<std::promise<void>>();
  std::shared_future<void> released = release->get_future().share();
  const ThreadHandle thread = Os().StartThread([released] { released.wait_for(std::chrono::seconds(60)); });
  ASSERT_NE(thread, 0u);
  EXPECT_FALSE(Os().WaitForThread(thread, 0));
  EXPECT_FALSE(Os().WaitForThread(thread, 50));
  release->set_value();
  EXPECT_TRUE(Os().WaitForThread(thread, kPatienceMs));
  Os().CloseThread(thread);
}

TEST_F(ThreadsContract, APlatformWaitsForItsThreadsBeforeItGoes) {
  std::unique_ptr<ContractFixture> fixture = MakeContractFixture();
  auto finished = std::make_shared<std::atomic<bool>>(false);
  const ThreadHandle thread = fixture->Os().StartThread([finished] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    *finished = true;
  });
  ASSERT_NE(thread, 0u);
  // The caller's handle is closed at once; the platform keeps track itself.
  fixture->Os().CloseThread(thread);
  fixture.reset();
  EXPECT_TRUE(*finished);
}

// ---- posting to the window's thread -------------------------------------------------------------

TEST_F(ThreadsContract, PostedTextsReachTheControlWhenTheWindowThreadPumpsAndTheNewestWins) {
  ASSERT_TRUE(CreateWindowWithControls(Os()));
  Platform& os = Os();
  const ThreadHandle thread = os.StartThread([&os] {
    for (const Text& text : {Text("已备份谷歌浏览器\r\n"), Text("1"), Text("已备份谷歌浏览器\r\n已备份IE浏览器\r\n")})
      os.PostControlText(kLabel, text);
  });
  ASSERT_NE(thread, 0u);
  ASSERT_TRUE(os.WaitForThread(thread, kPatienceMs));
  os.CloseThread(thread);
  EXPECT_EQ(os.GetControlText(kLabel), "开始") << "written by the window's thread only, when it handles its messages";
  os.PumpMessages();
  EXPECT_EQ(os.GetControlText(kLabel), "已备份谷歌浏览器\r\n已备份IE浏览器\r\n");
}

TEST_F(ThreadsContract, AWriteOfTheWindowThreadReplacesATextPostedBeforeIt) {
  ASSERT_TRUE(CreateWindowWithControls(Os()));
  Platform& os = Os();
  const struct {
    const char* how;
    std::function<void(Platform&, const Text&)> write;
  } writes[] = {
      {"PostControlText", [](Platform& p, const Text& text) { p.PostControlText(kLabel, text); }},
      {"SetControlText", [](Platform& p, const Text& text) { p.SetControlText(kLabel, text); }},
  };
  for (const auto& write : writes) {
    const ThreadHandle thread = os.StartThread([&os] { os.PostControlText(kLabel, "工作线程的旧文字"); });
    ASSERT_NE(thread, 0u);
    ASSERT_TRUE(os.WaitForThread(thread, kPatienceMs));
    os.CloseThread(thread);
    write.write(os, write.how);
    EXPECT_EQ(os.GetControlText(kLabel), write.how) << "written at once on the window's thread";
    os.PumpMessages();
    EXPECT_EQ(os.GetControlText(kLabel), write.how) << write.how;
  }
}

TEST_F(ThreadsContract, PostedWorkRunsOnTheWindowThreadInPostingOrder) {
  ASSERT_TRUE(CreateWindowWithControls(Os()));
  Platform& os = Os();
  struct Seen {
    int runs = 0;
    std::thread::id ranOn;
    Text label;
  };
  auto seen = std::make_shared<Seen>();
  auto posted = std::make_shared<bool>(false);
  const ThreadHandle thread = os.StartThread([&os, seen, posted] {
    os.PostControlText(kLabel, "之前");
    *posted = os.PostToWindowThread([&os, seen] {
      ++seen->runs;
      seen->ranOn = std::this_thread::get_id();
      seen->label = os.GetControlText(kLabel);
    });
    os.PostControlText(kLabel, "之后");
  });
  ASSERT_NE(thread, 0u);
  ASSERT_TRUE(os.WaitForThread(thread, kPatienceMs));
  os.CloseThread(thread);
  EXPECT_TRUE(*posted);
  EXPECT_EQ(seen->runs, 0) << "run by the window's thread when it handles its messages";
  os.PumpMessages();
  EXPECT_EQ(seen->runs, 1);
  EXPECT_EQ(seen->ranOn, std::this_thread::get_id());
  EXPECT_EQ(seen->label, "之前") << "the text posted before the work, and not the one after it";
  EXPECT_EQ(os.GetControlText(kLabel), "之后");
  os.PumpMessages();
  EXPECT_EQ(seen->runs, 1) << "work runs once";
}

TEST_F(ThreadsContract, NothingIsPostedWithoutAMainWindow) {
  Platform& os = Os();
  auto posted = std::make_shared<bool>(true);
  const ThreadHandle thread = os.StartThread([&os, posted] {
    os.PostControlText(kLabel, "无处可写");
    *posted = os.PostToWindowThread([] {});
  });
  ASSERT_NE(thread, 0u);
  ASSERT_TRUE(os.WaitForThread(thread, kPatienceMs));
  os.CloseThread(thread);
  EXPECT_FALSE(*posted);
}

// ---- neither thread holds the other up ------------------------------------------------------------

// What a worker found while the window's thread was waiting for it.
struct WorkerSaw {
  int selected = -2;
  Text drive;
  Text label;
  bool buttonEnabled = false;
  int boxResult = -2;
};

TEST_F(ThreadsContract, TheWindowThreadWaitingForAWorkerNeverHoldsItUp) {
  const auto postLines = [](Platform& os, WorkerSaw&) {
    for (int line = 1; line <= 300; ++line) os.PostControlText(kLabel, "第" + std::to_string(line) + "行");
  };
  const auto lastLineShown = [](Platform& os, const WorkerSaw&) {
    os.PumpMessages();
    EXPECT_EQ(os.GetControlText(kLabel), "第300行");
  };
  const struct {
    const char* what;
    // The window's thread blocks outright, answering nothing, instead of
    // waiting in WaitForThread.
    bool blocksOutright;
    std::function<void(Platform&, WorkerSaw&)> work;
    std::function<void(Platform&, const WorkerSaw&)> check;
  } cases[] = {
      {"posts many texts (WaitForThread)", false, postLines, lastLineShown},
      {"posts many texts (blocked outright)", true, postLines, lastLineShown},
      {"reads the controls", false,
       [](Platform& os, WorkerSaw& saw) {
         saw.selected = os.ComboSelectedIndex(kDrives);
         saw.drive = os.ComboItemText(kDrives, saw.selected);
         saw.label = os.GetControlText(kLabel);
         saw.buttonEnabled = os.IsControlEnabled(kButton);
       },
       [](Platform&, const WorkerSaw& saw) {
         EXPECT_EQ(saw.selected, 1);
         EXPECT_EQ(saw.drive, "E:\\");
         EXPECT_EQ(saw.label, "开始");
         EXPECT_FALSE(saw.buttonEnabled);
       }},
      {"shows a timed box owned by the main window", false,
       [](Platform& os, WorkerSaw& saw) {
         saw.boxResult = TimedMessageBox(os, "完成书签备份", kMbIconInformation, Text("书签线程测试提示"),
                                         std::nullopt, 1000u);
       },
       [](Platform&, const WorkerSaw& saw) { EXPECT_GE(saw.boxResult, 0) << "no box could be shown"; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // A window of its own for each case: a process makes one main window per platform.
    std::unique_ptr<ContractFixture> fixture = MakeContractFixture();
    Platform& os = fixture->Os();
    ASSERT_TRUE(CreateWindowWithControls(os));
    os.ComboSelect(kDrives, 1);
    os.EnableControl(kButton, false);
    auto saw = std::make_shared<WorkerSaw>();
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    const auto work = c.work;
    const ThreadHandle thread = os.StartThread([&os, work, saw, done] {
      work(os, *saw);
      done->set_value();
    });
    ASSERT_NE(thread, 0u);
    const bool ended = c.blocksOutright
                           ? finished.wait_for(std::chrono::milliseconds(kPatienceMs)) == std::future_status::ready
                           : os.WaitForThread(thread, kPatienceMs);
    EXPECT_TRUE(ended) << "the worker was held up by the waiting window's thread";
    ASSERT_TRUE(Release(os, thread)) << "the worker never ended";
    os.CloseThread(thread);
    c.check(os, *saw);
  }
}

// ---- controls ---------------------------------------------------------------------------------------

TEST_F(ThreadsContract, ControlsAreDisabledAndEnabledAgain) {
  ASSERT_TRUE(CreateWindowWithControls(Os()));
  for (int id : {kButton, kLabel, kDrives, kChoice}) {
    EXPECT_TRUE(Os().IsControlEnabled(id)) << id;
    Os().EnableControl(id, false);
    EXPECT_FALSE(Os().IsControlEnabled(id)) << id;
    Os().EnableControl(id, true);
    EXPECT_TRUE(Os().IsControlEnabled(id)) << id;
  }
  EXPECT_FALSE(Os().IsControlEnabled(7999)) << "no such control";
}

}  // namespace
}  // namespace bm
