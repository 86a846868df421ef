// What the contract cases need besides the seam itself: a way to lay out and
// inspect files, registry keys and the Recycle Bin that does not go through the
// implementation under test. Each side (the simulated Windows, the real Win32
// layer under Wine) provides one; the cases are the same for both.
#pragma once

#include <memory>
#include <optional>

#include "platform/Platform.h"

namespace bm {

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
};

std::unique_ptr<ContractFixture> MakeContractFixture();

}  // namespace bm
