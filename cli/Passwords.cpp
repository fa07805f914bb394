// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Passwords.h"

#include <QFile>

#include "cli/Console.h"
#include "cli/PrivateFile.h"
#include "cli/Terminal.h"

namespace tb::cli {

TPasswordSource::TPasswordSource(TCommandLine& line)
    : line_(line),
      file_(line.Option(QStringLiteral("password-file"))),
      given_(line.Option(QStringLiteral("password"))) {}

bool TPasswordSource::Load() {
  if (line_.IsSet(file_)) {
    QFile file(line_.Value(file_));
    if (!file.open(QIODevice::ReadOnly)) {
      Err(QStringLiteral("cannot read the password file %1: %2")
              .arg(file.fileName(), file.errorString()));
      return false;
    }
    if (OthersMayRead(file)) {
      Err(QStringLiteral("warning: other users of this computer can read the password file %1; "
                         "chmod 600 it")
              .arg(file.fileName()));
    }
    QString text = QString::fromLocal8Bit(file.readAll());
    password_ = text.left(text.indexOf(QLatin1Char('\n')));
    if (password_->endsWith(QLatin1Char('\r'))) {
      password_->chop(1);
    }
  } else if (line_.IsSet(given_)) {
    Err(QStringLiteral("warning: a password on the command line can be read by other users "
                       "of this computer; use --password-file or %1")
            .arg(QString::fromLatin1(PasswordVariable)));
    password_ = line_.Value(given_);
  } else if (qEnvironmentVariableIsSet(PasswordVariable)) {
    password_ = qEnvironmentVariable(PasswordVariable);
  }
  return true;
}

std::optional<QString> TPasswordSource::Get(const QString& prompt) {
  if (!password_ && InputIsTerminal()) {
    password_ = ReadSecretLine(prompt);
  }
  if (!password_) {
    Err(QStringLiteral("no device password: give --password-file FILE or set %1")
            .arg(QString::fromLatin1(PasswordVariable)));
  }
  return password_;
}

}  // namespace tb::cli
