// Times the one-click backup of a heavy profile on the real program against a
// bare loop of CopyFileA over the same files, alternating, three runs each,
// and prints both medians and their ratio. Not a test: scripts/bench.sh builds
// the heavy profile and runs this under Wine.
//
// The profile: 10,000 small IE favourites in 100 folders, three Firefox
// profiles with a 100 MB places.sqlite each, and Chrome's two files of a few MB.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "../../src/app/Controls.h"
#include "e2e/Driver.h"

namespace bm::e2e {
namespace {

constexpr int kRuns = 3;
constexpr int kFolders = 100;
constexpr int kFavouritesPerFolder = 100;
constexpr size_t kFirefoxBytes = 100u << 20;
constexpr size_t kChromeBytes = 4u << 20;

using Clock = std::chrono::steady_clock;

struct Pair {
  std::string from;
  std::string to;  // relative to the target folder
};

// Lays the profile out and returns every file it holds, with where the
// one-click backup puts it.
std::vector<Pair> LayHeavyProfile() {
  std::vector<Pair> files;
  const auto put = [&](const std::string& live, const std::string& backup, const Bytes& content) {
    if (!WriteFileBytes(Expand(live), content)) std::printf("could not write %s\n", live.c_str());
    files.push_back({Expand(live), backup});
  };
  for (int f = 0; f < kFolders; ++f) {
    for (int i = 0; i < kFavouritesPerFolder; ++i) {
      const std::string name = "\\bench" + std::to_string(f) + "\\收藏" + std::to_string(i) + ".url";
      put("~\\Favorites" + name, "\\IE浏览器" + name,
          "[InternetShortcut]\r\nURL=https://example.com/" + std::to_string(f) + "/" + std::to_string(i) + "\r\n");
    }
  }
  for (int p = 0; p < 3; ++p) {
    const std::string profile = "bench" + std::to_string(p) + ".default";
    put("~\\appdata\\Roaming\\Mozilla\\Firefox\\Profiles\\" + profile + "\\places.sqlite",
        "\\火狐浏览器\\" + profile + "\\places.sqlite", Bytes(kFirefoxBytes, static_cast<char>('a' + p)));
  }
  for (const char* name : {"Bookmarks", "Bookmarks.bak"}) {
    put(std::string("~\\appdata\\Local\\Google\\Chrome\\User Data\\Default\\") + name,
        std::string("\\谷歌浏览器\\") + name, Bytes(kChromeBytes, 'c'));
  }
  return files;
}

// The bare loop: every file copied with CopyFileA, creating folders as needed.
double TimeCopyLoop(const std::vector<Pair>& files, const std::string& target) {
  const auto start = Clock::now();
  for (const Pair& file : files) {
    const std::string to = target + file.to;
    if (!CopyFileA(file.from.c_str(), to.c_str(), FALSE)) {
      MakeFolders(to.substr(0, to.find_last_of('\\')));
      CopyFileA(file.from.c_str(), to.c_str(), FALSE);
    }
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// From the press of 一键备份书签 to the notice; then waits for the notice to go.
double TimeOneClick(App& app) {
  const auto start = Clock::now();
  app.Click(bm::超级按钮_一键备份书签);
  HWND notice = app.WaitForBox("提示", 600000);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (!notice) std::printf("no notice came\n");
  app.WaitUntilGone(notice, 20000);
  return seconds;
}

// Counts what a tree walk finds, as the folder-tree copy walks Favorites.
size_t Walk(const std::wstring& folder) {
  size_t found = 0;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    ++found;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) found += Walk(folder + L"\\" + name);
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return found;
}

// Where the time goes: the small favourites against the large files, and the
// walk over the favourites alone.
void Breakdown(const std::vector<Pair>& files) {
  std::vector<Pair> small, large;
  for (const Pair& file : files) (file.to.find("IE") != std::string::npos ? small : large).push_back(file);
  const double smallSeconds = TimeCopyLoop(small, "D:\\bench-copy");
  const double largeSeconds = TimeCopyLoop(large, "D:\\bench-copy");
  const auto start = Clock::now();
  const size_t walked = Walk(Wide(Expand("~\\Favorites")));
  const double walkSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("where the time goes: CopyFileA of %zu favourites %.2f s, of %zu large files %.2f s; "
              "a walk over Favorites (%zu entries) %.2f s\n",
              small.size(), smallSeconds, large.size(), largeSeconds, walked, walkSeconds);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

int Run() {
  std::printf("laying out the heavy profile...\n");
  const std::vector<Pair> files = LayHeavyProfile();
  App app;
  if (!app.Start()) {
    std::printf("the program did not start\n");
    return 1;
  }
  std::vector<double> oneClick, copyLoop;
  for (int run = 0; run < kRuns; ++run) {
    oneClick.push_back(TimeOneClick(app));
    copyLoop.push_back(TimeCopyLoop(files, "D:\\bench-copy"));
    std::printf("run %d: one-click backup %.2f s, CopyFileA loop %.2f s\n", run + 1, oneClick.back(),
                copyLoop.back());
  }
  const std::string summary = app.Text(bm::标签_文字);
  app.Close();
  const double ratio = Median(oneClick) / Median(copyLoop);
  std::printf("files: %zu; median one-click backup %.2f s; median CopyFileA loop %.2f s; ratio %.3f (goal: at most 1.10)\n",
              files.size(), Median(oneClick), Median(copyLoop), ratio);
  if (summary.find("IE") == std::string::npos) std::printf("the run's summary lacks IE: the timing is suspect\n");
  if (ratio > 1.10) Breakdown(files);
  return 0;
}

}  // namespace
}  // namespace bm::e2e

int main() { return bm::e2e::Run(); }
