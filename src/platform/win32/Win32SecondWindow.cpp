// The second top-level window, shown modally over its owner; the clipboard's
// plain text; PathRemoveBlanksA; the colours of an edit box.
#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "platform/win32/Win32Internal.h"
#include "platform/win32/Win32Platform.h"

namespace bm {

using win32::FromHandle;
using win32::ToHwnd;

namespace {

constexpr char kSecondWindowClass[] = "BookmarkBackupSecondWindow";
// Like the main window, without a minimize box: it stands in front of its
// owner until it is closed.
constexpr DWORD kSecondWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kSecondWindowExStyle = WS_EX_CONTROLPARENT;

// Another program may hold the clipboard open for a moment.
bool OpenClipboardWithRetries(HWND owner) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (::OpenClipboard(owner)) return true;
    ::Sleep(10);
  }
  return false;
}

// A movable global block holding `size` bytes of `data`, as the clipboard takes it.
HGLOBAL GlobalCopy(const void* data, size_t size) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return nullptr;
  void* target = ::GlobalLock(block);
  if (!target) {
    ::GlobalFree(block);
    return nullptr;
  }
  ::CopyMemory(target, data, size);
  ::GlobalUnlock(block);
  return block;
}

// Hands a block to the clipboard, which owns it from then on.
bool PutOnClipboard(UINT format, HGLOBAL block) {
  if (!block) return false;
  if (::SetClipboardData(format, block)) return true;
  ::GlobalFree(block);
  return false;
}

}  // namespace

// The second window's procedure: the messages every window of the program
// answers, and closing, which hands the input back to the owner first.
struct Win32Platform::ModalWindowEvents {
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Platform*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    TopLevel* modal = self ? self->OpenWindowOf(FromHandle(window)) : nullptr;
    if (!modal) return ::DefWindowProcA(window, message, wParam, lParam);
    // Escape (IDCANCEL from the dialog navigation) closes it as its close box does.
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && lParam == 0)) {
      self->CloseWindow(modal->form.id);
      return 0;
    }
    intptr_t result = 0;
    if (self->CommonMessage(*modal, message, wParam, lParam, result)) return result;
    if (message == WM_NCDESTROY) {
      // The modal wait sees the window gone; its controls' ids are free again.
      modal->window = 0;
      self->ForgetControls(modal->form.id);
      ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
  }
};

bool Win32Platform::ShowModalWindow(const WindowSpec& window, const std::vector<ControlSpec>& controls,
                                    int ownerWindowId) {
  HWND owner = ToHwnd(WindowHandleOf(ownerWindowId));
  if (!owner || WindowHandleOf(window.id) || !ControlIdsFree(controls)) return false;
  if (!win32::RegisterProgramWindowClass(kSecondWindowClass, ModalWindowEvents::Proc)) return false;

  // A list keeps the record in place while nested windows come and go.
  const auto record = modals_.emplace(modals_.end());
  TopLevel& modal = *record;
  modal.form = window;
  modal.style = kSecondWindowStyle;
  modal.exStyle = kSecondWindowExStyle;
  modal.owner = FromHandle(owner);
  AddControls(window.id, controls);
  if (!CreateTopLevel(modal, kSecondWindowClass, modal.owner)) {
    ForgetControls(window.id);
    modals_.erase(record);
    return false;
  }

  HWND shown = ToHwnd(modal.window);
  // Zero when it was enabled; an owner already disabled stays so afterwards.
  modal.ownerWasEnabled = !::EnableWindow(owner, FALSE);
  ::ShowWindow(shown, SW_SHOWNORMAL);
  // Reported before the first paint, so that colours given by the handler are
  // the first ones drawn.
  if (sink_) sink_->OnWindowCreated(window.id);
  if (modal.window) ::UpdateWindow(shown);

  MSG message = {};
  while (modal.window) {
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // The program is ending: the quit belongs to the loop this wait returns to.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    // Tab and the mnemonics work as in a dialog.
    if (modal.window && ::IsDialogMessageA(ToHwnd(modal.window), &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  if (modal.window) CloseWindow(window.id);

  if (modal.ownerWasEnabled && ::IsWindow(owner)) {
    ::EnableWindow(owner, TRUE);
    if (!::GetActiveWindow()) ::SetActiveWindow(owner);
  }
  ReleaseFonts(modal.fonts);
  modals_.erase(record);
  return true;
}

uintptr_t Win32Platform::NewestWindow() const {
  for (auto modal = modals_.rbegin(); modal != modals_.rend(); ++modal) {
    if (modal->window) return modal->window;
  }
  return main_.window;
}

void Win32Platform::CloseWindow(int windowId) {
  TopLevel* open = OpenWindow(windowId);
  if (!open) return;
  // The owner takes input again before its modal window goes, so that
  // Windows hands the activation back to it rather than to another program.
  if (open->ownerWasEnabled && ::IsWindow(ToHwnd(open->owner))) ::EnableWindow(ToHwnd(open->owner), TRUE);
  ::DestroyWindow(ToHwnd(open->window));
}

bool Win32Platform::SetClipboardText(const Text& text) {
  // The clipboard belongs to our newest window, so that Windows has an owner
  // to note; without a window it belongs to no one.
  if (!OpenClipboardWithRetries(ToHwnd(NewestWindow()))) return false;
  bool filled = ::EmptyClipboard() != 0;
  const char* narrow = text.c_str();
  const size_t narrowSize = std::char_traits<char>::length(narrow) + 1;
  filled = filled && PutOnClipboard(CF_TEXT, GlobalCopy(narrow, narrowSize));
  // The same text in UTF-16, read as GBK whatever the system's code page.
  const int units = ::MultiByteToWideChar(936, 0, narrow, -1, nullptr, 0);
  if (filled && units > 0) {
    std::vector<wchar_t> wide(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(936, 0, narrow, -1, wide.data(), units);
    filled = PutOnClipboard(CF_UNICODETEXT, GlobalCopy(wide.data(), wide.size() * sizeof(wchar_t)));
    // Windows converts CF_TEXT for other readers with the locale given here.
    const LCID chinese = MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT);
    PutOnClipboard(CF_LOCALE, GlobalCopy(&chinese, sizeof chinese));
  }
  ::CloseClipboard();
  return filled;
}

Text Win32Platform::GetClipboardText() {
  if (!OpenClipboardWithRetries(ToHwnd(NewestWindow()))) return Text();
  Text text;
  if (HANDLE wide = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const wchar_t*>(::GlobalLock(wide))) {
      const int bytes = ::WideCharToMultiByte(936, 0, units, -1, nullptr, 0, nullptr, nullptr);
      if (bytes > 1) {
        std::vector<char> buffer(static_cast<size_t>(bytes), '\0');
        ::WideCharToMultiByte(936, 0, units, -1, buffer.data(), bytes, nullptr, nullptr);
        text.assign(buffer.data());
      }
      ::GlobalUnlock(wide);
    }
  } else if (HANDLE narrow = ::GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(::GlobalLock(narrow))) {
      text.assign(bytes);
      ::GlobalUnlock(narrow);
    }
  }
  ::CloseClipboard();
  return text;
}

Text Win32Platform::PathRemoveBlanksA(const Text& path) {
  std::vector<char> buffer(path.c_str(), path.c_str() + std::char_traits<char>::length(path.c_str()) + 1);
  ::PathRemoveBlanksA(buffer.data());
  return Text(buffer.data());
}

void Win32Platform::SetEditColors(int controlId, uint32_t textRgb, uint32_t backgroundRgb) {
  const auto found = controlIndex_.find(controlId);
  if (found == controlIndex_.end() || controls_[found->second].layout.kind != ControlKind::Edit) return;
  HWND edit = ToHwnd(controls_[found->second].window);
  if (!edit) return;
  HBRUSH brush = ::CreateSolidBrush(backgroundRgb);
  if (!brush) return;
  EditColors& colours = editColors_[controlId];
  const uintptr_t previous = colours.brush;
  colours = {textRgb, backgroundRgb, FromHandle(brush)};
  ::RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  // Nothing paints with the old brush any more.
  if (previous) ::DeleteObject(reinterpret_cast<HGDIOBJ>(previous));
}

}  // namespace bm
