// SPDX-License-Identifier: GPL-3.0-or-later
// Writes brelvan's manual page and bash completion for the build to install,
// without running brelvan itself.
#include <QFile>
#include <cstdio>

#include "cli/BashCompletion.h"
#include "cli/ManualPage.h"

namespace {

bool Write(const char* path, const QString& text) {
  QFile file(QString::fromLocal8Bit(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0 ||
      !file.flush()) {
    std::fprintf(stderr, "tb-brelvan-docs: cannot write %s: %s\n", path,
                 qPrintable(file.errorString()));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fputs("usage: tb-brelvan-docs MANUAL_PAGE BASH_COMPLETION\n", stderr);
    return 2;
  }
  return Write(argv[1], tb::cli::ManualPage()) && Write(argv[2], tb::cli::BashCompletion()) ? 0 : 1;
}
