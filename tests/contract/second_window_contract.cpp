// A second window shown modally over the main window, the clipboard's plain
// text, PathRemoveBlanksA and the colours of an edit box behave alike on the
// simulated Windows and the real one.
#include <functional>
#include <utility>
#include <vector>

#include "app/Paths.h"
#include "contract/ContractTest.h"

namespace bm {
namespace {

constexpr int kOwnerId = 1;
constexpr int kModalId = 2;
constexpr int kStatusLabel = 7101;
constexpr int kEdit = 7201;
constexpr int kLoadButton = 7202;
const char kModalTitle[] = "书签测试第二窗口";

std::vector<ControlSpec> ModalControls() {
  ControlSpec edit = ControlLayout(kEdit, ControlKind::Edit, "双击这里", 6, 12, 300, 24);
  edit.font = {"等线", 14, 700};
  return {edit, ControlLayout(kLoadButton, ControlKind::Button, "载入目录", 310, 11, 60, 26)};
}

// Records what reaches the sink and lets a case act on it.
class Recorder : public EventSink {
 public:
  void OnWindowCreated(int windowId) override {
    created.push_back(windowId);
    if (onCreated) onCreated(windowId);
  }
  void OnControlEvent(int controlId, ControlEvent event) override {
    events.emplace_back(controlId, event);
    if (onEvent) onEvent(controlId, event);
  }

  std::vector<int> created;
  std::vector<std::pair<int, ControlEvent>> events;
  std::function<void(int)> onCreated;
  std::function<void(int, ControlEvent)> onEvent;
};

class SecondWindowContract : public ContractTest {
 protected:
  void SetUp() override {
    Os().SetEventSink(&recorder);
    ASSERT_TRUE(Os().CreateMainWindow({kOwnerId, "书签测试主窗口", 40, 40, 400, 200},
                                      {ControlLayout(kStatusLabel, ControlKind::Label, "", 10, 10, 200, 40)}));
  }
  void TearDown() override { Os().SetEventSink(nullptr); }

  bool ShowModal(const std::vector<ControlSpec>& controls = ModalControls()) {
    return Os().ShowModalWindow({kModalId, kModalTitle, 60, 60, 400, 85}, controls, kOwnerId);
  }

  // Our visible top-level window titled `title`, as the desktop lists it; 0 when there is none.
  WindowHandle OurWindowTitled(const Text& title) {
    const uint32_t self = Os().GetCurrentProcessId();
    int walked = 0;
    for (WindowHandle window = Os().FindWindowExA(0); window != 0 && walked < 100000;
         window = Os().FindWindowExA(window), ++walked) {
      if (Os().GetWindowThreadProcessId(window) != self || !Os().IsWindowVisible(window)) continue;
      if (FromWideText(Os(), Os().GetWindowTextW(window)) == title) return window;
    }
    return 0;
  }

  Recorder recorder;
};

TEST_F(SecondWindowContract, TheWaitRunsTheWindowsEventsUntilAHandlerClosesIt) {
  // What the window looked like to its handlers and its user while it was open.
  Text captionAtCreation, typedAtClick;
  WindowHandle listed = 0, editWindow = 0, parentOfListed = 1;
  Text listedClass;
  bool ownerTookInput = true;
  recorder.onCreated = [&](int windowId) {
    if (windowId != kModalId) return;
    captionAtCreation = Os().GetControlText(kEdit);
    editWindow = Os().ControlWindow(kEdit);
  };
  recorder.onEvent = [&](int controlId, ControlEvent event) {
    if (controlId == kLoadButton && event == ControlEvent::Clicked) {
      typedAtClick = Os().GetControlText(kEdit);
      Os().CloseWindow(kModalId);
    }
  };
  Fx().WhileModalWindowOpen(kModalId, [&] {
    ownerTookInput = Fx().WindowEnabled(kOwnerId);
    listed = OurWindowTitled(kModalTitle);
    if (listed) {
      listedClass = Os().GetClassNameA(listed);
      parentOfListed = Os().GetParent(listed);
    }
    Fx().DoubleClick(kEdit);
    Os().SetControlText(kEdit, "D:\\火狐 配置");
    Fx().Click(kLoadButton);
  });

  ASSERT_TRUE(ShowModal());

  EXPECT_EQ(recorder.created, (std::vector<int>{kOwnerId, kModalId}));
  EXPECT_EQ(captionAtCreation, "双击这里");
  EXPECT_NE(editWindow, 0u);
  EXPECT_FALSE(ownerTookInput) << "the owner is disabled while the window is open";
  ASSERT_NE(listed, 0u) << "the window is a visible top-level window of ours";
  EXPECT_EQ(listedClass, "BookmarkBackupSecondWindow");
  EXPECT_EQ(parentOfListed, 0u) << "an owned window, not a child";
  const std::vector<std::pair<int, ControlEvent>> expected = {{kEdit, ControlEvent::DoubleClicked},
                                                              {kLoadButton, ControlEvent::Clicked}};
  EXPECT_EQ(recorder.events, expected);
  EXPECT_EQ(typedAtClick, "D:\\火狐 配置");

  // Gone, and its ids name nothing any more; the owner takes input again.
  EXPECT_TRUE(Fx().WindowEnabled(kOwnerId));
  EXPECT_EQ(OurWindowTitled(kModalTitle), 0u);
  EXPECT_EQ(Os().ControlWindow(kEdit), 0u);
  EXPECT_EQ(Os().GetControlText(kEdit), "");
  Os().SetControlText(kStatusLabel, "主窗口照常");
  EXPECT_EQ(Os().GetControlText(kStatusLabel), "主窗口照常");
}

TEST_F(SecondWindowContract, TheUserClosingTheWindowEndsTheWait) {
  bool userActed = false;
  Fx().WhileModalWindowOpen(kModalId, [&] { userActed = true; });
  ASSERT_TRUE(ShowModal());
  EXPECT_TRUE(userActed);
  EXPECT_TRUE(recorder.events.empty());
  EXPECT_TRUE(Fx().WindowEnabled(kOwnerId));
  EXPECT_EQ(OurWindowTitled(kModalTitle), 0u);
  // The same window can be shown again.
  Fx().WhileModalWindowOpen(kModalId, [] {});
  EXPECT_TRUE(ShowModal());
  EXPECT_EQ(recorder.created, (std::vector<int>{kOwnerId, kModalId, kModalId}));
}

TEST_F(SecondWindowContract, TextsAWorkerPostsArriveWhileTheWindowWaits) {
  bool workerRan = false;
  Fx().WhileModalWindowOpen(kModalId, [&] {
    const ThreadHandle worker = Os().StartThread([this] { Os().PostControlText(kStatusLabel, "工作线程写的"); });
    if (worker == 0) return;
    workerRan = Os().WaitForThread(worker, kInfinite);
    Os().CloseThread(worker);
  });
  ASSERT_TRUE(ShowModal());
  ASSERT_TRUE(workerRan);
  EXPECT_EQ(Os().GetControlText(kStatusLabel), "工作线程写的");
}

TEST_F(SecondWindowContract, AWindowClosedByItsCreationHandlerReturnsAtOnce) {
  recorder.onCreated = [this](int windowId) {
    if (windowId == kModalId) Os().CloseWindow(kModalId);
  };
  ASSERT_TRUE(ShowModal());
  EXPECT_TRUE(Fx().WindowEnabled(kOwnerId));
  EXPECT_EQ(Os().ControlWindow(kEdit), 0u);
  EXPECT_EQ(OurWindowTitled(kModalTitle), 0u);
}

TEST_F(SecondWindowContract, NothingIsShownWithoutAnOpenOwnerOrWithTakenIds) {
  const std::vector<ControlSpec> takenControlId = {ControlLayout(kStatusLabel, ControlKind::Button, "x", 0, 0, 10, 10)};
  const std::vector<ControlSpec> sharedId = {ControlLayout(7301, ControlKind::Button, "a", 0, 0, 10, 10),
                                             ControlLayout(7301, ControlKind::Button, "b", 20, 0, 10, 10)};
  EXPECT_FALSE(Os().ShowModalWindow({kModalId, kModalTitle, 0, 0, 200, 80}, ModalControls(), 99));
  EXPECT_FALSE(Os().ShowModalWindow({kOwnerId, kModalTitle, 0, 0, 200, 80}, ModalControls(), kOwnerId));
  EXPECT_FALSE(ShowModal(takenControlId));
  EXPECT_FALSE(ShowModal(sharedId));
  EXPECT_EQ(recorder.created, (std::vector<int>{kOwnerId}));
  EXPECT_TRUE(Fx().WindowEnabled(kOwnerId));
  EXPECT_EQ(OurWindowTitled(kModalTitle), 0u);
  EXPECT_EQ(Os().ControlWindow(7301), 0u);
}

TEST_F(SecondWindowContract, AWindowOwnedByTheSecondOneLeavesTheMainWindowDisabled) {
  constexpr int kThirdId = 3;
  bool thirdShown = false;
  bool mainDuringThird = true, secondDuringThird = true, mainAfterThird = true, secondAfterThird = false;
  Fx().WhileModalWindowOpen(kModalId, [&] {
    Fx().WhileModalWindowOpen(kThirdId, [&] {
      mainDuringThird = Fx().WindowEnabled(kOwnerId);
      secondDuringThird = Fx().WindowEnabled(kModalId);
    });
    thirdShown = Os().ShowModalWindow({kThirdId, "书签测试第三窗口", 80, 80, 200, 80}, {}, kModalId);
    mainAfterThird = Fx().WindowEnabled(kOwnerId);
    secondAfterThird = Fx().WindowEnabled(kModalId);
  });
  ASSERT_TRUE(ShowModal());
  EXPECT_TRUE(thirdShown);
  EXPECT_FALSE(mainDuringThird);
  EXPECT_FALSE(secondDuringThird);
  EXPECT_FALSE(mainAfterThird) << "the second window still stands in front of it";
  EXPECT_TRUE(secondAfterThird);
  EXPECT_TRUE(Fx().WindowEnabled(kOwnerId));
}

TEST_F(SecondWindowContract, EditColoursAreTakenAndReplaced) {
  const uint32_t cream = Rgb(241, 239, 218);
  std::optional<EditPaint> hint, typing;
  Fx().WhileModalWindowOpen(kModalId, [&] {
    Os().SetEditColors(kEdit, Rgb(192, 192, 192), cream);
    hint = Fx().EditPaintOf(kEdit);
    Os().SetEditColors(kEdit, Rgb(0, 0, 0), cream);
    typing = Fx().EditPaintOf(kEdit);
  });
  ASSERT_TRUE(ShowModal());
  EXPECT_EQ(hint, (EditPaint{Rgb(192, 192, 192), cream, cream}));
  EXPECT_EQ(typing, (EditPaint{Rgb(0, 0, 0), cream, cream}));
}

// ---- the clipboard and PathRemoveBlanksA ---------------------------------------------------

TEST_F(SecondWindowContract, ClipboardTextGoesOutAsGbkAndUnicode) {
  const Text texts[] = {"about:support", "火狐 配置文件夹 D:\\书签", ""};
  for (const Text& text : texts) {
    ASSERT_TRUE(Os().SetClipboardText(text)) << text;
    EXPECT_EQ(Os().GetClipboardText(), text);
    EXPECT_EQ(Fx().ClipboardUnicode(), Os().MultiByteToWideChar(936, text)) << text;
  }
}

TEST_F(SecondWindowContract, ClipboardUnicodeTextOfAnotherProgramIsReadAsGbk) {
  const WideText pasted = u"C:\\Users\\测试\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\a1b2.default";
  ASSERT_TRUE(Fx().PutUnicodeOnClipboard(pasted));
  EXPECT_EQ(Os().GetClipboardText(), Os().WideCharToMultiByte(936, pasted));
}

TEST_F(SecondWindowContract, PathRemoveBlanksRemovesOnlyTheSpacesAround) {
  const std::pair<Text, Text> cases[] = {
      {"  D:\\Firefox Profiles\\a b  ", "D:\\Firefox Profiles\\a b"},
      {" 火狐浏览器 ", "火狐浏览器"},
      {"", ""},
      {"    ", ""},
      {"\tD:\\x\t", "\tD:\\x\t"},
      {" \"D:\\x\" ", "\"D:\\x\""},
      {"\xA1\xA1" "D:\\x" "\xA1\xA1", "\xA1\xA1" "D:\\x" "\xA1\xA1"},  // full-width spaces are not blanks
  };
  for (const auto& c : cases) EXPECT_EQ(Os().PathRemoveBlanksA(c.first), c.second) << "[" << c.first << "]";
}

}  // namespace
}  // namespace bm
