// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Qt's event queue carries data from one thread to another through
// primitives that ThreadSanitizer cannot see, so it would report every datum
// an event carries as a race. A poster marks the channel after it has written
// what the event carries and before it posts; the receiver marks the same
// channel before it reads anything. Outside ThreadSanitizer builds both are
// nothing.
#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace tb {

inline void MarkPosted([[maybe_unused]] const void* channel) {
#if defined(__SANITIZE_THREAD__)
  __tsan_release(const_cast<void*>(channel));  // NOLINT(cppcoreguidelines-pro-type-const-cast)
#endif
}

inline void MarkReceived([[maybe_unused]] const void* channel) {
#if defined(__SANITIZE_THREAD__)
  __tsan_acquire(const_cast<void*>(channel));  // NOLINT(cppcoreguidelines-pro-type-const-cast)
#endif
}

}  // namespace tb
