// What the contract cases need besides the seam itself: a way to lay out and
// inspect files, registry keys and the Recycle Bin that does not go through the
// implementation under test. Each side (the simulated Windows, the real Win32
// layer under Wine) provides one; the cases are the same for both.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/Platform.h"

namespace bm {

// How an edit box is painted, as its window answers WM_CTLCOLOREDIT (Rgb values).
struct EditPaint {
  uint32_t text = 0;        // the letters
  uint32_t behindText = 0;  // the cells behind the letters
  uint32_t background = 0;  // the rest of the box
  bool operator==(const EditPaint& other) const {
    return text == other.text && behindText == other.behindText && background == other.background;
  }
};

class ContractFixture {
 public:
  virtual ~ContractFixture() = default;
  // The implementation under test.
  virtual Platform& Os() = 0;
  // A fresh, empty folder on a writable drive ("X:\..." without a trailing
  // backslash), removed again when the fixture goes.
  virtual Text ScratchFolder() = 0;
  // A folder path on a drive letter that does not exist.
  virtual Text MissingDriveFolder() = 0;
  virtual bool WriteFile(const Text& path, const Text& content) = 0;
  virtual std::optional<Text> ReadFile(const Text& path) = 0;
  virtual bool MakeFolder(const Text& path) = 0;
  virtual bool SetAttributes(const Text& path, uint32_t attributes) = 0;
  // Opens the file without sharing, as a running browser holds its bookmarks,
  // until ReleaseHeld.
  virtual bool HoldOpen(const Text& path) = 0;
  virtual void ReleaseHeld() = 0;
  // A fresh, empty key below HKEY_CURRENT_USER (the path below the root),
  // removed again when the fixture goes.
  virtual Text ScratchRegKey() = 0;
  // Whether a file that lay at `originalPath` is now in the Recycle Bin;
  // nullopt when this side cannot look into the bin.
  virtual std::optional<bool> InRecycleBin(const Text& originalPath) = 0;
  // The owner of the message box titled `title` that another thread of this
  // process shows: the real side waits up to `waitMs` for it to appear,
  // running this thread's messages meanwhile. nullopt when none appeared.
  virtual std::optional<WindowHandle> MessageBoxOwner(const Text& title, uint32_t waitMs) = 0;

  // ---- names GBK cannot write, files held open letting others read ----------------
  virtual bool WriteFileW(const WideText& path, const Text& content) = 0;
  virtual std::optional<Text> ReadFileW(const WideText& path) = 0;
  // Opens the file letting others only read it, as a running Chromium browser
  // holds its lock file, until ReleaseHeld.
  virtual bool HoldOpenSharingRead(const Text& path) = 0;
  virtual std::optional<bool> InRecycleBinW(const WideText& originalPath) = 0;

  // ---- the user at the program's windows ------------------------------------------
  // `user` runs once while the program's modal window `windowId` is open and
  // its wait runs, as the user at that window; when it returns with the
  // window still open, the user closes it with its close box.
  virtual void WhileModalWindowOpen(int windowId, std::function<void()> user) = 0;
  // The user clicks a button, or double-clicks a control.
  virtual void Click(int controlId) = 0;
  virtual void DoubleClick(int controlId) = 0;
  // Whether the program's window `windowId` is open and takes input.
  virtual bool WindowEnabled(int windowId) = 0;
  // How the edit box is painted once the program gave it colours.
  virtual std::optional<EditPaint> EditPaintOf(int controlId) = 0;
  // The clipboard's CF_UNICODETEXT as any program reads it; nullopt when it has none.
  virtual std::optional<WideText> ClipboardUnicode() = 0;
  // Another program puts only CF_UNICODETEXT on the clipboard.
  virtual bool PutUnicodeOnClipboard(const WideText& text) = 0;
};

std::unique_ptr<ContractFixture> MakeContractFixture();

}  // namespace bm
