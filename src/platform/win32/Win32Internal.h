// Small helpers shared by the Win32 layer's sources: handle casts across the
// seam, wide-string views, and exports bound by name at run time.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Platform.h"

namespace bm::win32 {

// Posted to the main window when other threads have left texts or work for
// its thread.
constexpr UINT kPostedForWindowThread = WM_APP + 1;

inline HWND ToHwnd(uintptr_t handle) { return reinterpret_cast<HWND>(handle); }
inline HKEY ToHkey(uintptr_t handle) { return reinterpret_cast<HKEY>(handle); }
inline uintptr_t FromHandle(const void* handle) { return reinterpret_cast<uintptr_t>(handle); }

// On Windows wchar_t is a UTF-16 code unit, so the seam's u16string is the
// API's wide string as it is.
inline const wchar_t* Wide(const WideText& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline WideText FromWide(const wchar_t* text) {
  return text ? WideText(reinterpret_cast<const char16_t*>(text)) : WideText();
}

// An export looked up by name in a module the process has already loaded (or
// loads now); null when the module or the export is missing.
template <typename Function>
Function BoundExport(const char* module, const char* name) {
  HMODULE handle = ::GetModuleHandleA(module);
  if (!handle) handle = ::LoadLibraryA(module);
  if (!handle) return nullptr;
  // GetProcAddress hands back a generic function pointer; the caller names the
  // real signature.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(handle, name)));
}

// Registers a class for a top-level window of the program (its icon, arrow
// cursor, dialog-coloured background) unless it exists; false when it could not.
bool RegisterProgramWindowClass(const char* className, WNDPROC procedure);

}  // namespace bm::win32
