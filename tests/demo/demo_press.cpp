// The demo's main job, for scripts/start.sh on a machine without a display:
// starts the program (BM_EXE), presses 一键备份书签, and saves a screenshot
// (BM_DEMO_SHOT, a BMP) while the run's notice shows over the summary; then
// waits for the notice to close by itself and closes the program. Prints the
// summary. Exit code 0 when the run ended with its notice.
#include <cstdio>

#include "../../src/app/Controls.h"
#include "e2e/Driver.h"

int main() {
  using namespace bm::e2e;
  App app;
  if (!app.Start()) {
    std::printf("the program did not start\n");
    return 1;
  }
  app.Click(bm::超级按钮_一键备份书签);
  HWND notice = app.WaitForBox("提示", 120000);
  if (!notice) {
    std::printf("no notice ended the one-click backup\n");
    return 1;
  }
  const std::string shot = Env("BM_DEMO_SHOT");
  if (!shot.empty() && !SaveScreenBmp(shot)) std::printf("no screenshot could be saved\n");
  app.WaitUntilGone(notice, 20000);
  std::printf("%s\n", app.Text(bm::标签_文字).c_str());
  app.Close();
  return 0;
}
