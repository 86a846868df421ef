// Worker threads beside the window's thread. A worker never waits for the
// window's thread: what it has for the windows (a control's newest text, work
// to run) is left under a lock, and one posted message tells the window's
// thread, which takes it when it handles its messages. The window's thread in
// turn answers sent messages while it waits for a worker, so a worker that
// reads a control or shows a box owned by the main window gets its answer.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/win32/Win32Internal.h"
#include "platform/win32/Win32Platform.h"

namespace bm {

using win32::FromHandle;
using win32::ToHwnd;

namespace {

HANDLE ToHandle(uintptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

DWORD WINAPI RunBody(LPVOID parameter) {
  const std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  (*body)();
  return 0;
}

// Runs the messages other threads have sent to this thread's windows, and no
// posted ones.
void AnswerSentMessages() {
  MSG message;
  ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

// ---- threads ------------------------------------------------------------------------

ThreadHandle Win32Platform::StartThread(std::function<void()> body) {
  auto* owned = new std::function<void()>(std::move(body));
  // Started suspended so that a thread we could not keep a handle of never runs.
  HANDLE thread = ::CreateThread(nullptr, 0, RunBody, owned, CREATE_SUSPENDED, nullptr);
  if (!thread) {
    delete owned;
    return 0;
  }
  HANDLE ours = nullptr;
  if (!::DuplicateHandle(::GetCurrentProcess(), thread, ::GetCurrentProcess(), &ours, SYNCHRONIZE, FALSE, 0)) {
    ::TerminateThread(thread, 1);
    ::CloseHandle(thread);
    delete owned;
    return 0;
  }
  {
    std::lock_guard<std::mutex> lock(mail_.lock);
    // Threads that have ended need no waiting for any more.
    auto ended = std::remove_if(mail_.started.begin(), mail_.started.end(), [](uintptr_t started) {
      if (::WaitForSingleObject(ToHandle(started), 0) != WAIT_OBJECT_0) return false;
      ::CloseHandle(ToHandle(started));
      return true;
    });
    mail_.started.erase(ended, mail_.started.end());
    mail_.started.push_back(FromHandle(ours));
  }
  ::ResumeThread(thread);
  return FromHandle(thread);
}

// A worker's SendMessage to our windows (a cross-thread read of a control; the
// owner being disabled for the worker's message box) waits until this thread
// answers, so the wait answers sent messages as they come.
bool Win32Platform::WaitForThread(ThreadHandle thread, uint32_t timeoutMs) {
  if (!thread) return false;
  HANDLE handle = ToHandle(thread);
  const DWORD start = ::GetTickCount();
  for (;;) {
    AnswerSentMessages();
    DWORD left = INFINITE;
    if (timeoutMs != kInfinite) {
      const DWORD elapsed = ::GetTickCount() - start;
      left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
    }
    const DWORD woken = ::MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken != WAIT_OBJECT_0 + 1) return false;  // timed out, or not a thread
  }
}

void Win32Platform::CloseThread(ThreadHandle thread) {
  if (thread) ::CloseHandle(ToHandle(thread));
}

void Win32Platform::WaitForStartedThreads() {
  for (;;) {
    std::vector<uintptr_t> started;
    {
      std::lock_guard<std::mutex> lock(mail_.lock);
      started.swap(mail_.started);
    }
    if (started.empty()) return;
    for (uintptr_t thread : started) {
      WaitForThread(thread, kInfinite);
      ::CloseHandle(ToHandle(thread));
    }
  }
}

// ---- posting to the window's thread ------------------------------------------------------

void Win32Platform::MailWindow(uintptr_t window) {
  std::lock_guard<std::mutex> lock(mail_.lock);
  mail_.window = window;
  mail_.windowThread = window ? ::GetCurrentThreadId() : 0;
  if (!window) mail_.posted.Clear();
  mail_.notified = false;
}

bool Win32Platform::OnWindowThread() {
  std::lock_guard<std::mutex> lock(mail_.lock);
  return mail_.windowThread != 0 && mail_.windowThread == ::GetCurrentThreadId();
}

bool Win32Platform::Enqueue(const std::function<void(PostedQueue&)>& post) {
  std::lock_guard<std::mutex> lock(mail_.lock);
  if (!mail_.window) return false;
  post(mail_.posted);
  // One message tells of everything queued until the window's thread takes it.
  if (!mail_.notified) mail_.notified = ::PostMessageA(ToHwnd(mail_.window), win32::kPostedForWindowThread, 0, 0) != 0;
  return true;
}

void Win32Platform::PostControlText(int controlId, const Text& text) {
  if (OnWindowThread()) {
    SetControlText(controlId, text);
    return;
  }
  Enqueue([&](PostedQueue& posted) { posted.PostText(controlId, text); });
}

bool Win32Platform::PostToWindowThread(std::function<void()> work) {
  if (!work) return false;
  return Enqueue([&](PostedQueue& posted) { posted.PostWork(std::move(work)); });
}

void Win32Platform::DropPostedText(int controlId) {
  std::lock_guard<std::mutex> lock(mail_.lock);
  mail_.posted.DropTexts(controlId);
}

void Win32Platform::DeliverPosted() {
  // One item at a time: work that writes a control itself drops what was posted
  // for it before.
  for (;;) {
    PostedQueue::Item item;
    {
      std::lock_guard<std::mutex> lock(mail_.lock);
      if (!mail_.posted.Take(item)) {
        mail_.notified = false;
        return;
      }
    }
    if (item.work) {
      item.work();
    } else {
      WriteControlText(item.controlId, item.text);
    }
  }
}

// ---- controls ----------------------------------------------------------------------------

void Win32Platform::EnableControl(int controlId, bool enabled) {
  if (HWND control = ToHwnd(Hwnd(controlId))) ::EnableWindow(control, enabled ? TRUE : FALSE);
}

bool Win32Platform::IsControlEnabled(int controlId) {
  HWND control = ToHwnd(Hwnd(controlId));
  return control && ::IsWindowEnabled(control);
}

}  // namespace bm
