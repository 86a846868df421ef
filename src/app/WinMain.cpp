// The process entry of the Windows program: the real Win32 layer under the
// program's start-up. Nothing is read from the command line.
#include <windows.h>

#include "app/MainWindow.h"
#include "platform/win32/Win32Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  bm::Win32Platform os;
  return bm::RunApplication(os);
}
