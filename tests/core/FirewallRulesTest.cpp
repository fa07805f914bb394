// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/FirewallRules.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tb::diagnosis::firewall {
namespace {

// Pieces of `nft -j list ruleset`, in table "t" of family inet.
QJsonObject Chain(const QString& name, const QString& hook = {}, const QString& policy = {}) {
  QJsonObject chain{{"family", "inet"}, {"table", "t"}, {"name", name}};
  if (!hook.isEmpty()) {
    chain.insert("type", "filter");
    chain.insert("hook", hook);
    chain.insert("policy", policy.isEmpty() ? QStringLiteral("accept") : policy);
  }
  return {{"chain", chain}};
}

QJsonObject Rule(const QString& chain, int handle, const QJsonArray& expr) {
  return {{"rule", QJsonObject{{"family", "inet"},
                               {"table", "t"},
                               {"chain", chain},
                               {"handle", handle},
                               {"expr", expr}}}};
}

QJsonObject Match(const QJsonObject& left, const QJsonValue& right, const QString& op = "==") {
  return {{"match", QJsonObject{{"op", op}, {"left", left}, {"right", right}}}};
}

QJsonObject Payload(const QString& protocol, const QString& field) {
  return {{"payload", QJsonObject{{"protocol", protocol}, {"field", field}}}};
}

QJsonObject Meta(const QString& key) { return {{"meta", QJsonObject{{"key", key}}}}; }
QJsonObject CtState() { return {{"ct", QJsonObject{{"key", "state"}}}}; }
QJsonObject Verdict(const QString& verdict) { return {{verdict, QJsonValue()}}; }
QJsonObject Jump(const QString& target) { return {{"jump", QJsonObject{{"target", target}}}}; }
QJsonObject Set(const QJsonArray& items) { return {{"set", items}}; }
QJsonObject Range(int low, int high) { return {{"range", QJsonArray{low, high}}}; }
QJsonObject UdpDport() { return Payload("udp", "dport"); }

// The drops found, as "chain/handle" or "chain/policy".
QStringList Drops(const Ruleset& rules) {
  QStringList found;
  for (const Drop& d : FindDrops(rules)) {
    found << d.ruleChain + QLatin1Char('/') + (d.byPolicy ? QStringLiteral("policy") : d.handle);
  }
  return found;
}

Ruleset Nft(const QJsonArray& items, const QHash<QString, QString>& texts = {}) {
  return FromNftJson(QJsonDocument(QJsonObject{{"nftables", items}}).toJson(), texts);
}

TEST(FirewallRules, FindsWhatDropsAnUnsolicitedAnswerToPort998) {
  struct Case {
    const char* what;
    Ruleset rules;
    QStringList drops;
  };
  const QJsonObject input = Chain("input", "input");
  const QJsonObject xtMatch{{"xt", QJsonObject{{"type", "match"}, {"name", "multiport"}}}};
  const Case cases[] = {
      {"port",
       Nft({input, Rule("input", 4, {Match(UdpDport(), 998), Verdict("drop")})}),
       {"input/4"}},
      {"set",
       Nft({input, Rule("input", 4, {Match(UdpDport(), Set({53, 998})), Verdict("reject")})}),
       {"input/4"}},
      {"range",
       Nft({input, Rule("input", 4, {Match(UdpDport(), Range(990, 999)), Verdict("drop")})}),
       {"input/4"}},
      {"other protocol",
       Nft({input, Rule("input", 4, {Match(Payload("tcp", "dport"), 998), Verdict("drop")})}),
       {}},
      {"other port",
       Nft({input, Rule("input", 4, {Match(UdpDport(), 998, "!="), Verdict("drop")})}),
       {}},
      {"accepts that do not apply",
       Nft({input, Rule("input", 2, {Match(Meta("iifname"), "lo"), Verdict("accept")}),
            Rule("input", 3,
                 {Match(CtState(), QJsonArray{"established", "related"}), Verdict("accept")}),
            Rule("input", 4, {Match(UdpDport(), 998), Verdict("drop")})}),
       {"input/4"}},
      {"accepted first",
       Nft({input, Rule("input", 2, {Match(Meta("l4proto"), "udp"), Verdict("accept")}),
            Rule("input", 3, {Verdict("drop")})}),
       {}},
      {"policy", Nft({Chain("input", "input", "drop")}), {"input/policy"}},
      {"policy, port let in",
       Nft({Chain("input", "input", "drop"),
            Rule("input", 2,
                 {Match(CtState(), "new"), Match(UdpDport(), 998), Verdict("accept")})}),
       {}},
      {"policy, only some senders let in",
       Nft({Chain("input", "input", "drop"),
            Rule("input", 2, {Match(Payload("ip", "saddr"), "10.0.0.0/8"), Verdict("accept")})}),
       {"input/policy"}},
      {"a drop for some senders only",
       Nft({input, Rule("input", 2, {Match(Payload("ip", "saddr"), "1.2.3.4"), Verdict("drop")})}),
       {}},
      {"the port on one interface",
       Nft({input,
            Rule("input", 2,
                 {Match(Meta("iifname"), "eth0"), Match(UdpDport(), 998), Verdict("drop")})}),
       {"input/2"}},
      {"in a chain jumped to",
       Nft({input, Chain("sub"), Rule("input", 2, {Jump("sub")}),
            Rule("sub", 5, {Match(UdpDport(), 998), Verdict("drop")})}),
       {"sub/5"}},
      {"outgoing only", Nft({Chain("output", "output", "drop")}), {}},
      {"an iptables extension, spelt out by nft",
       Nft({input, Rule("input", 6, {xtMatch, Verdict("drop")})},
           {{RuleKey("inet", "t", "input", "6"),
             "meta l4proto udp udp dport 990-999 counter drop"}}),
       {"input/6"}},
      {"an iptables extension nft cannot spell out",
       Nft({input, Rule("input", 6, {xtMatch, Verdict("drop")})}),
       {}},
      {"iptables, port",
       FromIptablesSave("*filter\n:INPUT ACCEPT [0:0]\n"
                        "-A INPUT -p udp -m multiport --dports 53,998 -j REJECT --reject-with "
                        "icmp-port-unreachable\nCOMMIT\n"),
       {"INPUT/1"}},
      {"iptables, policy and a chain of ufw",
       FromIptablesSave("*filter\n:INPUT DROP [0:0]\n:ufw-user-input - [0:0]\n"
                        "-A INPUT -i lo -j ACCEPT\n-A INPUT -j ufw-user-input\n"
                        "-A ufw-user-input -p tcp --dport 22 -j ACCEPT\n"
                        "-A ufw-user-input -p udp ! --dport 998 -j ACCEPT\nCOMMIT\n"),
       {"INPUT/policy"}},
      {"iptables, port let in",
       FromIptablesSave("*filter\n:INPUT DROP [0:0]\n"
                        "-A INPUT -p udp -m udp --dport 998 -j ACCEPT\nCOMMIT\n"),
       {}},
      {"iptables, a range beside the port, then one open at its top",
       FromIptablesSave("*filter\n:INPUT ACCEPT [0:0]\n"
                        "-A INPUT -p udp -m multiport --dports 22,1000:2000 -j DROP\n"
                        "-A INPUT -p udp -m multiport --dports 53,997: -j DROP\nCOMMIT\n"),
       {"INPUT/2"}},
      {"iptables, chains jumped to again and again, and in a loop",
       FromIptablesSave("*filter\n:INPUT ACCEPT [0:0]\n:A - [0:0]\n:B - [0:0]\n"
                        "-A INPUT -j A\n-A INPUT -j A\n-A INPUT -j A\n-A INPUT -j A\n"
                        "-A A -j B\n-A A -j B\n-A A -j B\n-A A -j B\n-A A -j A\n"
                        "-A B -j A\n-A B -j A\n-A B -j A\n-A B -j A\n-A B -j B\n"
                        "-A INPUT -p udp --dport 998 -j DROP\nCOMMIT\n"),
       {"INPUT/5"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Drops(c.rules), c.drops) << c.what;
  }
}

TEST(FirewallRules, ReadsEachRuleTextOfTheListingWithoutItsCounters) {
  const QHash<QString, QString> texts =
      NftRuleTexts(QStringLiteral("table inet t { # handle 1\n"
                                  "\tchain input { # handle 1\n"
                                  "\t\ttype filter hook input priority filter; policy accept;\n"
                                  "\t\tudp dport 998 counter packets 3 bytes 90 drop # handle 4\n"
                                  "\t}\n"
                                  "}\n"));
  EXPECT_EQ(texts.value(RuleKey("inet", "t", "input", "4")), "udp dport 998 counter drop");
  EXPECT_EQ(texts.size(), 1);
}

}  // namespace
}  // namespace tb::diagnosis::firewall
