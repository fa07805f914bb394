// SPDX-License-Identifier: GPL-3.0-or-later
// A Qt platform plugin that does nothing but leave a mark when it is loaded.
// The package stage plants it through Qt's plugin variables: a program
// started through its file capability must never load it.
#include <QObject>
#include <QtPlugin>
#include <cstdio>

namespace {
// Runs on dlopen, before Qt has even asked for the plugin's instance.
[[gnu::constructor]] void LeaveMark() {
  if (FILE* mark = std::fopen(TB_BAIT_MARK, "w")) {
    std::fclose(mark);
  }
}
}  // namespace

class BaitPlugin : public QObject {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QPA.QPlatformIntegrationFactoryInterface.5.3" FILE
                        "bait-plugin.json")
};

#include "bait-plugin.moc"
