// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/FirewallRules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <map>
#include <set>

#include "protocol/Message.h"

namespace tb::diagnosis::firewall {

namespace {

constexpr int LastPort = 65535;
constexpr int MaxDepth = 16;

Truth Not(Truth t) {
  return t == Truth::Yes ? Truth::No : (t == Truth::No ? Truth::Yes : Truth::Maybe);
}

// The judgement of one condition.
struct Judged {
  Truth truth = Truth::Maybe;
  bool namesPort = false;
};

// Whether a value of nft's JSON holds `wanted`: a number, a name, a range, a
// set or a list of these. Maybe for a named set, whose members are not known.
Truth Holds(const QJsonValue& value, const std::function<Truth(const QJsonValue&)>& wanted) {
  if (value.isArray()) {
    Truth result = Truth::No;
    for (const auto& item : value.toArray()) {
      const Truth t = Holds(item, wanted);
      if (t == Truth::Yes) {
        return Truth::Yes;
      }
      if (t == Truth::Maybe) {
        result = Truth::Maybe;
      }
    }
    return result;
  }
  if (value.isObject()) {
    const QJsonObject object = value.toObject();
    if (object.contains(QStringLiteral("set"))) {
      return Holds(object.value(QStringLiteral("set")), wanted);
    }
    if (object.contains(QStringLiteral("range"))) {
      const QJsonArray range = object.value(QStringLiteral("range")).toArray();
      if (range.size() == 2 && range[0].isDouble() && range[1].isDouble()) {
        return range[0].toInt() <= CommandPort && CommandPort <= range[1].toInt() ? Truth::Yes
                                                                                  : Truth::No;
      }
    }
    return Truth::Maybe;
  }
  if (value.isString() && value.toString().startsWith(QLatin1Char('@'))) {
    return Truth::Maybe;
  }
  return wanted(value);
}

Truth IsPort(const QJsonValue& v) {
  if (v.isDouble()) {
    return v.toInt() == CommandPort ? Truth::Yes : Truth::No;
  }
  bool ok = false;
  const int number = v.toString().toInt(&ok);
  return ok ? (number == CommandPort ? Truth::Yes : Truth::No) : Truth::Maybe;
}

// iptables' ports: "998", "990:999", ":1000" (from 0), "990:" (to the
// last port), or a comma-separated list of these for multiport.
Truth IptablesPortsHold(const QString& value) {
  for (const QString& item : value.split(QLatin1Char(','))) {
    const QStringList bounds = item.split(QLatin1Char(':'));
    if (bounds.size() > 2) {
      continue;
    }
    bool ok = true;
    const auto bound = [&ok](const QString& text, int open) {
      bool number = false;
      const int port = text.toInt(&number);
      ok = ok && (number || text.isEmpty());
      return number ? port : open;
    };
    const int low = bound(bounds.front(), bounds.size() == 2 ? 0 : -1);
    const int high = bound(bounds.back(), bounds.size() == 2 ? LastPort : -1);
    if (ok && low <= CommandPort && CommandPort <= high) {
      return Truth::Yes;
    }
  }
  return Truth::No;
}

Truth IsUdp(const QJsonValue& v) {
  return v.toString() == QLatin1String("udp") || v.toInt() == 17 ? Truth::Yes : Truth::No;
}

// A port compared with <, >, <= or >=.
Truth Compare(const QString& op, const QJsonValue& right) {
  if (!right.isDouble()) {
    return Truth::Maybe;
  }
  const int limit = right.toInt();
  const bool holds = op == QLatin1String("<")    ? CommandPort < limit
                     : op == QLatin1String(">")  ? CommandPort > limit
                     : op == QLatin1String("<=") ? CommandPort <= limit
                                                 : CommandPort >= limit;
  return holds ? Truth::Yes : Truth::No;
}

Truth Match(const QString& op, const QJsonValue& right,
            const std::function<Truth(const QJsonValue&)>& wanted) {
  if (op == QLatin1String("<") || op == QLatin1String(">") || op == QLatin1String("<=") ||
      op == QLatin1String(">=")) {
    return Compare(op, right);
  }
  const Truth holds = Holds(right, wanted);
  return op == QLatin1String("!=") ? Not(holds) : holds;
}

Judged JudgeMatch(const QJsonObject& match) {
  const QString op = match.value(QStringLiteral("op")).toString(QStringLiteral("=="));
  const QJsonObject left = match.value(QStringLiteral("left")).toObject();
  const QJsonValue right = match.value(QStringLiteral("right"));
  const bool positive = op == QLatin1String("==") || op == QLatin1String("in");
  if (left.contains(QStringLiteral("payload"))) {
    const QJsonObject payload = left.value(QStringLiteral("payload")).toObject();
    const QString protocol = payload.value(QStringLiteral("protocol")).toString();
    const QString field = payload.value(QStringLiteral("field")).toString();
    if ((protocol == QLatin1String("udp") || protocol == QLatin1String("th")) &&
        (field == QLatin1String("dport") || field == QLatin1String("sport"))) {
      const Truth t = Match(op, right, IsPort);
      return {t, positive && t == Truth::Yes && field == QLatin1String("dport")};
    }
    if (protocol == QLatin1String("ip") && field == QLatin1String("protocol")) {
      return {Match(op, right, IsUdp)};
    }
    static const QStringList OtherTransports{QStringLiteral("tcp"),     QStringLiteral("icmp"),
                                             QStringLiteral("sctp"),    QStringLiteral("dccp"),
                                             QStringLiteral("udplite"), QStringLiteral("icmpv6"),
                                             QStringLiteral("igmp"),    QStringLiteral("esp"),
                                             QStringLiteral("ah"),      QStringLiteral("ip6")};
    return {OtherTransports.contains(protocol) ? Truth::No : Truth::Maybe};
  }
  if (left.contains(QStringLiteral("meta"))) {
    const QString key =
        left.value(QStringLiteral("meta")).toObject().value(QStringLiteral("key")).toString();
    if (key == QLatin1String("l4proto")) {
      return {Match(op, right, IsUdp)};
    }
    if (key == QLatin1String("nfproto")) {
      return {Match(op, right, [](const QJsonValue& v) {
        return v.toString() == QLatin1String("ipv4") ? Truth::Yes : Truth::No;
      })};
    }
    if (key == QLatin1String("iifname") || key == QLatin1String("iif")) {
      // Answers never come in on the loopback interface; any other name may be theirs.
      const Truth isLoopback = Holds(right, [](const QJsonValue& v) {
        return v.toString() == QLatin1String("lo") ? Truth::Yes : Truth::Maybe;
      });
      if (isLoopback == Truth::Yes) {
        return {op == QLatin1String("!=") ? Truth::Yes : Truth::No};
      }
    }
    return {};
  }
  if (left.value(QStringLiteral("ct")).toObject().value(QStringLiteral("key")).toString() ==
      QLatin1String("state")) {
    return {Match(op, right, [](const QJsonValue& v) {
      return v.toString() == QLatin1String("new") ? Truth::Yes : Truth::No;
    })};
  }
  return {};
}

// Conditions that nft prints for an iptables extension it keeps opaque.
std::vector<Judged> JudgeText(const QString& text) {
  std::vector<Judged> judged;
  static const QRegularExpression Ports(
      QStringLiteral(R"((?:udp|th) dport (!= )?(\{[^}]*\}|\S+))"));
  static const QRegularExpression States(QStringLiteral(R"(ct state (!= )?(\{[^}]*\}|\S+))"));
  for (auto it = Ports.globalMatch(text); it.hasNext();) {
    const auto m = it.next();
    Truth holds = Truth::No;
    for (const QString& item : m.captured(2)
                                   .remove(QRegularExpression(QStringLiteral("[{} ]")))
                                   .split(QLatin1Char(','))) {
      const QStringList bounds = item.split(QLatin1Char('-'));
      if (bounds.value(0).toInt() <= CommandPort &&
          CommandPort <= bounds.value(bounds.size() - 1).toInt()) {
        holds = Truth::Yes;
      }
    }
    const bool negated = !m.captured(1).isEmpty();
    judged.push_back({negated ? Not(holds) : holds, !negated && holds == Truth::Yes});
  }
  for (auto it = States.globalMatch(text); it.hasNext();) {
    const auto m = it.next();
    const Truth holds = m.captured(2).contains(QLatin1String("new")) ? Truth::Yes : Truth::No;
    judged.push_back({m.captured(1).isEmpty() ? holds : Not(holds)});
  }
  return judged;
}

void Combine(Rule& rule, const Judged& judged) {
  if (judged.truth == Truth::No || rule.applies == Truth::No) {
    rule.applies = Truth::No;
  } else if (judged.truth == Truth::Maybe) {
    rule.applies = Truth::Maybe;
  }
  rule.namesPort = rule.namesPort || judged.namesPort;
}

Rule FromNftRule(const QJsonObject& json, const QHash<QString, QString>& ruleText) {
  Rule rule;
  rule.handle = QString::number(json.value(QStringLiteral("handle")).toInteger());
  bool opaque = false;
  for (const auto& value : json.value(QStringLiteral("expr")).toArray()) {
    const QJsonObject expr = value.toObject();
    if (expr.contains(QStringLiteral("match"))) {
      Combine(rule, JudgeMatch(expr.value(QStringLiteral("match")).toObject()));
    } else if (expr.contains(QStringLiteral("accept"))) {
      rule.action = Action::Accept;
    } else if (expr.contains(QStringLiteral("drop")) || expr.contains(QStringLiteral("reject"))) {
      rule.action = Action::Drop;
    } else if (expr.contains(QStringLiteral("return"))) {
      rule.action = Action::Return;
    } else if (expr.contains(QStringLiteral("jump")) || expr.contains(QStringLiteral("goto"))) {
      const bool jump = expr.contains(QStringLiteral("jump"));
      rule.action = jump ? Action::Jump : Action::Goto;
      rule.target = expr.value(jump ? QStringLiteral("jump") : QStringLiteral("goto"))
                        .toObject()
                        .value(QStringLiteral("target"))
                        .toString();
    } else if (expr.contains(QStringLiteral("xt"))) {
      const QJsonObject xt = expr.value(QStringLiteral("xt")).toObject();
      const QString name = xt.value(QStringLiteral("name")).toString();
      if (xt.value(QStringLiteral("type")).toString() == QLatin1String("target")) {
        if (name == QLatin1String("REJECT") || name == QLatin1String("DROP")) {
          rule.action = Action::Drop;
        } else if (name == QLatin1String("ACCEPT")) {
          rule.action = Action::Accept;
        }
      } else {
        opaque = true;
      }
    }
  }
  if (opaque) {
    const QString text =
        ruleText.value(RuleKey(json.value(QStringLiteral("family")).toString(),
                               json.value(QStringLiteral("table")).toString(),
                               json.value(QStringLiteral("chain")).toString(), rule.handle));
    const std::vector<Judged> judged = JudgeText(text);
    if (judged.empty()) {
      Combine(rule, {});
    }
    for (const Judged& j : judged) {
      Combine(rule, j);
    }
  }
  return rule;
}

enum class Fate { Passes, Accepted, Dropped };

struct Walk {
  Fate fate = Fate::Passes;
  const Chain* chain = nullptr;
  const Rule* rule = nullptr;
  bool wentTo = false;  // left by a goto: the base chain's policy decides
};

const Chain* FindChain(const Ruleset& rules, const Chain& from, const QString& name) {
  for (const Chain& chain : rules.chains) {
    if (chain.family == from.family && chain.table == from.table && chain.name == name) {
      return &chain;
    }
  }
  return nullptr;
}

// Walks the chains from a base chain. A chain's walk does not depend on where
// it was reached from, so each is walked once: rules that jump to one chain
// again and again, or chains in a loop, would otherwise take for ever.
class Walker {
 public:
  explicit Walker(const Ruleset& rules) : rules_(rules) {}

  Walk Follow(const Chain& chain, int depth) {
    if (const auto known = walked_.find(&chain); known != walked_.end()) {
      return known->second;
    }
    walking_.insert(&chain);
    const Walk walk = FollowRules(chain, depth);
    walking_.erase(&chain);
    walked_.emplace(&chain, walk);
    return walk;
  }

 private:
  Walk FollowRules(const Chain& chain, int depth) {
    for (const Rule& rule : chain.rules) {
      if (rule.applies == Truth::No) {
        continue;
      }
      const bool decisive = rule.applies == Truth::Yes || rule.namesPort;
      switch (rule.action) {
        case Action::Accept:
          if (decisive) {
            return {Fate::Accepted, &chain, &rule};
          }
          break;
        case Action::Drop:
          if (decisive) {
            return {Fate::Dropped, &chain, &rule};
          }
          break;
        case Action::Return:
          if (decisive) {
            return {};
          }
          break;
        case Action::Jump:
        case Action::Goto: {
          const Chain* target = FindChain(rules_, chain, rule.target);
          if (target != nullptr && depth < MaxDepth && !walking_.contains(target)) {
            Walk walk = Follow(*target, depth + 1);
            if (walk.fate != Fate::Passes || walk.wentTo) {
              return walk;
            }
            if (rule.action == Action::Goto && decisive) {
              walk.wentTo = true;
              return walk;
            }
          }
          break;
        }
        case Action::None:
          break;
      }
    }
    return {};
  }

  const Ruleset& rules_;
  std::map<const Chain*, Walk> walked_;
  std::set<const Chain*> walking_;
};

}  // namespace

QString RuleKey(const QString& family, const QString& table, const QString& chain,
                const QString& handle) {
  return family + QLatin1Char(' ') + table + QLatin1Char(' ') + chain + QLatin1Char(' ') + handle;
}

QHash<QString, QString> NftRuleTexts(const QString& listing) {
  QHash<QString, QString> texts;
  static const QRegularExpression Table(QStringLiteral(R"(^table (\S+) (\S+) \{)"));
  static const QRegularExpression ChainLine(QStringLiteral(R"(^\s*chain (\S+) \{)"));
  static const QRegularExpression RuleLine(QStringLiteral(R"(^\s*(.*\S) # handle (\d+)$)"));
  QString family;
  QString table;
  QString chain;
  for (const QString& line : listing.split(QLatin1Char('\n'))) {
    if (const auto m = Table.match(line); m.hasMatch()) {
      family = m.captured(1);
      table = m.captured(2);
    } else if (const auto c = ChainLine.match(line); c.hasMatch()) {
      chain = c.captured(1);
    } else if (const auto r = RuleLine.match(line); r.hasMatch() && !chain.isEmpty()) {
      static const QRegularExpression Counts(QStringLiteral(R"( packets \d+ bytes \d+)"));
      texts.insert(RuleKey(family, table, chain, r.captured(2)), r.captured(1).remove(Counts));
    }
  }
  return texts;
}

Ruleset FromNftJson(const QByteArray& json, const QHash<QString, QString>& ruleText) {
  Ruleset rules;
  const QJsonArray items =
      QJsonDocument::fromJson(json).object().value(QStringLiteral("nftables")).toArray();
  for (const auto& item : items) {
    const QJsonObject object = item.toObject();
    if (object.contains(QStringLiteral("chain"))) {
      const QJsonObject c = object.value(QStringLiteral("chain")).toObject();
      Chain chain;
      chain.family = c.value(QStringLiteral("family")).toString();
      chain.table = c.value(QStringLiteral("table")).toString();
      chain.name = c.value(QStringLiteral("name")).toString();
      const QString hook = c.value(QStringLiteral("hook")).toString();
      chain.receives =
          (chain.family == QLatin1String("ip") || chain.family == QLatin1String("inet")) &&
          c.value(QStringLiteral("type")).toString() == QLatin1String("filter") &&
          (hook == QLatin1String("input") || hook == QLatin1String("prerouting"));
      chain.policyDrop = c.value(QStringLiteral("policy")).toString() == QLatin1String("drop");
      rules.chains.push_back(chain);
    } else if (object.contains(QStringLiteral("rule"))) {
      const QJsonObject r = object.value(QStringLiteral("rule")).toObject();
      for (Chain& chain : rules.chains) {
        if (chain.family == r.value(QStringLiteral("family")).toString() &&
            chain.table == r.value(QStringLiteral("table")).toString() &&
            chain.name == r.value(QStringLiteral("chain")).toString()) {
          chain.rules.push_back(FromNftRule(r, ruleText));
          break;
        }
      }
    }
  }
  return rules;
}

Ruleset FromIptablesSave(const QString& text) {
  Ruleset rules;
  bool filter = false;
  for (const QString& raw : text.split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    if (line.startsWith(QLatin1Char('*'))) {
      filter = line == QLatin1String("*filter");
      continue;
    }
    if (!filter) {
      continue;
    }
    QStringList tokens = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (line.startsWith(QLatin1Char(':')) && tokens.size() >= 2) {
      Chain chain;
      chain.family = QStringLiteral("ip");
      chain.table = QStringLiteral("filter");
      chain.name = tokens[0].mid(1);
      chain.receives = chain.name == QLatin1String("INPUT");
      chain.policyDrop = tokens[1] == QLatin1String("DROP");
      rules.chains.push_back(chain);
      continue;
    }
    if (tokens.size() < 2 || tokens[0] != QLatin1String("-A")) {
      continue;
    }
    Chain* chain = nullptr;
    for (Chain& c : rules.chains) {
      if (c.name == tokens[1]) {
        chain = &c;
      }
    }
    if (chain == nullptr) {
      continue;
    }
    Rule rule;
    rule.handle = QString::number(chain->rules.size() + 1);
    bool negate = false;
    for (qsizetype i = 2; i < tokens.size(); ++i) {
      const QString& option = tokens[i];
      const QString value = tokens.value(i + 1);
      if (option == QLatin1String("!")) {
        negate = true;
        continue;
      }
      Judged judged;
      bool takesValue = true;
      if (option == QLatin1String("-p") || option == QLatin1String("--protocol")) {
        judged.truth =
            value == QLatin1String("udp") || value == QLatin1String("17") ? Truth::Yes : Truth::No;
      } else if (option == QLatin1String("--dport") || option == QLatin1String("--dports") ||
                 option == QLatin1String("--destination-port") ||
                 option == QLatin1String("--destination-ports") ||
                 option == QLatin1String("--sport") || option == QLatin1String("--sports") ||
                 option == QLatin1String("--source-port") ||
                 option == QLatin1String("--source-ports")) {
        judged.truth = IptablesPortsHold(value);
        judged.namesPort = judged.truth == Truth::Yes && !negate &&
                           (option.contains(QLatin1String("dport")) ||
                            option.contains(QLatin1String("destination")));
      } else if (option == QLatin1String("-i") || option == QLatin1String("--in-interface")) {
        judged.truth = value == QLatin1String("lo") ? Truth::No : Truth::Maybe;
      } else if (option == QLatin1String("--state") || option == QLatin1String("--ctstate")) {
        judged.truth = value.contains(QLatin1String("NEW")) ? Truth::Yes : Truth::No;
      } else if (option == QLatin1String("-j") || option == QLatin1String("-g")) {
        // What follows are the target's own options.
        if (value == QLatin1String("ACCEPT")) {
          rule.action = Action::Accept;
        } else if (value == QLatin1String("DROP") || value == QLatin1String("REJECT")) {
          rule.action = Action::Drop;
        } else if (value == QLatin1String("RETURN")) {
          rule.action = Action::Return;
        } else if (FindChain(rules, *chain, value) != nullptr) {
          rule.action = option == QLatin1String("-j") ? Action::Jump : Action::Goto;
          rule.target = value;
        }
        break;
      } else if (option == QLatin1String("-m")) {
        judged.truth = Truth::Yes;  // the module's own options say what it matches
      } else if (option.startsWith(QLatin1Char('-'))) {
        // Any other condition; its values run to the next option.
        while (i + 1 < tokens.size() && !tokens[i + 1].startsWith(QLatin1Char('-')) &&
               tokens[i + 1] != QLatin1String("!")) {
          ++i;
        }
        takesValue = false;
      }
      if (negate) {
        judged.truth = Not(judged.truth);
      }
      negate = false;
      Combine(rule, judged);
      if (takesValue) {
        ++i;
      }
    }
    chain->rules.push_back(rule);
  }
  return rules;
}

std::vector<Drop> FindDrops(const Ruleset& rules) {
  std::vector<Drop> drops;
  Walker walker(rules);
  for (const Chain& chain : rules.chains) {
    if (!chain.receives) {
      continue;
    }
    const Walk walk = walker.Follow(chain, 0);
    if (walk.fate == Fate::Dropped) {
      drops.push_back({chain.family, chain.table, chain.name, walk.chain->name, walk.rule->handle});
    } else if (walk.fate == Fate::Passes && chain.policyDrop) {
      drops.push_back({chain.family, chain.table, chain.name, chain.name, QString(), true});
    }
  }
  return drops;
}

}  // namespace tb::diagnosis::firewall
