// What the program reads about the machine, the Windows version and whether
// Windows is 64-bit, is the machine's own answer whatever the bitness of the
// process that asks.
#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#endif

#include "contract/ContractTest.h"
#include "util/CommandCapture.h"

namespace bm {
namespace {

class MachineContract : public ContractTest {};

TEST_F(MachineContract, OsVersionIsAWindowsNtVersion) {
  uint32_t major = 0, minor = 0, build = 0;
  ASSERT_TRUE(Os().QueryOsVersion(major, minor, build));
  EXPECT_GE(major, 5u);
  EXPECT_LE(major, 10u);
  EXPECT_LE(minor, 3u);
  EXPECT_GE(build, 2195u) << "Windows 2000's build is the lowest";
#ifdef _WIN32
  // ntdll's own answer, which no manifest changes either: the version block
  // was read at the offsets of this process's kind of PEB.
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion = reinterpret_cast<GetVersion>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
  ASSERT_NE(rtlGetVersion, nullptr);
  OSVERSIONINFOW real = {};
  real.dwOSVersionInfoSize = sizeof real;
  ASSERT_EQ(rtlGetVersion(&real), 0);
  EXPECT_EQ(major, real.dwMajorVersion);
  EXPECT_EQ(minor, real.dwMinorVersion);
  EXPECT_EQ(build, real.dwBuildNumber & 0xFFFF);
#endif
}

// A 32-bit process asks through WoW64: GetSystemWow64DirectoryA has an answer
// only on 64-bit Windows. A 64-bit process runs on 64-bit Windows by
// definition, and the call answers there too.
TEST_F(MachineContract, Is64BitWindowsAnswersForTheMachine) {
#ifdef _WIN32
  BOOL wow64 = FALSE;
  const bool processIs64Bit = sizeof(void*) == 8;
  ASSERT_TRUE(processIs64Bit || ::IsWow64Process(::GetCurrentProcess(), &wow64));
  const bool windowsIs64Bit = processIs64Bit || wow64;
  EXPECT_EQ(Is64BitWindows(Os()), windowsIs64Bit) << (processIs64Bit ? "64-bit process" : "32-bit process");
#else
  GTEST_SKIP() << "the simulated machine's bitness is a knob of the unit tests";
#endif
}

}  // namespace
}  // namespace bm
