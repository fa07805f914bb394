// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TargetStore.h"

#include <QSettings>
#include <algorithm>
#include <memory>
#include <sstream>

#include "core/Latin1.h"

namespace tb {

namespace {

const char* const Group = "Targets";
const char* const Key = "List";

QString& TestFile() {
  static QString path;
  return path;
}

std::unique_ptr<QSettings> OpenSettings() {
  if (!TestFile().isEmpty()) {
    return std::make_unique<QSettings>(TestFile(), QSettings::IniFormat);
  }
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     QStringLiteral("Tarnwick"), QStringLiteral("Brelvan"));
}

}  // namespace

void TargetStore::UseFile(const QString& iniPath) { TestFile() = iniPath; }

std::vector<TargetEntry> TargetStore::Parse(const AnsiString& text,
                                            std::vector<SkippedTarget>& skipped) {
  std::vector<TargetEntry> entries;
  std::istringstream words(text);
  AnsiString word;
  while (words >> word) {
    TargetParse parse = ParseTarget(word);
    if (!parse.entry) {
      skipped.push_back({word, std::move(parse)});
    } else if (std::find(entries.begin(), entries.end(), *parse.entry) == entries.end()) {
      entries.push_back(*parse.entry);
    }
  }
  return entries;
}

std::vector<TargetEntry> TargetStore::Load(std::vector<SkippedTarget>& skipped) {
  const auto settings = OpenSettings();
  settings->beginGroup(QString::fromLatin1(Group));
  const QVariant value = settings->value(QString::fromLatin1(Key));
  if (!value.isValid()) {
    return {};
  }
  if (!value.canConvert<QString>()) {
    TargetParse parse;
    parse.fault = TargetFault::NotAnAddress;
    parse.detail = "the saved value is no text";
    skipped.push_back({AnsiString(Group) + "/" + Key, parse});
    return {};
  }
  return Parse(ToAnsi(value.toString()), skipped);
}

bool TargetStore::Save(const std::vector<TargetEntry>& entries) {
  AnsiString text;
  for (const TargetEntry& entry : entries) {
    text += (text.empty() ? "" : " ") + entry.Text();
  }
  const auto settings = OpenSettings();
  settings->beginGroup(QString::fromLatin1(Group));
  settings->setValue(QString::fromLatin1(Key), QString::fromLatin1(text));
  settings->endGroup();
  settings->sync();
  return settings->status() == QSettings::NoError;
}

}  // namespace tb
