// The simulated second window, shown modally over its owner, with the user
// acting in it; the clipboard's plain text; PathRemoveBlanksA; edit colours.
#include <algorithm>
#include <set>

#include "platform/sim/SimState.h"

namespace bm {

using Lock = std::lock_guard<std::recursive_mutex>;

namespace {

constexpr char kSecondWindowClass[] = "BookmarkBackupSecondWindow";

}  // namespace

// ---- state helpers ------------------------------------------------------------------------------

bool SimPlatform::State::WindowOpen(int windowId) const {
  if (mainWindow != 0 && window.id == windowId) return true;
  return std::any_of(modals.begin(), modals.end(),
                     [windowId](const sim::ModalWindow& modal) { return modal.open && modal.form.id == windowId; });
}

WindowHandle SimPlatform::State::AddWindow(const WindowSpec& form, const std::vector<ControlSpec>& layouts,
                                           const Text& className) {
  for (const ControlSpec& layout : layouts) {
    sim::ControlState control;
    control.layout = layout;
    control.windowId = form.id;
    control.handle = nextWindow;
    nextWindow += 4;
    control.text = layout.caption;
    controls[layout.id] = control;
  }
  // No parent: the second window is owned, but as a captioned window, not a
  // pop-up, Windows reports no parent for it either.
  sim::TopWindow top;
  top.handle = nextWindow;
  nextWindow += 4;
  top.processId = processId;
  top.visible = true;
  top.className = className;
  top.title = form.title;
  zOrder.insert(zOrder.begin(), top);
  return top.handle;
}

void SimPlatform::State::RemoveWindow(int windowId, WindowHandle handle) {
  for (auto control = controls.begin(); control != controls.end();) {
    if (control->second.windowId == windowId) {
      editColors.erase(control->first);
      control = controls.erase(control);
    } else {
      ++control;
    }
  }
  zOrder.erase(std::remove_if(zOrder.begin(), zOrder.end(),
                              [handle](const sim::TopWindow& top) { return top.handle == handle; }),
               zOrder.end());
}

// ---- knobs ---------------------------------------------------------------------------------------

void SimPlatform::OnModalWindowOpen(std::function<void(int windowId)> user) {
  Lock lock(state_->lock);
  state_->modalUser = std::move(user);
}

std::vector<ModalWindowCall> SimPlatform::ModalWindowCalls() const {
  Lock lock(state_->lock);
  return state_->modalCalls;
}

bool SimPlatform::WindowOpen(int windowId) const {
  Lock lock(state_->lock);
  return state_->WindowOpen(windowId);
}

bool SimPlatform::WindowEnabled(int windowId) const {
  Lock lock(state_->lock);
  return state_->WindowOpen(windowId) && state_->disabledWindows.count(windowId) == 0;
}

WindowHandle SimPlatform::WindowHandleOf(int windowId) const {
  Lock lock(state_->lock);
  if (state_->mainWindow != 0 && state_->window.id == windowId) return state_->mainWindow;
  for (const sim::ModalWindow& modal : state_->modals) {
    if (modal.open && modal.form.id == windowId) return modal.handle;
  }
  return 0;
}

void SimPlatform::DoubleClick(int id) {
  EventSink* sink = nullptr;
  {
    Lock lock(state_->lock);
    const sim::ControlState* control = state_->Control(id);
    if (!control || !state_->TakesInput(*control)) return;
    if (control->layout.kind != ControlKind::Edit && control->layout.kind != ControlKind::Label) return;
    sink = state_->sink;
  }
  if (sink) sink->OnControlEvent(id, ControlEvent::DoubleClicked);
}

std::optional<Text> SimPlatform::ClipboardText() const {
  Lock lock(state_->lock);
  return state_->clipboard;
}

std::optional<EditColors> SimPlatform::EditColorsOf(int id) const {
  Lock lock(state_->lock);
  const auto found = state_->editColors.find(id);
  if (found == state_->editColors.end()) return std::nullopt;
  return found->second;
}

// ---- Platform ----------------------------------------------------------------------------------------

bool SimPlatform::ShowModalWindow(const WindowSpec& window, const std::vector<ControlSpec>& controls,
                                  int ownerWindowId) {
  EventSink* sink = nullptr;
  std::function<void(int)> user;
  std::list<sim::ModalWindow>::iterator record;
  {
    Lock lock(state_->lock);
    if (!state_->WindowOpen(ownerWindowId) || state_->WindowOpen(window.id)) return false;
    std::set<int> ids;
    for (const ControlSpec& layout : controls) {
      if (state_->controls.count(layout.id) || !ids.insert(layout.id).second) return false;
    }
    sim::ModalWindow modal;
    modal.form = window;
    modal.handle = state_->AddWindow(window, controls, kSecondWindowClass);
    modal.ownerId = ownerWindowId;
    modal.ownerWasEnabled = state_->disabledWindows.insert(ownerWindowId).second;
    modal.callIndex = state_->modalCalls.size();
    record = state_->modals.insert(state_->modals.end(), modal);
    state_->modalCalls.push_back({window, controls, ownerWindowId, false});
    sink = state_->sink;
    user = state_->modalUser;
  }
  if (sink) sink->OnWindowCreated(window.id);
  {
    Lock lock(state_->lock);
    state_->modalCalls[record->callIndex].ownerDisabled = state_->disabledWindows.count(ownerWindowId) != 0;
    if (!record->open) user = nullptr;
  }
  // The wait handles the window thread's messages, so what other threads
  // posted arrives while the window is open, before the user acts and after.
  if (user) {
    DeliverPosted();
    user(window.id);
    if (WindowOpen(window.id)) DeliverPosted();
  }
  Lock lock(state_->lock);
  // The user closes what the program left open.
  if (record->open) CloseWindow(window.id);
  state_->modals.erase(record);
  return true;
}

void SimPlatform::CloseWindow(int windowId) {
  Lock lock(state_->lock);
  for (auto modal = state_->modals.rbegin(); modal != state_->modals.rend(); ++modal) {
    if (!modal->open || modal->form.id != windowId) continue;
    // The owner takes input again as its modal window goes.
    modal->open = false;
    if (modal->ownerWasEnabled) state_->disabledWindows.erase(modal->ownerId);
    state_->RemoveWindow(windowId, modal->handle);
    return;
  }
  if (state_->mainWindow != 0 && state_->window.id == windowId) {
    state_->RemoveWindow(windowId, state_->mainWindow);
    state_->mainWindow = 0;
    state_->windowCreated = false;
  }
}

bool SimPlatform::SetClipboardText(const Text& text) {
  Lock lock(state_->lock);
  // CF_TEXT ends at the first zero, as the text's C string does.
  state_->clipboard = Text(text.c_str());
  return true;
}

Text SimPlatform::GetClipboardText() {
  Lock lock(state_->lock);
  return state_->clipboard.value_or(Text());
}

Text SimPlatform::PathRemoveBlanksA(const Text& path) {
  const Text text(path.c_str());
  const size_t first = text.find_first_not_of(' ');
  if (first == Text::npos) return Text();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void SimPlatform::SetEditColors(int controlId, uint32_t textRgb, uint32_t backgroundRgb) {
  Lock lock(state_->lock);
  const sim::ControlState* control = state_->Control(controlId);
  if (!control || control->layout.kind != ControlKind::Edit) return;
  state_->editColors[controlId] = {textRgb, backgroundRgb};
}

}  // namespace bm
