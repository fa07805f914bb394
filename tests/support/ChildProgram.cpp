// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/ChildProgram.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string_view>
#include <thread>

namespace tb::lab {

std::int64_t MonotonicNs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

ChildProgram::ChildProgram(const std::string& path, const std::vector<std::string>& args) {
  int pipe[2] = {-1, -1};
  if (::pipe2(pipe, O_CLOEXEC) < 0) {
    return;
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& a : args) {
    argv.push_back(const_cast<char*>(a.c_str()));
  }
  argv.push_back(nullptr);
  spawnNs_ = MonotonicNs();
  // Built before the fork: between fork and exec a threaded parent's child
  // may only make async-signal-safe calls.
  const std::string spawn = "TB_SPAWN_NS=" + std::to_string(spawnNs_);
  std::vector<char*> envp;
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::string_view(*e).rfind("TB_SPAWN_NS=", 0) != 0) {
      envp.push_back(*e);
    }
  }
  envp.push_back(const_cast<char*>(spawn.c_str()));
  envp.push_back(nullptr);
  pid_ = ::fork();
  if (pid_ == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::dup2(pipe[1], 1);
    ::dup2(pipe[1], 2);
    ::execve(path.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(pipe[1]);
  output_ = pipe[0];
  if (pid_ < 0) {
    ::close(output_);
    output_ = -1;
  }
}

ChildProgram::~ChildProgram() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (output_ >= 0) {
    ::close(output_);
  }
}

ChildProgram::Result ChildProgram::Wait(std::chrono::milliseconds timeout) {
  Result result;
  result.spawnNs = spawnNs_;
  if (pid_ <= 0) {
    return result;
  }
  // The pipe is read while waiting, so a talkative child never blocks on it.
  ::fcntl(output_, F_SETFL, O_NONBLOCK);
  const auto read = [&] {
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(output_, buffer, sizeof buffer)) > 0) {
      result.output.append(buffer, static_cast<std::size_t>(n));
    }
  };
  const std::int64_t deadline = MonotonicNs() + timeout.count() * 1000000;
  int status = 0;
  rusage usage{};
  for (;;) {
    read();
    const pid_t done = ::wait4(pid_, &status, WNOHANG, &usage);
    if (done == pid_) {
      result.exitNs = MonotonicNs();
      result.exited = true;
      break;
    }
    if (done < 0 || MonotonicNs() > deadline) {
      ::kill(pid_, SIGKILL);
      ::wait4(pid_, &status, 0, &usage);
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  pid_ = -1;
  read();
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.maxRssKb = usage.ru_maxrss;
  return result;
}

std::int64_t ReportedValue(const std::string& output, const std::string& key) {
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind(key + " ", 0) == 0) {
      return std::strtoll(line.c_str() + key.size() + 1, nullptr, 10);
    }
  }
  return 0;
}

}  // namespace tb::lab
