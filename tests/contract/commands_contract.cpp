// A console command started with its output on a pipe behaves alike on the
// simulated Windows and on the real one.
#include "app/Paths.h"
#include "contract/ContractTest.h"

namespace bm {
namespace {

class CommandsContract : public ContractTest {
 protected:
  // Reads everything the command prints, as the capture loop does; gives up
  // after a bounded number of polls so a hanging command fails the case.
  Text Capture(ProcessHandle process, bool& ended) {
    Text output;
    ended = false;
    for (int polls = 0; polls < 20000; ++polls) {
      const long waiting = Os().PeekCapturedOutput(process);
      if (waiting > 0) {
        const Bytes piece = Os().ReadCapturedOutput(process, static_cast<uint32_t>(waiting));
        output.append(piece.begin(), piece.end());
      } else if (!Os().IsCapturedProcessRunning(process)) {
        ended = true;
        break;
      }
      Os().Sleep(1);
    }
    return output;
  }
};

TEST_F(CommandsContract, EchoThroughTheCommandInterpreterIsCaptured) {
  const WideText system = Os().GetSystemFolderW();
  ASSERT_FALSE(system.empty());
  const ProcessHandle process = Os().StartCapturedProcessW(system + u"\\cmd.exe", u" /c echo bookmark-contract");
  ASSERT_NE(process, 0u);
  bool ended = false;
  Text output = Capture(process, ended);
  EXPECT_TRUE(ended);
  // Whatever was still in the pipe when the command ended.
  for (long waiting; (waiting = Os().PeekCapturedOutput(process)) > 0;) {
    const Bytes piece = Os().ReadCapturedOutput(process, static_cast<uint32_t>(waiting));
    output.append(piece.begin(), piece.end());
  }
  EXPECT_EQ(output, "bookmark-contract\r\n");
  EXPECT_EQ(Os().PeekCapturedOutput(process), -1) << "ended and drained";
  Os().CloseCapturedProcess(process);
}

TEST_F(CommandsContract, AProgramThatDoesNotExistIsNotStarted) {
  EXPECT_EQ(Os().StartCapturedProcessW(u"C:\\没有\\nothing.exe", u" /c echo x"), 0u);
}

}  // namespace
}  // namespace bm
