#include "browsers/Catalogue.h"

#include "util/GbkText.h"
#include "util/RegistryObject.h"

namespace bm {

namespace {

using B = BrowserId;
using K = BrowserKind;
using P = PresenceTest;

// A Chromium-based browser whose profile lies below the user's profile folder.
BrowserEntry Chromium(B id, const char* name, const char* dataFolder, std::vector<const char*> files,
                      size_t buttonFiles, P oneClickPresence = P::KeyFile) {
  return {id,      K::Files, name,      name, name, ProfileBase::ProfileRoot, "", dataFolder, "\\Default",
          files,   buttonFiles, P::KeyFile, oneClickPresence, true, true, "", ""};
}

// One of the 360 browsers: its install folder from App Paths, its profile
// beside the program.
BrowserEntry Browser360(B id, const char* caption, const char* name, const char* entryName,
                        const char* notFoundText) {
  return {id,        K::Files,  caption, name, name, ProfileBase::AppPathsCut, entryName, "User Data",
          "\\Default", {"Bookmarks", "360Bookmarks"}, 2, P::AnyFile, P::AnyFile, true, false, notFoundText, ""};
}

// A Maxthon generation; all three share the button and the backup sub-folder.
BrowserEntry Maxthon(B id, const char* name, ProfileBase base, const char* entryName, const char* dataFolder,
                     const char* profileFolder, std::vector<const char*> files, bool lockfile,
                     P oneClickPresence = P::KeyFile) {
  return {id,    K::Maxthon, "遨游浏览器", name, "遨游浏览器", base, entryName, dataFolder, profileFolder,
          files, files.size(), P::KeyFile, oneClickPresence, lockfile, true, "", ""};
}

std::vector<BrowserEntry> Build() {
  std::vector<BrowserEntry> entries = {
      Chromium(B::Chrome, "谷歌浏览器", "\\appdata\\Local\\Google\\Chrome\\User Data", {"Bookmarks", "Bookmarks.bak"},
               2, P::AnyFile),
      {B::IE, K::FolderTree, "IE浏览器", "IE浏览器", "IE浏览器", ProfileBase::ProfileRoot, "", "\\Favorites", "", {}, 0,
       P::KeyFile, P::KeyFile, false, true, "", "未检测到IE浏览器书签目录文件"},
      // Its own button copies Bookmarks only; the one-click backup takes both.
      Chromium(B::Edge, "Edge浏览器", "\\appdata\\Local\\Microsoft\\Edge\\User Data", {"Bookmarks", "Bookmarks.bak"},
               1),
      {B::Sogou, K::Files, "搜狗浏览器", "搜狗浏览器", "搜狗浏览器", ProfileBase::ProfileRoot, "",
       "\\appdata\\Roaming\\Sogouexplorer", "", {"favorite2.dat", "favorite3.dat"}, 2, P::AnyFile, P::AnyFile,
       false, true, "", "", "", true},
      Chromium(B::TSBrowser, "极速浏览器", "\\appdata\\Local\\TSBrowser\\User Data", {"Bookmarks"}, 1),
      {B::Firefox, K::Firefox, "火狐浏览器", "火狐浏览器", "火狐浏览器", ProfileBase::ProfileRoot, "",
       "\\appdata\\Roaming\\Mozilla\\Firefox\\Profiles", "", {"places.sqlite"}, 1, P::KeyFile, P::KeyFile, false,
       true, "", "", "已复制火狐浏览器书签到目录"},
      Maxthon(B::Maxthon3, "遨游3浏览器", ProfileBase::ProfileRoot, "",
              "\\appdata\\Roaming\\Maxthon3\\Users\\guest\\Favorite", "", {"Favorite.dat"}, false),
      Maxthon(B::Maxthon5, "遨游5浏览器", ProfileBase::ProfileRoot, "",
              "\\appdata\\Roaming\\Maxthon5\\Users\\guest\\Molebox", "", {"Molebox.dat"}, false),
      Maxthon(B::Maxthon7, "遨游7浏览器", ProfileBase::AppPathsWhole, "Maxthon.exe", "\\User Data",
              "\\Maxthon Guest Profile", {"Bookmarks", "Bookmarks.bak"}, true, P::AnyFile),
      // The X of the third button's caption comes after 极速 in its folder and texts.
      Browser360(B::Speed360, "360极速浏览器", "360极速浏览器", "360chrome.exe",
                 "未找到360极速浏览器书签文件，请确认已安装360极速浏览器"),
      Browser360(B::Speed360X, "360极速浏览器X", "360极速X浏览器", "360chromeX.exe",
                 "未找到360极速X浏览器书签文件，请确认已安装360极速X浏览器"),
      Browser360(B::Safe360, "360安全浏览器", "360安全浏览器", "360se6.exe",
                 "未找到360安全浏览器书签文件，请确认已安装360安全浏览器"),
      Chromium(B::QQ, "QQ浏览器", "\\appdata\\Local\\Tencent\\QQBrowser\\User Data", {"Bookmarks_01"}, 1),
      Chromium(B::DualCoreSmall, "双核浏览器小", "\\appdata\\Local\\ChromeCore\\User Data", {"Favourites"}, 1),
      Chromium(B::DualCoreLarge, "双核浏览器大", "\\appdata\\Local\\Chromium\\GbrowserData", {"Bookmarks"}, 1),
      Chromium(B::Liebao, "猎豹浏览器", "\\appdata\\Local\\liebao\\User Data", {"Bookmarks"}, 1),
  };
  return entries;
}

}  // namespace

const std::vector<BrowserEntry>& Catalogue() {
  static const std::vector<BrowserEntry> entries = Build();
  return entries;
}

const BrowserEntry& Entry(BrowserId id) {
  // The catalogue lists every browser once, in the order of the ids.
  return Catalogue()[static_cast<size_t>(id)];
}

Text DataFolderOf(const BrowserEntry& entry, const Text& base) { return base + entry.dataFolder; }

Text ProfileFolderOf(const BrowserEntry& entry, const Text& base) {
  return DataFolderOf(entry, base) + entry.profileFolder;
}

Text FileIn(const Text& folder, const char* file) { return folder + "\\" + file; }

Text BackupFolderOf(const BrowserEntry& entry, const Text& backupFolder) {
  return FileIn(backupFolder, entry.backupFolder);
}

Text InstallFolderOf(Platform& os, const BrowserEntry& entry) {
  const Text path = RegistryObject().ReadText(os, Text(kAppPathsKey) + "\\" + entry.appPathsEntry, "Path");
  if (entry.base != ProfileBase::AppPathsCut) return path;
  const size_t last = LastBackslash(path);
  return last == Text::npos ? Text() : path.substr(0, last + 1);
}

}  // namespace bm

namespace bm {

std::vector<Text> ProfileBasesOf(Platform& os, const BrowserEntry& entry, const Text& profileRoot,
                                 const TextList& appPathsNames) {
  if (entry.base == ProfileBase::ProfileRoot) return {profileRoot};
  std::vector<Text> bases;
  for (const Text& name : appPathsNames) {
    if (name != entry.appPathsEntry) continue;
    const Text install = InstallFolderOf(os, entry);
    if (!install.empty()) bases.push_back(install);
  }
  return bases;
}

}  // namespace bm
