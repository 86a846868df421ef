// The contract cases run against the simulated Windows, laid out and inspected
// through its knobs.
#include <chrono>
#include <memory>
#include <set>
#include <thread>

#include "contract/ContractFixture.h"
#include "platform/sim/SimPlatform.h"

namespace bm {
namespace {

// The simulation of "cmd.exe /c echo <text>": the text and a line end.
// Any other command line prints nothing.
SimCommand CommandInterpreter(SimPlatform& sim, const WideText& program, const WideText& commandLine) {
  SimCommand command;
  const Text path = sim.WideCharToMultiByte(936, program);
  if (!sim.IsFile(path)) {
    command.fails = true;
    return command;
  }
  const WideText echo = u" /c echo ";
  if (commandLine.compare(0, echo.size(), echo) == 0) {
    command.output = sim.WideCharToMultiByte(936, commandLine.substr(echo.size())) + "\r\n";
  }
  command.chunkSize = 7;  // several pieces, as a real pipe may hand them out
  return command;
}

class SimFixture : public ContractFixture {
 public:
  SimFixture() {
    sim_.WriteFile("C:\\Windows\\system32\\cmd.exe", "MZ");
    sim_.OnStartProcess([this](const WideText& program, const WideText& commandLine) {
      return CommandInterpreter(sim_, program, commandLine);
    });
  }

  Platform& Os() override { return sim_; }

  Text ScratchFolder() override {
    const Text folder = "D:\\contract";
    sim_.MakeFolders(folder);
    return folder;
  }

  Text MissingDriveFolder() override { return "Q:\\missing"; }

  bool WriteFile(const Text& path, const Text& content) override {
    return WriteFileW(sim_.MultiByteToWideChar(936, path), content);
  }

  std::optional<Text> ReadFile(const Text& path) override { return sim_.ReadFile(path); }

  bool MakeFolder(const Text& path) override { return sim_.MakeFolders(path); }

  bool SetAttributes(const Text& path, uint32_t attributes) override { return sim_.SetAttributes(path, attributes); }

  bool HoldOpen(const Text& path) override {
    if (!sim_.IsFile(path)) return false;
    sim_.HoldOpen(path);
    held_.insert(path);
    return true;
  }

  void ReleaseHeld() override {
    for (const Text& path : held_) {
      sim_.HoldOpen(path, false);
      sim_.HoldOpenSharingRead(path, false);
    }
    held_.clear();
  }

  Text ScratchRegKey() override {
    const Text key = "Software\\BookmarkBackupContract";
    sim_.CreateRegKey(RegRoot::CurrentUser, key);
    return key;
  }

  std::optional<bool> InRecycleBin(const Text& originalPath) override {
    return InRecycleBinW(sim_.MultiByteToWideChar(936, originalPath));
  }

  // The simulated box is answered as soon as it is shown: what it recorded,
  // once the other thread got that far.
  std::optional<WindowHandle> MessageBoxOwner(const Text& title, uint32_t waitMs) override {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    do {
      for (const ShownMessageBox& box : sim_.MessageBoxes()) {
        if (box.title == title) return box.owner;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
  }

  // An existing file keeps its attributes, as when it is opened and rewritten.
  bool WriteFileW(const WideText& path, const Text& content) override {
    const uint32_t existing = sim_.GetFileAttributesW(path);
    if (existing != kInvalidFileAttributes && (existing & kAttrDirectory)) return false;
    return sim_.WriteFileW(path, content, existing == kInvalidFileAttributes ? kAttrArchive : existing);
  }

  std::optional<Text> ReadFileW(const WideText& path) override { return sim_.ReadFileW(path); }

  bool HoldOpenSharingRead(const Text& path) override {
    if (!sim_.IsFile(path)) return false;
    sim_.HoldOpenSharingRead(path);
    held_.insert(path);
    return true;
  }

  std::optional<bool> InRecycleBinW(const WideText& originalPath) override {
    for (const RecycledItem& item : sim_.RecycleBin()) {
      if (item.originalWidePath == originalPath) return true;
    }
    return false;
  }

  void WhileModalWindowOpen(int windowId, std::function<void()> user) override {
    auto pending = std::make_shared<std::function<void()>>(std::move(user));
    sim_.OnModalWindowOpen([windowId, pending](int opened) {
      if (opened != windowId || !*pending) return;
      const std::function<void()> once = std::move(*pending);
      *pending = nullptr;
      once();
    });
  }

  void Click(int controlId) override { sim_.Click(controlId); }
  void DoubleClick(int controlId) override { sim_.DoubleClick(controlId); }
  bool WindowEnabled(int windowId) override { return sim_.WindowEnabled(windowId); }

  std::optional<EditPaint> EditPaintOf(int controlId) override {
    const std::optional<EditColors> colours = sim_.EditColorsOf(controlId);
    if (!colours) return std::nullopt;
    return EditPaint{colours->text, colours->background, colours->background};
  }

  std::optional<WideText> ClipboardUnicode() override {
    const std::optional<Text> text = sim_.ClipboardText();
    if (!text) return std::nullopt;
    return sim_.MultiByteToWideChar(936, *text);
  }

  bool PutUnicodeOnClipboard(const WideText& text) override {
    return sim_.SetClipboardText(sim_.WideCharToMultiByte(936, text));
  }

 private:
  SimPlatform sim_;
  std::set<Text> held_;
};

}  // namespace

std::unique_ptr<ContractFixture> MakeContractFixture() { return std::make_unique<SimFixture>(); }

}  // namespace bm
