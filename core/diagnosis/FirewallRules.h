// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

// Firewall rules as far as they decide the fate of a device's answer: an
// unsolicited UDP datagram from port 998 to port 998 of this computer,
// arriving on some interface other than the loopback one from some address.
// Conditions on anything else (interface, addresses, rates) cannot be
// decided here and count as "maybe".
namespace tb::diagnosis::firewall {

enum class Truth { No, Maybe, Yes };
enum class Action { None, Accept, Drop, Jump, Goto, Return };

struct Rule {
  Truth applies = Truth::Yes;
  // It names UDP port 998 explicitly: a drop of it is meant for it, whatever
  // else the rule asks.
  bool namesPort = false;
  Action action = Action::None;
  QString target;  // chain of a jump or goto
  QString handle;  // nft's handle, or the rule's number in iptables
};

struct Chain {
  QString family;  // "ip", "inet", ... ("ip" for iptables)
  QString table;
  QString name;
  bool receives = false;  // a base chain on the input or prerouting hook
  bool policyDrop = false;
  std::vector<Rule> rules;
};

struct Ruleset {
  std::vector<Chain> chains;
};

// A base chain that drops the answer: at a rule (its chain and handle) or by
// its policy (rule empty).
struct Drop {
  QString family;
  QString table;
  QString baseChain;
  QString ruleChain;
  QString handle;
  bool byPolicy = false;
};

// From `nft -j list ruleset`. Rules that nft shows only as iptables
// extensions ("xt") are read again from `ruleText`, nft's text of each rule
// keyed by RuleKey(), where nft spells them out.
Ruleset FromNftJson(const QByteArray& json, const QHash<QString, QString>& ruleText = {});
QString RuleKey(const QString& family, const QString& table, const QString& chain,
                const QString& handle);
// nft's text of each rule of `nft -a list ruleset`, keyed by RuleKey().
QHash<QString, QString> NftRuleTexts(const QString& listing);

// From `iptables-save`: the filter table's INPUT chain and the chains it reaches.
Ruleset FromIptablesSave(const QString& text);

// Every base chain that drops the answer, in ruleset order.
std::vector<Drop> FindDrops(const Ruleset& rules);

}  // namespace tb::diagnosis::firewall
