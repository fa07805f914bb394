// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever `nft -j list ruleset`, `nft -a list ruleset`, `iptables-save` or
// `ufw status` might print, read as the doctor reads it; the first byte picks
// the reader. Reading twice finds the same drops; the firewall check gives
// one problem per drop and otherwise a single ok or skipped verdict; and an
// iptables rule said to name port 998 stands in a text that holds 998, or a
// range that holds it.
#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/diagnosis/FirewallCheck.h"
#include "core/diagnosis/FirewallRules.h"

namespace {

using namespace tb::diagnosis;
using namespace tb::diagnosis::firewall;

bool SameDrops(const std::vector<Drop>& a, const std::vector<Drop>& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].family != b[i].family || a[i].table != b[i].table ||
        a[i].baseChain != b[i].baseChain || a[i].ruleChain != b[i].ruleChain ||
        a[i].handle != b[i].handle || a[i].byPolicy != b[i].byPolicy) {
      return false;
    }
  }
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number that text[begin, end) writes, no more than a million; `open`
// when the range is empty.
long Number(const std::string& text, std::size_t begin, std::size_t end, long open) {
  if (begin == end) {
    return open;
  }
  long value = 0;
  for (std::size_t i = begin; i < end; ++i) {
    value = std::min(value * 10 + (text[i] - '0'), 1000000L);
  }
  return value;
}

bool MentionsPort(const std::string& text) {
  if (text.find("998") != std::string::npos) {
    return true;
  }
  for (std::size_t colon = text.find(':'); colon != std::string::npos;
       colon = text.find(':', colon + 1)) {
    std::size_t begin = colon;
    while (begin > 0 && IsDigit(text[begin - 1])) {
      --begin;
    }
    std::size_t end = colon + 1;
    while (end < text.size() && IsDigit(text[end])) {
      ++end;
    }
    const long low = Number(text, begin, colon, 0);
    const long high = Number(text, colon + 1, end, 65535);
    if (low <= 998 && 998 <= high) {
      return true;
    }
  }
  return false;
}

void CheckVerdicts(const FirewallReading& reading, std::size_t drops) {
  const std::vector<Verdict> verdicts = CheckFirewall(reading);
  std::size_t problems = 0;
  for (const Verdict& v : verdicts) {
    if (v.check != QLatin1String("firewall") || v.level == Verdict::Level::Note) {
      std::abort();
    }
    problems += v.level == Verdict::Level::Problem ? 1 : 0;
  }
  if (problems != drops || (drops == 0 && verdicts.size() != 1)) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) {
    return 0;
  }
  const std::string raw(reinterpret_cast<const char*>(data) + 1, size - 1);
  const QString text = QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size()));
  FirewallReading reading;
  switch (data[0] % 4) {
    case 0: {
      const QByteArray json = text.toUtf8();
      const std::vector<Drop> drops = FindDrops(FromNftJson(json));
      if (!SameDrops(drops, FindDrops(FromNftJson(json)))) {
        std::abort();
      }
      reading.nftJson = ToolRun{text, 0};
      CheckVerdicts(reading, drops.size());
      break;
    }
    case 1: {
      const QHash<QString, QString> texts = NftRuleTexts(text);
      if (texts != NftRuleTexts(text)) {
        std::abort();
      }
      break;
    }
    case 2: {
      const Ruleset rules = FromIptablesSave(text);
      const std::vector<Drop> drops = FindDrops(rules);
      if (!SameDrops(drops, FindDrops(FromIptablesSave(text)))) {
        std::abort();
      }
      for (const Chain& chain : rules.chains) {
        for (const Rule& rule : chain.rules) {
          if (rule.namesPort && !MentionsPort(raw)) {
            std::abort();
          }
        }
      }
      reading.iptablesSave = ToolRun{text, 0};
      CheckVerdicts(reading, drops.size());
      break;
    }
    default:
      reading.ufw = ToolRun{text, 0};
      if (UfwActive(reading.ufw) != text.contains(QLatin1String("Status: active"))) {
        std::abort();
      }
      CheckVerdicts(reading, 0);
      break;
  }
  return 0;
}
