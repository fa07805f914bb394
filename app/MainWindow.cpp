// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"
#include "ui/ErrorGuard.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <vector>

#include "app/Banner.h"
#include "app/ColumnWidths.h"
#include "app/DeviceListView.h"
#include "core/DeviceListModel.h"
#include "core/ExchangeTexts.h"
#include "core/WebPage.h"
#include "net/IdSocketHandle.h"
#include "net/IdSocketHandles.h"
#include "net/IdUDPServer.h"
#include "net/Ipv4Address.h"
#include "protocol/DeviceRow.h"
#include "protocol/Message.h"
#include "ui/About.h"
#include "ui/Diagnosis.h"
#include "ui/FormStyle.h"
#include "ui/InfoMsg.h"
#include "ui/MessageBoxes.h"
#include "ui/Properties.h"
#include "ui/ShellOpen.h"
#include "ui/TargetsDialog.h"

namespace tb {

namespace {

// Where the user goes when a query found nothing.
const char* const EmptyListHintText =
    "Ning\u00fan dispositivo respondi\u00f3. Acci\u00f3n \u2192 Diagn\u00f3stico... muestra por "
    "qu\u00e9.";

std::vector<int> DesignColumnWidths() { return {140, 80, 104, 50, 50, 95, 95, 95}; }

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QRect& geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

TfrmMain::TfrmMain(MainServices services, QWidget* parent)
    : QMainWindow(parent), exchange_(std::move(services), ExchangeEvents()) {
  setWindowTitle("Tarnwick Brelvan");
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setWindowIcon(ProgramIcon());
  CreateControls();
  CreateMenus();
  CenterOnScreen(this);
  FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::SetDialogs(TfrmProperties* properties, TfrmAbout* about) {
  frmProperties_ = properties;
  frmAbout_ = about;
}

void TfrmMain::CreateControls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);
  ApplyFormStyle(this, ClientWidth, ClientHeight);

  imgBanner = new QLabel(client);
  imgBanner->setGeometry(5, 3, 732, 65);
  imgBanner->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  imgBanner->setPixmap(QPixmap::fromImage(BannerImage(devicePixelRatioF())));

  devices_ = new DeviceListModel(this);
  lstDevices = new DeviceListView(client);
  lstDevices->setModel(devices_);
  lstDevices->setGeometry(5, 70, 732, 177);
  // The user may drag the dividers: a MAC in a long notation, or a long
  // name, can only be read whole that way, and should stay readable at the
  // next start.
  lstDevices->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  RememberColumnWidths(lstDevices->horizontalHeader(), DesignColumnWidths());

  btnQuery = MakeButton(client, "&Query Network", QRect(8, 256, 81, 25));
  btnProperties = MakeButton(client, "&Properties...", QRect(96, 256, 81, 25));
  btnExit = MakeButton(client, "E&xit", QRect(657, 254, 81, 25));
  btnConfigure = MakeButton(client, "&Configure...", QRect(184, 256, 89, 25));
  btnProperties->setEnabled(false);
  btnConfigure->setEnabled(false);

  QWidget::setTabOrder(lstDevices, btnQuery);
  QWidget::setTabOrder(btnQuery, btnProperties);
  QWidget::setTabOrder(btnProperties, btnExit);
  QWidget::setTabOrder(btnExit, btnConfigure);

  connect(btnQuery, &QPushButton::clicked, this, Guarded([this] { RefreshDevices(); }));
  connect(btnProperties, &QPushButton::clicked, this, Guarded([this] { Properties(); }));
  connect(btnConfigure, &QPushButton::clicked, this, Guarded([this] { Configure(); }));
  connect(btnExit, &QPushButton::clicked, this, Guarded([this] { ExitProgram(); }));
  connect(lstDevices, &DeviceListView::DoubleClicked, this, Guarded([this] { Properties(); }));
  connect(lstDevices->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          Guarded([this] { lstDevicesSelectItem(); }));
  lstDevices->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(lstDevices, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    mnuPopupPopup();
    mnuPopup->popup(lstDevices->viewport()->mapToGlobal(at));
  });
}

void TfrmMain::CreateMenus() {
  mnuMain = menuBar();
  mnuAction = mnuMain->addMenu("&Action");
  mnuAbout = mnuMain->addAction("A&bout");

  mnuActionQuery = mnuAction->addAction("&Query Network");
  mnuActionQuery->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  mnuActionProperties = mnuAction->addAction("&Properties...");
  mnuActionProperties->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  mnuActionProperties->setEnabled(false);
  mnuActionConfigure = mnuAction->addAction("&Configure...");
  mnuActionConfigure->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  mnuActionConfigure->setEnabled(false);
  mnuActionSeparator = mnuAction->addSeparator();
  mnuActionTargets = mnuAction->addAction("&Other Networks...");
  mnuActionDiagnosis = mnuAction->addAction("&Diagnosis...");
  mnuActionSeparator2 = mnuAction->addSeparator();
  mnuActionExit = mnuAction->addAction("E&xit");
  mnuActionExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
  // Shortcuts belong to the whole window, whichever control has the focus.
  for (QAction* action : {mnuActionQuery, mnuActionProperties, mnuActionConfigure, mnuActionExit}) {
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
  }

  mnuPopup = new QMenu(this);
  mnuPopupProperties = mnuPopup->addAction("&Properties...");
  mnuPopupConfigure = mnuPopup->addAction("&Configure...");

  // The client area keeps its size below the menu bar.
  centralWidget()->setFixedSize(ClientWidth, ClientHeight);
  setFixedSize(ClientWidth, ClientHeight + mnuMain->sizeHint().height());

  connect(mnuActionQuery, &QAction::triggered, this, Guarded([this] { RefreshDevices(); }));
  connect(mnuActionProperties, &QAction::triggered, this, Guarded([this] { Properties(); }));
  connect(mnuActionConfigure, &QAction::triggered, this, Guarded([this] { Configure(); }));
  connect(mnuActionDiagnosis, &QAction::triggered, this, Guarded([this] { Diagnose(); }));
  connect(mnuActionExit, &QAction::triggered, this, Guarded([this] { ExitProgram(); }));
  connect(mnuActionTargets, &QAction::triggered, this,
          Guarded([this] { mnuActionTargetsClick(); }));
  connect(mnuAbout, &QAction::triggered, this, Guarded([this] { mnuAboutClick(); }));
  connect(mnuPopupProperties, &QAction::triggered, this, Guarded([this] { Properties(); }));
  connect(mnuPopupConfigure, &QAction::triggered, this, Guarded([this] { Configure(); }));
}

void TfrmMain::FormCreate() {
  Translate();
  exchange_.SetUpBindings();
  infoMessage_ = new TInfoMessage(this);
  frmTargets_ = new TfrmTargets(this);
  frmTargets_->LoadList();
  exchange_.SetTargets(frmTargets_->Entries());
  RefreshDevices();
}

void TfrmMain::Translate() {
  mnuAction->setTitle(QString::fromUtf8("&Acci\u00f3n"));
  mnuActionQuery->setText("&Buscar");
  mnuActionProperties->setText("&Propiedades...");
  mnuActionConfigure->setText(QString::fromUtf8("&Configuraci\u00f3n..."));
  mnuActionTargets->setText("&Redes adicionales...");
  mnuActionDiagnosis->setText(QString::fromUtf8("&Diagn\u00f3stico..."));
  mnuActionExit->setText("&Salir");
  mnuAbout->setText("A&cerca de");
  mnuPopupProperties->setText("&Propiedades...");
  mnuPopupConfigure->setText(QString::fromUtf8("&Configuraci\u00f3n..."));
  btnQuery->setText("&Buscar");
  btnProperties->setText("&Propiedades...");
  btnConfigure->setText(QString::fromUtf8("&Configuraci\u00f3n..."));
  btnExit->setText("&Salir");
  devices_->SetColumnCaption(0, "Dispositivo");
  // The picture and the list have no caption of their own for a screen
  // reader to read; the buttons and menus read their text.
  imgBanner->setAccessibleName(QString::fromUtf8(
      "Tarnwick Brelvan: b\u00fasqueda y configuraci\u00f3n de dispositivos de red IP"));
  lstDevices->setAccessibleName("Dispositivos");
}

void TfrmMain::SetEnableProperties() {
  const bool selected = lstDevices->SelCount() > 0;
  for (QAction* action :
       {mnuActionProperties, mnuPopupProperties, mnuActionConfigure, mnuPopupConfigure}) {
    action->setEnabled(selected);
  }
  btnProperties->setEnabled(selected);
  btnConfigure->setEnabled(selected);
}

void TfrmMain::lstDevicesSelectItem() { SetEnableProperties(); }

void TfrmMain::mnuPopupPopup() { mnuPopupProperties->setEnabled(lstDevices->SelCount() > 0); }

void TfrmMain::mnuAboutClick() {
  if (frmAbout_ != nullptr) {
    frmAbout_->exec();
  }
}

// The list may also have changed through brelvan since the program started.
void TfrmMain::mnuActionTargetsClick() {
  frmTargets_->LoadList();
  frmTargets_->exec();
  exchange_.SetTargets(frmTargets_->Entries());
}

void TfrmMain::ExitProgram() { close(); }

void TfrmMain::closeEvent(QCloseEvent* event) {
  // Whatever exchange is running is abandoned without a word.
  tmrTimeout().SetEnabled(false);
  if (infoMessage_ != nullptr) {
    infoMessage_->Close();
  }
  QMainWindow::closeEvent(event);
}

TExchange::Events TfrmMain::ExchangeEvents() {
  return {
      .clearList =
          [this] {
            lstDevices->SetEmptyHint({});
            devices_->Clear();
          },
      .addDevice =
          [this](const AnsiString& text, const TIdSocketHandle& binding) {
            if (diagnosisTap_) {
              diagnosisTap_(text, binding);
            }
            AddDevice(text);
          },
      .windowOpened =
          [this](ExchangeMode mode) {
            infoMessage_->MessageText =
                mode == ExchangeMode::Configuring ? ConfiguringText : QueryingText;
            infoMessage_->Show();
          },
      .windowEnded =
          [this] {
            infoMessage_->Close();
            if (exchange_.FExchangeMode() == ExchangeMode::Querying && devices_->Count() == 0) {
              lstDevices->SetEmptyHint(QString::fromUtf8(EmptyListHintText));
            }
            if (exchange_.FExchangeMode() == ExchangeMode::Querying && devices_->Unlisted() > 0) {
              ShowProgramMessage(this, UnlistedDevicesText + std::to_string(devices_->Unlisted()));
            }
          },
      .configurationEnded =
          [this](bool success, TargetReply) {
            ShowProgramMessage(this, success ? ConfigSuccessText : ConfigFailureText);
          },
      .showMessage = [this](const AnsiString& text) { ShowProgramMessage(this, text); },
  };
}

void TfrmMain::SendCommand(const AnsiString& text) { exchange_.SendCommand(text); }

void TfrmMain::SetExchangeMode(ExchangeMode mode) { exchange_.SetExchangeMode(mode); }

void TfrmMain::RefreshDevices() { exchange_.RefreshDevices(); }

void TfrmMain::AddDevice(const AnsiString& text) { devices_->AddRow(MakeDeviceRow(text)); }

void TfrmMain::UDPServerUDPRead(TIdUDPServer& Sender, TIdMemoryStream& AData,
                                TIdSocketHandle& ABinding) {
  exchange_.UDPServerUDPRead(Sender, AData, ABinding);
}

void TfrmMain::tmrTimeoutTimer() { exchange_.tmrTimeoutTimer(); }

void TfrmMain::Properties() {
  const int selected = lstDevices->SelectedRow();
  if (selected < 0 || frmProperties_ == nullptr) {
    return;
  }
  const DeviceRow& row = devices_->Row(selected);
  const ConfigRequest current = CurrentSettings(row);
  TfrmProperties& dialog = *frmProperties_;
  dialog.DeviceName = row.caption;
  dialog.MAC = current.mac;
  dialog.Version = row.subItems[SubVersion];
  dialog.DHCP = current.dhcp;
  dialog.IP = current.ip;
  dialog.Netmask = current.netmask;
  dialog.Gateway = current.gateway;
  dialog.HostNameEnabled = current.hostNameEnabled;
  dialog.HostName = current.hostName;
  if (!dialog.ShowModalOk()) {
    return;
  }
  ConfigRequest request;
  request.password = dialog.Password;
  request.mac = dialog.MAC;
  request.dhcp = dialog.DHCP;
  request.ip = dialog.IP;
  request.netmask = dialog.Netmask;
  request.gateway = dialog.Gateway;
  request.hostNameEnabled = dialog.HostNameEnabled;
  request.hostName = dialog.HostName;
  exchange_.SendConfiguration(request);
}

void TfrmMain::Diagnose() {
  if (frmDiagnosis_ != nullptr) {
    // Still there: closed while its checks run, it is only hidden.
    frmDiagnosis_->open();
    frmDiagnosis_->raise();
    return;
  }
  frmDiagnosis_ =
      new TfrmDiagnosis([this] { return diagnosis::RunChecks(DiagnosisOptions()); }, this);
  frmDiagnosis_->setAttribute(Qt::WA_DeleteOnClose);
  frmDiagnosis_->open();
}

TfrmDiagnosis* TfrmMain::DiagnosisWindow() const { return frmDiagnosis_.data(); }

diagnosis::Options TfrmMain::DiagnosisOptions() {
  diagnosis::Options options;
  options.windowMs = QueryWindowMs;
  options.ownPid = QCoreApplication::applicationPid();
  options.doctorProgram = QStringLiteral("brelvan");
  options.liveQuery = [this](std::uint32_t localAddress, std::uint32_t directed, int windowMs) {
    return QueryForDiagnosis(localAddress, directed, windowMs);
  };
  return options;
}

// Spins the event loop until the exchange's window has ended, at most
// `limitMs`: a query or a configuration still in its window (the diagnosis
// opened just after Buscar) ends before the diagnosis's query, which may not
// cut it short, and the diagnosis's own query ends as any query does.
bool TfrmMain::AwaitIdleExchange(int limitMs) {
  if (exchange_.FExchangeMode() == ExchangeMode::Idle) {
    return true;
  }
  QEventLoop loop;
  QTimer poll;
  QTimer limit;
  limit.setSingleShot(true);
  connect(&poll, &QTimer::timeout, &loop, [&] {
    if (exchange_.FExchangeMode() == ExchangeMode::Idle) {
      loop.quit();
    }
  });
  connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  poll.start(10);
  limit.start(limitMs);
  loop.exec();
  return exchange_.FExchangeMode() == ExchangeMode::Idle;
}

// The window's endpoint holds port 998, so the diagnosis asks through it:
// out of the binding on `localAddress`, as a query's window, with what the
// exchange hands on tapped. The list shows what answered, as after a query.
std::optional<std::vector<diagnosis::HeardAnswer>> TfrmMain::QueryForDiagnosis(
    std::uint32_t localAddress, std::uint32_t directed, int windowMs) {
  TIdSocketHandles& bindings = UDPServer().Bindings();
  TIdSocketHandle* from = nullptr;
  for (int i = 0; i < bindings.Count() && from == nullptr; ++i) {
    TIdSocketHandle& binding = bindings.Items(i);
    if (binding.HandleAllocated() && ParseDottedIPv4(binding.IP) == localAddress) {
      from = &binding;
    }
  }
  if (from == nullptr || !AwaitIdleExchange(IdleExchangeWaitMs)) {
    return std::nullopt;
  }
  std::vector<diagnosis::HeardAnswer> answers;
  diagnosisTap_ = [&answers](const AnsiString& text, const TIdSocketHandle& binding) {
    answers.push_back(diagnosis::HeardAnswerFrom(text, ParseDottedIPv4(binding.IP).value_or(0)));
  };
  try {
    from->SendTo(directed, CommandPort, QueryCommand);
    from->SendTo(LimitedBroadcast, CommandPort, QueryCommand);
  } catch (...) {
    diagnosisTap_ = nullptr;
    return std::nullopt;
  }
  exchange_.SetQueryWindow(windowMs);
  exchange_.SetExchangeMode(ExchangeMode::Querying);
  AwaitIdleExchange(windowMs + IdleExchangeWaitMs);
  exchange_.SetQueryWindow(QueryWindowMs);
  diagnosisTap_ = nullptr;
  return answers;
}

void TfrmMain::Configure() {
  const int selected = lstDevices->SelectedRow();
  if (selected < 0) {
    return;
  }
  const std::optional<AnsiString> page = WebPageText(devices_->Row(selected).subItems[SubIP]);
  if (!page) {
    ShowProgramMessage(this, NoWebPageText);
    return;
  }
  ShellOpen(this, *page);
}

}  // namespace tb
