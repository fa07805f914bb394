// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "common/AnsiString.h"
#include "core/ChangeTimer.h"
#include "core/Exchange.h"
#include "core/ExchangeMode.h"
#include "core/MainServices.h"
#include "core/diagnosis/Doctor.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace tb {

class DeviceListModel;
class DeviceListView;
class TIdMemoryStream;
class TIdSocketHandle;
class TIdUDPServer;
class TInfoMessage;
class TfrmAbout;
class TfrmDiagnosis;
class TfrmProperties;
class TfrmTargets;

// The program's working window: banner, device list, command buttons, menus,
// and the query and configure exchanges with the devices.
class TfrmMain : public QMainWindow {
  Q_OBJECT

  // The exchanges themselves, shared with the command-line program. Declared
  // first, so destroyed after everything else the window owns; it closes its
  // endpoint before the controls, the window's children, are destroyed.
  TExchange exchange_;

 public:
  static constexpr int ClientWidth = 744;
  static constexpr int ClientHeight = 283;

  // Runs FormCreate: the bindings are set up and the first query starts.
  explicit TfrmMain(MainServices services = MainServices::System(), QWidget* parent = nullptr);
  ~TfrmMain() override;

  TfrmMain(const TfrmMain&) = delete;
  TfrmMain& operator=(const TfrmMain&) = delete;

  // The dialogs are created after the main window and handed in.
  void SetDialogs(TfrmProperties* properties, TfrmAbout* about);

  // Commands.
  void RefreshDevices();
  void Properties();
  void Configure();
  // Opens the diagnosis window, which runs the checks at once.
  void Diagnose();
  void ExitProgram();
  void SendCommand(const AnsiString& text);
  void SetExchangeMode(ExchangeMode mode);
  void AddDevice(const AnsiString& text);

  // Events.
  void UDPServerUDPRead(TIdUDPServer& Sender, TIdMemoryStream& AData, TIdSocketHandle& ABinding);
  void tmrTimeoutTimer();
  void lstDevicesSelectItem();
  void mnuPopupPopup();
  void mnuAboutClick();
  void mnuActionTargetsClick();

  // Controls, named as the rest of the program and the tests know them.
  QMenuBar* mnuMain = nullptr;
  QMenu* mnuAction = nullptr;
  QAction* mnuAbout = nullptr;
  QAction* mnuActionQuery = nullptr;
  QAction* mnuActionProperties = nullptr;
  QAction* mnuActionSeparator = nullptr;
  QAction* mnuActionTargets = nullptr;
  QAction* mnuActionDiagnosis = nullptr;
  QAction* mnuActionSeparator2 = nullptr;
  QAction* mnuActionExit = nullptr;
  QLabel* imgBanner = nullptr;
  DeviceListView* lstDevices = nullptr;
  QPushButton* btnQuery = nullptr;
  QPushButton* btnProperties = nullptr;
  QPushButton* btnExit = nullptr;
  QMenu* mnuPopup = nullptr;
  QAction* mnuPopupProperties = nullptr;
  QAction* mnuPopupConfigure = nullptr;
  QPushButton* btnConfigure = nullptr;
  QAction* mnuActionConfigure = nullptr;

  DeviceListModel* Devices() const { return devices_; }
  // The diagnosis window while it is open, else null.
  TfrmDiagnosis* DiagnosisWindow() const;
  // The checks as this window runs them: its own process holds port 998,
  // and its endpoint makes the live query.
  diagnosis::Options DiagnosisOptions();
  TInfoMessage* InfoMessage() const { return infoMessage_; }

  // The exchange's state, endpoint and timer.
  ExchangeMode FExchangeMode() const { return exchange_.FExchangeMode(); }
  bool FConfigOk() const { return exchange_.FConfigOk(); }
  const AnsiString& FTargetMAC() const { return exchange_.FTargetMAC(); }
  TIdUDPServer& UDPServer() const { return exchange_.UDPServer(); }
  TChangeTimer& tmrTimeout() { return exchange_.tmrTimeout(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void CreateMenus();
  void FormCreate();
  void Translate();
  void SetEnableProperties();
  TExchange::Events ExchangeEvents();
  std::optional<std::vector<diagnosis::HeardAnswer>> QueryForDiagnosis(std::uint32_t localAddress,
                                                                       std::uint32_t directed,
                                                                       int windowMs);
  // Waits, at most `limitMs`, for an exchange in its window to end.
  bool AwaitIdleExchange(int limitMs);
  static constexpr int IdleExchangeWaitMs = 3000;

  DeviceListModel* devices_ = nullptr;
  TInfoMessage* infoMessage_ = nullptr;
  TfrmProperties* frmProperties_ = nullptr;
  TfrmAbout* frmAbout_ = nullptr;
  QPointer<TfrmDiagnosis> frmDiagnosis_;
  // While the diagnosis queries, what each reply is also handed to.
  std::function<void(const AnsiString& text, const TIdSocketHandle& binding)> diagnosisTap_;
  TfrmTargets* frmTargets_ = nullptr;
};

}  // namespace tb
