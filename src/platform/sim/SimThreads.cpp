// The simulated Windows' worker threads: real threads, each waited for before
// the machine goes, and the queue of texts and work they leave for the
// window's thread, which takes it when it pumps.
#include <chrono>

#include "platform/sim/SimState.h"

namespace bm {

using Lock = std::lock_guard<std::recursive_mutex>;

// ---- the machine's lifetime ----------------------------------------------------------------

SimPlatform::~SimPlatform() { JoinThreads(); }

SimPlatform& SimPlatform::operator=(SimPlatform&& other) noexcept {
  if (this != &other) {
    JoinThreads();
    state_ = std::move(other.state_);
  }
  return *this;
}

// ---- state helpers ----------------------------------------------------------------------------

void SimPlatform::State::NoteWindowWrite(int id) {
  if (!OnWindowThread()) foreignWindowWrites.push_back(id);
}

void SimPlatform::State::DropPostedText(int id) { posted.DropTexts(id); }

// ---- knobs ---------------------------------------------------------------------------------------

void SimPlatform::JoinThreads() {
  if (!state_) return;
  // Joined outside the lock, which the threads need to finish; threads they
  // start meanwhile are joined in the next round.
  for (;;) {
    std::vector<std::thread> threads;
    {
      Lock lock(state_->lock);
      threads.swap(state_->threads);
    }
    if (threads.empty()) return;
    for (std::thread& thread : threads) thread.join();
  }
}

void SimPlatform::SetThreadStartFails(bool fails) {
  Lock lock(state_->lock);
  state_->threadStartFails = fails;
}

std::vector<int> SimPlatform::WindowWritesFromOtherThreads() const {
  Lock lock(state_->lock);
  return state_->foreignWindowWrites;
}

// ---- Platform: threads ------------------------------------------------------------------------------

ThreadHandle SimPlatform::StartThread(std::function<void()> body) {
  Lock lock(state_->lock);
  if (state_->threadStartFails) return 0;
  auto run = std::make_shared<sim::ThreadRun>();
  const ThreadHandle handle = state_->nextThread;
  state_->nextThread += 4;
  state_->threadHandles[handle] = run;
  state_->threads.emplace_back([run, body = std::move(body)] {
    body();
    {
      std::lock_guard<std::mutex> ended(run->lock);
      run->ended = true;
    }
    run->endedChanged.notify_all();
  });
  return handle;
}

bool SimPlatform::WaitForThread(ThreadHandle thread, uint32_t timeoutMs) {
  std::shared_ptr<sim::ThreadRun> run;
  {
    Lock lock(state_->lock);
    auto it = state_->threadHandles.find(thread);
    if (it == state_->threadHandles.end()) return false;
    run = it->second;
  }
  // A real wait: the thread is a real one.
  std::unique_lock<std::mutex> waiting(run->lock);
  const auto ended = [&run] { return run->ended; };
  if (timeoutMs == kInfinite) {
    run->endedChanged.wait(waiting, ended);
    return true;
  }
  return run->endedChanged.wait_for(waiting, std::chrono::milliseconds(timeoutMs), ended);
}

void SimPlatform::CloseThread(ThreadHandle thread) {
  Lock lock(state_->lock);
  state_->threadHandles.erase(thread);
}

// ---- Platform: posting to the window's thread ----------------------------------------------------------

void SimPlatform::PostControlText(int controlId, const Text& text) {
  Lock lock(state_->lock);
  if (state_->OnWindowThread()) {
    SetControlText(controlId, text);
    return;
  }
  if (state_->windowCreated) state_->posted.PostText(controlId, text);
}

bool SimPlatform::PostToWindowThread(std::function<void()> work) {
  Lock lock(state_->lock);
  if (!work || !state_->windowCreated) return false;
  state_->posted.PostWork(std::move(work));
  return true;
}

void SimPlatform::DeliverPosted() {
  // One item at a time, the work run outside the lock; a thread pumping that is
  // not the window's takes nothing.
  for (;;) {
    PostedQueue::Item item;
    {
      Lock lock(state_->lock);
      if (!state_->OnWindowThread() || !state_->posted.Take(item)) return;
      if (!item.work) {
        state_->WriteControlText(item.controlId, item.text);
        continue;
      }
    }
    item.work();
  }
}

// ---- Platform: controls ---------------------------------------------------------------------------------

void SimPlatform::EnableControl(int controlId, bool enabled) {
  Lock lock(state_->lock);
  state_->NoteWindowWrite(controlId);
  if (sim::ControlState* control = state_->Control(controlId)) control->enabled = enabled;
}

bool SimPlatform::IsControlEnabled(int controlId) {
  Lock lock(state_->lock);
  const sim::ControlState* control = state_->Control(controlId);
  return control && control->enabled;
}

}  // namespace bm
