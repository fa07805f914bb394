// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/WinsockHeaders.h"
// clang-format off
#include <initguid.h>
#include <netfw.h>
#include <oleauto.h>
// clang-format on

#include <array>

#include "core/diagnosis/WindowsReaders.h"

namespace tb::diagnosis::windows_checks {

namespace {

// Releases a COM interface when the reading is done with it.
template <typename T>
struct Held {
  T* p = nullptr;
  Held() = default;
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() {
    if (p != nullptr) {
      p->Release();
    }
  }
  void** Out() { return reinterpret_cast<void**>(&p); }
};

QString Taken(BSTR text) {
  QString result = text == nullptr ? QString() : QString::fromWCharArray(text);
  ::SysFreeString(text);
  return result;
}

// Wine, for one, has the policy object but leaves its parts unimplemented.
QString Failed(const char* what, HRESULT hr) {
  return QStringLiteral("%1: 0x%2%3")
      .arg(QLatin1String(what))
      .arg(static_cast<unsigned long>(hr), 8, 16, QLatin1Char('0'))
      .arg(hr == E_NOTIMPL ? QStringLiteral(", not implemented by this system") : QString());
}

// Rules name programs with environment variables ("%ProgramFiles%\...").
QString Expanded(const QString& path) {
  if (!path.contains(QLatin1Char('%'))) {
    return path;
  }
  std::array<wchar_t, 1024> out{};
  const std::wstring in = path.toStdWString();
  const DWORD n = ::ExpandEnvironmentStringsW(in.c_str(), out.data(), out.size());
  return n == 0 || n > out.size() ? path : QString::fromWCharArray(out.data());
}

// One rule; false when it is no inbound rule or cannot be read.
bool ReadRule(IDispatch* item, FirewallRule& out) {
  Held<INetFwRule> rule;
  if (FAILED(item->QueryInterface(__uuidof(INetFwRule), rule.Out()))) {
    return false;
  }
  NET_FW_RULE_DIRECTION direction = NET_FW_RULE_DIR_OUT;
  VARIANT_BOOL enabled = VARIANT_FALSE;
  NET_FW_ACTION action = NET_FW_ACTION_BLOCK;
  LONG profiles = 0;
  LONG protocol = 0;
  BSTR name = nullptr;
  BSTR ports = nullptr;
  BSTR application = nullptr;
  if (FAILED(rule.p->get_Direction(&direction)) || direction != NET_FW_RULE_DIR_IN ||
      FAILED(rule.p->get_Enabled(&enabled)) || FAILED(rule.p->get_Action(&action)) ||
      FAILED(rule.p->get_Profiles(&profiles)) || FAILED(rule.p->get_Protocol(&protocol))) {
    return false;
  }
  rule.p->get_Name(&name);
  rule.p->get_LocalPorts(&ports);
  rule.p->get_ApplicationName(&application);
  out = {Taken(name),
         enabled != VARIANT_FALSE,
         action == NET_FW_ACTION_ALLOW,
         static_cast<int>(profiles),
         static_cast<int>(protocol),
         Taken(ports),
         Expanded(Taken(application))};
  return true;
}

QString ReadRules(INetFwPolicy2* policy, std::vector<FirewallRule>& out) {
  Held<INetFwRules> rules;
  Held<IUnknown> unknown;
  Held<IEnumVARIANT> items;
  HRESULT hr = policy->get_Rules(&rules.p);
  if (SUCCEEDED(hr)) {
    hr = rules.p->get__NewEnum(&unknown.p);
  }
  if (SUCCEEDED(hr)) {
    hr = unknown.p->QueryInterface(IID_IEnumVARIANT, items.Out());
  }
  if (FAILED(hr)) {
    return Failed("its rules", hr);
  }
  VARIANT item;
  ::VariantInit(&item);
  ULONG fetched = 0;
  while (items.p->Next(1, &item, &fetched) == S_OK && fetched == 1) {
    FirewallRule rule;
    if (item.vt == VT_DISPATCH && item.pdispVal != nullptr && ReadRule(item.pdispVal, rule)) {
      out.push_back(rule);
    }
    ::VariantClear(&item);
  }
  return {};
}

QString ReadPolicy(INetFwPolicy2* policy, FirewallReading& reading) {
  LONG active = 0;
  if (const HRESULT hr = policy->get_CurrentProfileTypes(&active); FAILED(hr)) {
    return Failed("its active profiles", hr);
  }
  reading.activeProfiles = static_cast<int>(active);
  for (const int type : std::array{ProfileDomain, ProfilePrivate, ProfilePublic}) {
    const auto profile = static_cast<NET_FW_PROFILE_TYPE2>(type);
    VARIANT_BOOL enabled = VARIANT_FALSE;
    VARIANT_BOOL blockAll = VARIANT_FALSE;
    NET_FW_ACTION inbound = NET_FW_ACTION_BLOCK;
    HRESULT hr = policy->get_FirewallEnabled(profile, &enabled);
    if (SUCCEEDED(hr)) {
      hr = policy->get_BlockAllInboundTraffic(profile, &blockAll);
    }
    if (SUCCEEDED(hr)) {
      hr = policy->get_DefaultInboundAction(profile, &inbound);
    }
    if (FAILED(hr)) {
      return Failed("a profile's settings", hr);
    }
    reading.profiles.push_back({type, enabled != VARIANT_FALSE, blockAll != VARIANT_FALSE,
                                inbound == NET_FW_ACTION_ALLOW});
  }
  return ReadRules(policy, reading.inbound);
}

}  // namespace

FirewallReading ReadFirewall() {
  FirewallReading reading;
  // The window's thread has COM set up already, perhaps in another mode;
  // then it is used as it is.
  const HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    Held<INetFwPolicy2> policy;
    const HRESULT hr = ::CoCreateInstance(CLSID_NetFwPolicy2, nullptr, CLSCTX_INPROC_SERVER,
                                          __uuidof(INetFwPolicy2), policy.Out());
    reading.failure = FAILED(hr) ? Failed("HNetCfg.FwPolicy2", hr) : ReadPolicy(policy.p, reading);
  }
  if (SUCCEEDED(init)) {
    ::CoUninitialize();
  }
  return reading;
}

QString ProgramPath() {
  std::array<wchar_t, 1024> path{};
  const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), path.size());
  return QString::fromWCharArray(path.data(), static_cast<int>(n));
}

}  // namespace tb::diagnosis::windows_checks
