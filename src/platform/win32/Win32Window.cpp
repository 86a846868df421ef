// The program's main window: built from the control table it is handed,
// scaled to the display's DPI, and turning control notifications into the
// event sink's calls. The modal second window (Win32SecondWindow.cpp) is made
// and laid out by the same code.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <set>
#include <vector>

#include "platform/win32/Win32Internal.h"
#include "platform/win32/Win32Platform.h"

namespace bm {

using win32::FromHandle;
using win32::ToHwnd;

namespace {

constexpr char kMainWindowClass[] = "BookmarkBackupMainWindow";
// No WS_CLIPCHILDREN: a group box does not paint its inside, the window's
// background shows through it.
constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kMainWindowExStyle = WS_EX_CONTROLPARENT;
constexpr int kBaseDpi = USER_DEFAULT_SCREEN_DPI;
// Room kept free right of and below the controls when the window's own size
// would not hold them.
constexpr int kMinimumMargin = 8;
// What a control's font is measured against when no face is given.
constexpr int kDefaultFontHeight = 12;

int Scale(int value, int dpi) { return ::MulDiv(value, dpi, kBaseDpi); }

// DPI functions of Windows 10 1607 and later, looked up so that the program
// still starts on older systems, which fall back to the screen's one DPI.
using DpiForWindow = UINT(WINAPI*)(HWND);
using DpiForSystem = UINT(WINAPI*)();
using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using ParametersForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

int SystemDpi() {
  if (const auto forSystem = win32::BoundExport<DpiForSystem>("user32.dll", "GetDpiForSystem")) {
    const UINT dpi = forSystem();
    if (dpi) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

int WindowDpi(HWND window) {
  if (const auto forWindow = win32::BoundExport<DpiForWindow>("user32.dll", "GetDpiForWindow")) {
    const UINT dpi = forWindow(window);
    if (dpi) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

// The frame Windows puts around a client rectangle of a window of this style at `dpi`.
RECT FrameAt(int dpi, DWORD style, DWORD exStyle) {
  RECT frame = {0, 0, 0, 0};
  if (const auto adjust = win32::BoundExport<AdjustForDpi>("user32.dll", "AdjustWindowRectExForDpi")) {
    if (adjust(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))) return frame;
  }
  // Without per-DPI metrics the frame is the system DPI's, scaled.
  ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int systemDpi = SystemDpi();
  frame.left = ::MulDiv(frame.left, dpi, systemDpi);
  frame.top = ::MulDiv(frame.top, dpi, systemDpi);
  frame.right = ::MulDiv(frame.right, dpi, systemDpi);
  frame.bottom = ::MulDiv(frame.bottom, dpi, systemDpi);
  return frame;
}

// The system's UI message font, as Windows would draw it at `dpi`.
LOGFONTW MessageFontAt(int dpi) {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  if (const auto forDpi = win32::BoundExport<ParametersForDpi>("user32.dll", "SystemParametersInfoForDpi")) {
    if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
      return metrics.lfMessageFont;
    }
  }
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
    return metrics.lfMessageFont;
  }
  LOGFONTW fallback = {};
  fallback.lfHeight = -Scale(kDefaultFontHeight, dpi);
  fallback.lfWeight = FW_NORMAL;
  fallback.lfCharSet = DEFAULT_CHARSET;
  return fallback;
}

bool SameFont(const FontSpec& a, const FontSpec& b) {
  return a.face == b.face && a.height == b.height && a.weight == b.weight;
}

// A label too low for two lines of its font is a one-line caption: it is
// centred vertically, as beside the combo box. Taller labels wrap.
bool IsOneLineLabel(const ControlSpec& layout) {
  const int fontHeight = layout.font.height > 0 ? layout.font.height : kDefaultFontHeight;
  return layout.height < 2 * (fontHeight * 4 / 3);
}

struct WindowClass {
  const char* name;
  DWORD style;
  DWORD exStyle;
};

WindowClass ClassFor(const ControlSpec& layout, bool startsGroup) {
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (startsGroup ? WS_GROUP : 0);
  switch (layout.kind) {
    case ControlKind::Button:
      return {"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::RadioButton:
      return {"BUTTON", child | WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
    case ControlKind::GroupBox:
      // Its children take part in keyboard navigation as the window's own.
      return {"BUTTON", child | BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::Label:
      // Status texts may hold "&" (in paths); it is shown, not taken as a mnemonic.
      return {"STATIC",
              child | SS_LEFT | SS_NOPREFIX | SS_NOTIFY | (IsOneLineLabel(layout) ? SS_CENTERIMAGE : SS_EDITCONTROL),
              0};
    case ControlKind::ComboBox:
      return {"COMBOBOX", child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::Edit:
      return {"EDIT", child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
  }
  return {"STATIC", child, 0};
}

// A drop-down list's window height includes its opened list: room for every
// item (up to a screenful of ten) below the selection field.
int ComboWindowHeight(const ControlSpec& layout, int dpi) {
  const int rows = static_cast<int>(std::min<size_t>(std::max<size_t>(layout.items.size(), 1), 10));
  return Scale(layout.height, dpi) * (rows + 1) + Scale(4, dpi);
}

}  // namespace

bool win32::RegisterProgramWindowClass(const char* className, WNDPROC procedure) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  if (::GetClassInfoExA(instance, className, &windowClass)) return true;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  // The program's icon is resource 1 of the exe; a host without it (a test
  // program) gets the system's.
  windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(1));
  windowClass.hIconSm = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                        ::GetSystemMetrics(SM_CXSMICON),
                                                        ::GetSystemMetrics(SM_CYSMICON), 0));
  if (!windowClass.hIcon) windowClass.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  return ::RegisterClassExA(&windowClass) != 0;
}

// The window procedures: they find the layer through the window's user data
// (the main window) or the subclass reference data (group boxes, edit boxes).
struct Win32Platform::WindowEvents {
  static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Platform*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
    intptr_t result = 0;
    if (self->main_.window == FromHandle(window) &&
        self->CommonMessage(self->main_, message, wParam, lParam, result)) {
      return result;
    }
    switch (message) {
      case win32::kPostedForWindowThread:
        self->DeliverPosted();
        return 0;
      case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
      case WM_NCDESTROY:
        self->MailWindow(0);
        self->main_.window = 0;
        self->ForgetControls(self->main_.form.id);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        break;
      default:
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
  }

  // A group box keeps its children's notifications and colour requests to
  // itself; they belong to the window, where the handlers are.
  static LRESULT CALLBACK GroupBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR) {
    if (message == WM_COMMAND || message == WM_NOTIFY || message == WM_CTLCOLORBTN ||
        message == WM_CTLCOLORSTATIC || message == WM_CTLCOLOREDIT) {
      return ::SendMessageA(::GetParent(window), message, wParam, lParam);
    }
    if (message == WM_PRINTCLIENT) {
      // A themed child paints its background by having the box print itself
      // into the child's DC; the box must not leave its own font selected
      // there, or the child's caption comes out in it.
      HDC dc = reinterpret_cast<HDC>(wParam);
      const int saved = ::SaveDC(dc);
      const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
      if (saved) ::RestoreDC(dc, saved);
      return result;
    }
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(window, GroupBoxProc, 0);
    return ::DefSubclassProc(window, message, wParam, lParam);
  }

  // Edit boxes send no notification for a double click.
  static LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR reference) {
    if (message == WM_LBUTTONDBLCLK) {
      const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
      reinterpret_cast<Win32Platform*>(reference)->Report(::GetDlgCtrlID(window), ControlEvent::DoubleClicked);
      return result;
    }
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(window, EditProc, 0);
    return ::DefSubclassProc(window, message, wParam, lParam);
  }
};

Win32Platform::Win32Platform() = default;

Win32Platform::~Win32Platform() {
  WaitForStartedThreads();
  if (main_.window) ::DestroyWindow(ToHwnd(main_.window));
  ReleaseFonts(main_.fonts);
  for (const auto& entry : editColors_) ::DeleteObject(reinterpret_cast<HGDIOBJ>(entry.second.brush));
}

void Win32Platform::SetEventSink(EventSink* sink) { sink_ = sink; }

void Win32Platform::Report(int controlId, ControlEvent event) {
  if (sink_) sink_->OnControlEvent(controlId, event);
}

void Win32Platform::Notified(int controlId, int code) {
  const auto found = controlIndex_.find(controlId);
  if (found == controlIndex_.end()) return;
  switch (controls_[found->second].layout.kind) {
    case ControlKind::Button:
    case ControlKind::RadioButton:
      if (code == BN_CLICKED) Report(controlId, ControlEvent::Clicked);
      break;
    case ControlKind::ComboBox:
      if (code == CBN_SELCHANGE) Report(controlId, ControlEvent::SelectionChanged);
      break;
    case ControlKind::Label:
      if (code == STN_DBLCLK) Report(controlId, ControlEvent::DoubleClicked);
      break;
    case ControlKind::GroupBox:
    case ControlKind::Edit:
      break;
  }
}

bool Win32Platform::CommonMessage(TopLevel& window, unsigned message, uintptr_t wParam, intptr_t lParam,
                                  intptr_t& result) {
  switch (message) {
    case WM_COMMAND:
      if (lParam) Notified(LOWORD(wParam), HIWORD(wParam));
      result = 0;
      return true;
    case WM_DPICHANGED: {
      // Windows proposes where the window goes on the new monitor; its size
      // follows from the controls.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      LayOut(window, LOWORD(wParam), suggested->left, suggested->top);
      result = 0;
      return true;
    }
    case WM_CTLCOLOREDIT: {
      // An edit box the program gave colours to; the others are drawn as usual.
      const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      const auto colours = editColors_.find(id);
      if (colours == editColors_.end() || Hwnd(id) != static_cast<uintptr_t>(lParam)) return false;
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, colours->second.text);
      ::SetBkColor(dc, colours->second.background);
      result = static_cast<intptr_t>(colours->second.brush);
      return true;
    }
    default:
      return false;
  }
}

bool Win32Platform::CreateMainWindow(const WindowSpec& window, const std::vector<ControlSpec>& controls) {
  if (main_.window) return false;
  if (!win32::RegisterProgramWindowClass(kMainWindowClass, WindowEvents::MainProc)) return false;
  ReleaseFonts(main_.fonts);
  main_ = TopLevel();
  main_.form = window;
  main_.style = kMainWindowStyle;
  main_.exStyle = kMainWindowExStyle;
  AddControls(window.id, controls);
  if (!CreateTopLevel(main_, kMainWindowClass, 0)) {
    ForgetControls(window.id);
    return false;
  }
  MailWindow(main_.window);
  HWND main = ToHwnd(main_.window);
  ::ShowWindow(main, SW_SHOWNORMAL);
  ::UpdateWindow(main);
  if (sink_) sink_->OnWindowCreated(window.id);
  return true;
}

void Win32Platform::AddControls(int windowId, const std::vector<ControlSpec>& controls) {
  for (const ControlSpec& layout : controls) {
    controlIndex_[layout.id] = controls_.size();
    controls_.push_back({layout, 0, windowId});
  }
}

bool Win32Platform::ControlIdsFree(const std::vector<ControlSpec>& controls) const {
  std::set<int> ids;
  for (const ControlSpec& layout : controls) {
    if (controlIndex_.count(layout.id) || !ids.insert(layout.id).second) return false;
  }
  return true;
}

void Win32Platform::ForgetControls(int windowId) {
  for (auto colours = editColors_.begin(); colours != editColors_.end();) {
    const auto found = controlIndex_.find(colours->first);
    if (found == controlIndex_.end() || controls_[found->second].windowId == windowId) {
      ::DeleteObject(reinterpret_cast<HGDIOBJ>(colours->second.brush));
      colours = editColors_.erase(colours);
    } else {
      ++colours;
    }
  }
  controls_.erase(std::remove_if(controls_.begin(), controls_.end(),
                                 [windowId](const Control& control) { return control.windowId == windowId; }),
                  controls_.end());
  controlIndex_.clear();
  for (size_t i = 0; i < controls_.size(); ++i) controlIndex_[controls_[i].layout.id] = i;
}

bool Win32Platform::CreateTopLevel(TopLevel& window, const char* className, uintptr_t owner) {
  INITCOMMONCONTROLSEX common = {sizeof common, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&common);
  HINSTANCE instance = ::GetModuleHandleA(nullptr);

  // Created at the system DPI, then laid out for the DPI of the monitor the
  // window landed on.
  const WindowSpec& form = window.form;
  const int systemDpi = SystemDpi();
  HWND top = ::CreateWindowExA(window.exStyle, className, form.title.c_str(), window.style, Scale(form.x, systemDpi),
                               Scale(form.y, systemDpi), Scale(form.width, systemDpi),
                               Scale(form.height, systemDpi), ToHwnd(owner), nullptr, instance, this);
  if (!top) return false;
  window.window = FromHandle(top);

  int previousParent = -1;
  ControlKind previousKind = ControlKind::Button;
  for (Control& control : controls_) {
    if (control.windowId != form.id) continue;
    const ControlSpec& layout = control.layout;
    HWND parent = layout.parentId ? ToHwnd(Hwnd(layout.parentId)) : top;
    if (!parent) parent = top;
    // Radio buttons form one group per run of siblings; every other control
    // closes the run before it.
    const bool continuesRadioRun = layout.kind == ControlKind::RadioButton &&
                                   previousKind == ControlKind::RadioButton && previousParent == layout.parentId;
    const WindowClass kind = ClassFor(layout, !continuesRadioRun);
    HWND child = ::CreateWindowExA(kind.exStyle, kind.name, layout.caption.c_str(), kind.style, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
    control.window = FromHandle(child);
    previousKind = layout.kind;
    previousParent = layout.parentId;
    if (!child) continue;
    for (const Text& item : layout.items) ::SendMessageA(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (layout.kind == ControlKind::GroupBox) {
      ::SetWindowSubclass(child, WindowEvents::GroupBoxProc, 0, 0);
    } else if (layout.kind == ControlKind::Edit) {
      ::SetWindowSubclass(child, WindowEvents::EditProc, 0, reinterpret_cast<DWORD_PTR>(this));
    }
  }

  // Group boxes go beneath their siblings, so that controls lying on a box's
  // frame stay on top of it, for painting and for the mouse.
  for (const Control& control : controls_) {
    if (control.windowId == form.id && control.layout.kind == ControlKind::GroupBox && control.window) {
      ::SetWindowPos(ToHwnd(control.window), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }

  const int dpi = WindowDpi(top);
  LayOut(window, dpi, Scale(form.x, dpi), Scale(form.y, dpi));
  return true;
}

void Win32Platform::LayOut(TopLevel& window, int dpi, int left, int top) {
  HWND frameWindow = ToHwnd(window.window);
  if (!frameWindow) return;
  window.dpi = dpi;

  // The client area at 96 DPI is what the window's outer size leaves inside
  // its frame, grown if it would not hold every control.
  const RECT frame96 = FrameAt(kBaseDpi, window.style, window.exStyle);
  int clientWidth = window.form.width - (frame96.right - frame96.left);
  int clientHeight = window.form.height - (frame96.bottom - frame96.top);
  for (const Control& control : controls_) {
    if (control.windowId != window.form.id || control.layout.parentId != 0) continue;
    clientWidth = std::max(clientWidth, control.layout.x + control.layout.width + kMinimumMargin);
    clientHeight = std::max(clientHeight, control.layout.y + control.layout.height + kMinimumMargin);
  }
  RECT outer = {0, 0, Scale(clientWidth, dpi), Scale(clientHeight, dpi)};
  const RECT frame = FrameAt(dpi, window.style, window.exStyle);
  outer.left += frame.left;
  outer.top += frame.top;
  outer.right += frame.right;
  outer.bottom += frame.bottom;
  ::SetWindowPos(frameWindow, nullptr, left, top, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);

  std::vector<CachedFont> previous;
  previous.swap(window.fonts);
  for (const Control& control : controls_) {
    HWND child = ToHwnd(control.window);
    if (!child || control.windowId != window.form.id) continue;
    const ControlSpec& layout = control.layout;
    const int height = layout.kind == ControlKind::ComboBox ? ComboWindowHeight(layout, dpi) : Scale(layout.height, dpi);
    ::SetWindowPos(child, nullptr, Scale(layout.x, dpi), Scale(layout.y, dpi), Scale(layout.width, dpi), height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(FontFor(window, layout.font, dpi)), TRUE);
  }
  // The controls hold the new fonts now; the old ones can go.
  ReleaseFonts(previous);
  ::InvalidateRect(frameWindow, nullptr, TRUE);
}

uintptr_t Win32Platform::FontFor(TopLevel& window, const FontSpec& font, int dpi) {
  for (const CachedFont& cached : window.fonts) {
    if (SameFont(cached.layout, font)) return cached.font;
  }
  HFONT made = nullptr;
  if (font.face.empty()) {
    const LOGFONTW message = MessageFontAt(dpi);
    made = ::CreateFontIndirectW(&message);
  } else {
    made = ::CreateFontA(-Scale(font.height, dpi), 0, 0, 0, font.weight, FALSE, FALSE, FALSE, GB2312_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                         font.face.c_str());
  }
  window.fonts.push_back({font, FromHandle(made)});
  return FromHandle(made);
}

void Win32Platform::ReleaseFonts(std::vector<CachedFont>& fonts) {
  for (const CachedFont& cached : fonts) {
    if (cached.font) ::DeleteObject(reinterpret_cast<HGDIOBJ>(cached.font));
  }
  fonts.clear();
}

int Win32Platform::RunMessageLoop() {
  if (!main_.window) return 0;
  MSG message = {};
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    // Tab, the arrow keys between the radio buttons and the mnemonics work as
    // in a dialog.
    if (main_.window && ::IsDialogMessageA(ToHwnd(main_.window), &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

void Win32Platform::PumpMessages() {
  MSG message = {};
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The window was closed while a handler was busy: the quit belongs to the
      // message loop the handler returns to.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

Win32Platform::TopLevel* Win32Platform::OpenWindow(int windowId) {
  if (main_.window && main_.form.id == windowId) return &main_;
  for (TopLevel& modal : modals_) {
    if (modal.window && modal.form.id == windowId) return &modal;
  }
  return nullptr;
}

Win32Platform::TopLevel* Win32Platform::OpenWindowOf(uintptr_t hwnd) {
  if (!hwnd) return nullptr;
  if (main_.window == hwnd) return &main_;
  for (TopLevel& modal : modals_) {
    if (modal.window == hwnd) return &modal;
  }
  return nullptr;
}

WindowHandle Win32Platform::WindowHandleOf(int windowId) const {
  if (main_.window && main_.form.id == windowId) return main_.window;
  for (const TopLevel& modal : modals_) {
    if (modal.window && modal.form.id == windowId) return modal.window;
  }
  return 0;
}

uintptr_t Win32Platform::Hwnd(int id) const {
  const auto found = controlIndex_.find(id);
  return found == controlIndex_.end() ? 0 : controls_[found->second].window;
}

WindowHandle Win32Platform::ControlWindow(int id) { return Hwnd(id); }

bool Win32Platform::IsButtonChecked(int id) {
  HWND button = ToHwnd(Hwnd(id));
  return button && ::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int Win32Platform::ComboSelectedIndex(int id) {
  HWND combo = ToHwnd(Hwnd(id));
  if (!combo) return -1;
  const LRESULT index = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

int Win32Platform::ComboItemCount(int id) {
  HWND combo = ToHwnd(Hwnd(id));
  if (!combo) return 0;
  const LRESULT count = ::SendMessageA(combo, CB_GETCOUNT, 0, 0);
  return count == CB_ERR ? 0 : static_cast<int>(count);
}

Text Win32Platform::ComboItemText(int id, int index) {
  HWND combo = ToHwnd(Hwnd(id));
  if (!combo || index < 0 || index >= ComboItemCount(id)) return Text();
  const LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR || length <= 0) return Text();
  std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied =
      ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  if (copied == CB_ERR) return Text();
  return Text(buffer.data(), static_cast<size_t>(std::min<LRESULT>(copied, length)));
}

void Win32Platform::ComboSelect(int id, int index) {
  if (HWND combo = ToHwnd(Hwnd(id))) ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32Platform::SetControlText(int id, const Text& text) {
  DropPostedText(id);
  WriteControlText(id, text);
}

void Win32Platform::WriteControlText(int id, const Text& text) {
  if (HWND control = ToHwnd(Hwnd(id))) ::SetWindowTextA(control, text.c_str());
}

Text Win32Platform::GetControlText(int id) {
  HWND control = ToHwnd(Hwnd(id));
  if (!control) return Text();
  const int length = ::GetWindowTextLengthA(control);
  if (length <= 0) return Text();
  std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(control, buffer.data(), length + 1);
  return Text(buffer.data(), static_cast<size_t>(std::max(copied, 0)));
}

}  // namespace bm
