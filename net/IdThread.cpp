// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/IdThread.h"

#include <typeinfo>

#include "common/Exception.h"

namespace tb {

TIdBaseThread::~TIdBaseThread() { WaitFor(); }

void TIdBaseThread::Start() {
  if (!thread_.joinable()) {
    thread_ = std::thread([this] { Execute(); });
  }
}

void TIdBaseThread::WaitFor() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
    thread_.join();
  }
}

TIdThread::~TIdThread() = default;

void TIdThread::Stop() {
  {
    const std::lock_guard<std::mutex> guard(lock_);
    stopped_ = true;
    if (stopMode_ == TIdThreadStopMode::Terminate) {
      terminated_ = true;
    }
  }
  StopRequested();
}

bool TIdThread::Stopped() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return stopped_;
}

bool TIdThread::Terminated() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return terminated_;
}

void TIdThread::Execute() {
  try {
    while (!Terminated()) {
      if (Stopped()) {
        // Only a suspending stop gets here; nothing resumes this thread kind.
        break;
      }
      Run();
    }
  } catch (const Exception& e) {
    fatalClass_ = typeid(e).name();
    fatalMessage_ = e.Message();
  } catch (const std::exception& e) {
    fatalClass_ = typeid(e).name();
    fatalMessage_ = e.what();
  } catch (...) {
    fatalClass_ = "unknown";
  }
  if (!fatalClass_.empty() && OnException) {
    try {
      OnException(fatalClass_, fatalMessage_);
    } catch (...) {  // NOLINT(bugprone-empty-catch): the thread ends either way
    }
  }
}

}  // namespace tb
