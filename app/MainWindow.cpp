#include "MainWindow.h"
#include "ErrorGuard.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>

#include "About.h"
#include "Banner.h"
#include "DeviceListModel.h"
#include "DeviceListView.h"
#include "ExchangeTexts.h"
#include "FanOut.h"
#include "FormStyle.h"
#include "IdUDPServer.h"
#include "InfoMsg.h"
#include "Message.h"
#include "MessageBoxes.h"
#include "Properties.h"
#include "ShellOpen.h"

namespace tb {

namespace {

constexpr int ColumnWidths[DeviceListModel::ColumnCount] = {140, 80, 104, 50, 50, 95, 95, 95};

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QRect& geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

TfrmMain::TfrmMain(MainServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
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

TfrmMain::~TfrmMain() {
  // The endpoint goes first, so that no datagram reaches a control that is
  // being destroyed.
  UDPServer.reset();
}

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
  imgBanner->setPixmap(QPixmap::fromImage(BannerImage()));

  devices_ = new DeviceListModel(this);
  lstDevices = new DeviceListView(client);
  lstDevices->setModel(devices_);
  lstDevices->setGeometry(5, 70, 732, 177);
  for (int column = 0; column < DeviceListModel::ColumnCount; ++column) {
    lstDevices->setColumnWidth(column, ColumnWidths[column]);
  }
  // The user may drag the dividers: a MAC in a long notation, or a long
  // name, can only be read whole that way.
  lstDevices->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);

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

  tmrTimeout = new TChangeTimer(this);
  tmrTimeout->OnTimer = [this] { tmrTimeoutTimer(); };

  UDPServer = std::make_unique<TIdUDPServer>();
  UDPServer->BroadcastEnabled = true;
  UDPServer->DefaultPort = 0;
  UDPServer->BufferSize = 8192;
  UDPServer->ThreadedEvent = false;
  UDPServer->OnUDPRead = [this](TIdUDPServer& sender, TIdMemoryStream& data,
                                TIdSocketHandle& binding) {
    UDPServerUDPRead(sender, data, binding);
  };

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
  connect(mnuActionExit, &QAction::triggered, this, Guarded([this] { ExitProgram(); }));
  connect(mnuAbout, &QAction::triggered, this, Guarded([this] { mnuAboutClick(); }));
  connect(mnuPopupProperties, &QAction::triggered, this, Guarded([this] { Properties(); }));
  connect(mnuPopupConfigure, &QAction::triggered, this, Guarded([this] { Configure(); }));
}

void TfrmMain::FormCreate() {
  Translate();
  FExchangeMode = ExchangeMode::Idle;
  FConfigOk = false;
  FTargetMAC.clear();
  SetUpBindings(*UDPServer, services_.listHostAddresses,
                [this](const AnsiString& text) { ShowProgramMessage(this, text); });
  infoMessage_ = new TInfoMessage(this);
  RefreshDevices();
}

void TfrmMain::Translate() {
  mnuAction->setTitle(QString::fromUtf8("&Acci\u00f3n"));
  mnuActionQuery->setText("&Buscar");
  mnuActionProperties->setText("&Propiedades...");
  mnuActionConfigure->setText(QString::fromUtf8("&Configuraci\u00f3n..."));
  mnuActionExit->setText("&Salir");
  mnuAbout->setText("A&cerca de");
  mnuPopupProperties->setText("&Propiedades...");
  mnuPopupConfigure->setText(QString::fromUtf8("&Configuraci\u00f3n..."));
  btnQuery->setText("&Buscar");
  btnProperties->setText("&Propiedades...");
  btnConfigure->setText(QString::fromUtf8("&Configuraci\u00f3n..."));
  btnExit->setText("&Salir");
  devices_->SetColumnCaption(0, "Dispositivo");
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

void TfrmMain::ExitProgram() { close(); }

void TfrmMain::closeEvent(QCloseEvent* event) {
  // Whatever exchange is running is abandoned without a word.
  tmrTimeout->SetEnabled(false);
  if (infoMessage_ != nullptr) {
    infoMessage_->Close();
  }
  QMainWindow::closeEvent(event);
}

void TfrmMain::SendCommand(const AnsiString& text) {
  if (services_.sendCommand) {
    services_.sendCommand(text);
    return;
  }
  SendCommandFanOut(text, *UDPServer, services_.getLocalInterfaces,
                    [this](const AnsiString& message) { ShowProgramMessage(this, message); });
}

void TfrmMain::SetExchangeMode(ExchangeMode mode) {
  FExchangeMode = mode;
  tmrTimeout->SetInterval(QueryWindowMs);
  if (mode == ExchangeMode::Configuring) {
    tmrTimeout->SetInterval(ConfigureWindowMs);
  }
  tmrTimeout->SetEnabled(true);
  switch (mode) {
    case ExchangeMode::Idle:
      tmrTimeout->SetEnabled(false);
      break;
    case ExchangeMode::Querying:
      infoMessage_->MessageText = QueryingText;
      infoMessage_->Show();
      break;
    case ExchangeMode::Configuring:
      infoMessage_->MessageText = ConfiguringText;
      infoMessage_->Show();
      break;
  }
}

void TfrmMain::RefreshDevices() {
  devices_->Clear();
  SendCommand(QueryCommand);
  SetExchangeMode(ExchangeMode::Querying);
}

void TfrmMain::AddDevice(const AnsiString& text) { devices_->AddRow(MakeDeviceRow(text)); }

void TfrmMain::UDPServerUDPRead(TIdUDPServer& /*Sender*/, TIdMemoryStream& AData,
                                TIdSocketHandle& /*ABinding*/) {
  const AnsiString text = AData.DataString();
  switch (FExchangeMode) {
    case ExchangeMode::Idle:
      FConfigOk = false;
      break;
    case ExchangeMode::Querying:
      if (GetCommandName(text) == "NTM") {
        AddDevice(text);
      }
      break;
    case ExchangeMode::Configuring: {
      const AnsiString name = GetCommandName(text);
      if (name == "NAK" && GetField(text, 1, '(') == FTargetMAC) {
        FConfigOk = false;
      } else if (name == "ACK" && GetField(text, 1, '(') == FTargetMAC) {
        FConfigOk = true;
      }
      break;
    }
  }
}

void TfrmMain::tmrTimeoutTimer() {
  tmrTimeout->SetEnabled(false);
  infoMessage_->Close();
  if (FExchangeMode == ExchangeMode::Configuring) {
    ShowProgramMessage(this, FConfigOk ? ConfigSuccessText : ConfigFailureText);
    FConfigOk = false;
    FTargetMAC.clear();
  } else {
    FExchangeMode = ExchangeMode::Idle;
  }
}

void TfrmMain::Properties() {
  const int selected = lstDevices->SelectedRow();
  if (selected < 0 || frmProperties_ == nullptr) {
    return;
  }
  const DeviceRow& row = devices_->Row(selected);
  TfrmProperties& dialog = *frmProperties_;
  dialog.DeviceName = row.caption;
  dialog.MAC = row.subItems[SubMAC];
  dialog.Version = row.subItems[SubVersion];
  dialog.DHCP = row.subItems[SubDHCP] == "Si" || row.subItems[SubIP] == "0.0.0.0";
  dialog.IP = row.subItems[SubIP];
  dialog.Netmask = row.subItems[SubNetmask];
  dialog.Gateway = row.subItems[SubGateway];
  dialog.HostNameEnabled = row.subItems[SubHostNameMarker] == AcceptsHostName;
  dialog.HostName = row.subItems[SubHost];
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
  SendCommand(BuildConfigCommand(request));
  FTargetMAC = dialog.MAC;
  // Only a reply to this request may decide its outcome: a flag left set by
  // an abandoned window, or by an ACK with an empty MAC after the last
  // outcome, would report a silent device as configured. Cleared after the
  // send, so nothing handled while a send failure is on screen counts either.
  FConfigOk = false;
  SetExchangeMode(ExchangeMode::Configuring);
}

void TfrmMain::Configure() {
  const int selected = lstDevices->SelectedRow();
  if (selected < 0) {
    return;
  }
  ShellOpen(this, WebPagePrefix + devices_->Row(selected).subItems[SubIP]);
}

}  // namespace tb
