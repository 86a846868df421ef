// Times a restore of 10,000 favourites (100 folders of 100 small .url files)
// over an existing tree: the safe tree replace, which copies beside the
// targets, sends the old files to the Recycle Bin in one shell operation and
// moves the copies into place, against the plain folder-tree copy; alternating,
// three runs each, then both medians and their ratio. Not a test:
// scripts/bench-safe-restore.sh runs it under Wine; built natively it runs on
// the simulated Windows, which only shows that it works.
//
//   bench-safe-restore [ROOT]   ROOT: an empty scratch folder (default D:\bench)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/Paths.h"
#include "app/SafeReplace.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Win32Platform.h"
#else
#include "platform/sim/SimPlatform.h"
#endif

namespace bm {
namespace {

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;
constexpr int kRuns = 3;

#ifdef _WIN32
using Machine = Win32Platform;

bool WriteWholeFile(Machine& os, const Text& path, const Text& content) {
  const WideText wide = ToWideText(os, path);
  HANDLE file = ::CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == content.size();
}
#else
using Machine = SimPlatform;

bool WriteWholeFile(Machine& os, const Text& path, const Text& content) { return os.WriteFile(path, content); }
#endif

// A favourites tree: `kFolders` folders of `kFilesPerFolder` shortcuts.
bool MakeTree(Machine& os, const Text& folder, const Text& marker) {
  if (!MakeFolderPath(os, folder)) return false;
  for (int f = 0; f < kFolders; ++f) {
    const Text sub = folder + "\\文件夹" + std::to_string(f);
    if (!MakeFolderPath(os, sub)) return false;
    for (int i = 0; i < kFilesPerFolder; ++i) {
      const Text url = "[InternetShortcut]\r\nURL=https://example.com/" + marker + "/" + std::to_string(f) + "/" +
                       std::to_string(i) + "\r\n";
      if (!WriteWholeFile(os, sub + "\\书签" + std::to_string(i) + ".url", url)) return false;
    }
  }
  return true;
}

double Milliseconds(const std::function<bool()>& restore, bool& ok) {
  const auto start = std::chrono::steady_clock::now();
  ok = restore() && ok;
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void PrintRuns(const char* label, const std::vector<double>& times) {
  std::printf("%-22s", label);
  for (double t : times) std::printf(" %9.1f ms", t);
  std::printf("   median %9.1f ms\n", Median(times));
}

int Run(const Text& root) {
  Machine os;
  const Text backup = root + "\\backup";
  const Text favourites = root + "\\favorites";
  if (!MakeTree(os, backup, "backup") || !MakeTree(os, favourites, "old")) {
    std::printf("could not lay out the trees below %s\n", root.c_str());
    return 1;
  }
  std::printf("%d favourites restored over an existing tree, %d runs each, alternating\n",
              kFolders * kFilesPerFolder, kRuns);
  std::vector<double> safe, plain;
  bool ok = true;
  for (int run = 0; run < kRuns; ++run) {
    safe.push_back(Milliseconds([&] { return SafeReplaceTree(os, backup, favourites); }, ok));
    plain.push_back(Milliseconds([&] { return CopyFolderTree(os, backup, favourites); }, ok));
  }
  PrintRuns("safe tree replace", safe);
  PrintRuns("plain folder copy", plain);
  std::printf("ratio safe / plain: %.2f\n", Median(safe) / Median(plain));
  if (!ok) std::printf("a restore reported a failure: the times do not measure whole restores\n");
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace bm

int main(int argc, char** argv) { return bm::Run(argc > 1 ? argv[1] : "D:\\bench"); }
