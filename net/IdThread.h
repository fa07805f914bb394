// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <mutex>
#include <thread>

#include "common/AnsiString.h"

namespace tb {

// An operating system thread that is created suspended and runs Execute once started.
class TIdBaseThread {
 public:
  TIdBaseThread() = default;
  TIdBaseThread(const TIdBaseThread&) = delete;
  TIdBaseThread& operator=(const TIdBaseThread&) = delete;
  // Joins: a thread object never outlives its thread.
  virtual ~TIdBaseThread();

  void Start();
  // Waits until Execute has returned; harmless when never started or already joined.
  void WaitFor();

 protected:
  virtual void Execute() = 0;

 private:
  std::thread thread_;
};

enum class TIdThreadStopMode { Terminate, Suspend };

// A thread that calls Run until it is stopped. The stop state is read and
// written under the thread's own lock, since a stop may come from any thread.
class TIdThread : public TIdBaseThread {
 public:
  explicit TIdThread(TIdThreadStopMode stopMode) : stopMode_(stopMode) {}
  ~TIdThread() override;

  void Stop();
  bool Stopped() const;
  bool Terminated() const;

  // Called with the error that ended the thread; none by default.
  std::function<void(const AnsiString& className, const AnsiString& message)> OnException;
  // The error that ended the thread, if any; valid after WaitFor.
  const AnsiString& FatalExceptionClass() const { return fatalClass_; }
  const AnsiString& FatalExceptionMessage() const { return fatalMessage_; }

 protected:
  // One turn of the thread's work.
  virtual void Run() = 0;
  // Lets a subclass interrupt a blocking wait in Run; called outside the lock.
  virtual void StopRequested() {}

 private:
  void Execute() final;

  mutable std::mutex lock_;
  TIdThreadStopMode stopMode_;
  bool stopped_ = false;
  bool terminated_ = false;
  AnsiString fatalClass_;
  AnsiString fatalMessage_;
};

}  // namespace tb
