// SPDX-License-Identifier: GPL-3.0-or-later
#include <linux/capability.h>
#include <sys/auxv.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/ProcessGuard.h"

extern char** environ;  // NOLINT(readability-redundant-declaration): POSIX names it nowhere

namespace tb {
namespace {

// Set by a start through a file capability: only such a start has a
// capability that another user lent it. Root keeps its own.
bool lentCapability = false;

bool IsQtVariable(const char* entry) {
  static constexpr const char* Prefixes[] = {"QT_", "QML", "QV4_", "QTWEBENGINE"};
  for (const char* prefix : Prefixes) {
    if (std::strncmp(entry, prefix, std::strlen(prefix)) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

void GuardProcessStart() {
  prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
  lentCapability = getauxval(AT_SECURE) != 0;
  if (!lentCapability) {
    return;
  }
  // Names first, then removal: unsetenv reshapes environ under the loop.
  std::vector<std::string> names;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    if (IsQtVariable(*entry)) {
      const char* equals = std::strchr(*entry, '=');
      names.emplace_back(*entry, equals != nullptr ? equals - *entry : std::strlen(*entry));
    }
  }
  for (const std::string& name : names) {
    unsetenv(name.c_str());
  }
}

void DropBindCapability() {
  if (!lentCapability) {
    return;
  }
  lentCapability = false;
  __user_cap_header_struct header{};
  header.version = _LINUX_CAPABILITY_VERSION_3;
  header.pid = 0;
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
  if (syscall(SYS_capget, &header, data) != 0) {
    return;
  }
  const unsigned word = CAP_NET_BIND_SERVICE / 32;
  const unsigned bit = 1U << (CAP_NET_BIND_SERVICE % 32);
  if (((data[word].permitted | data[word].effective | data[word].inheritable) & bit) == 0) {
    return;
  }
  data[word].effective &= ~bit;
  data[word].permitted &= ~bit;
  data[word].inheritable &= ~bit;
  syscall(SYS_capset, &header, data);
}

}  // namespace tb
