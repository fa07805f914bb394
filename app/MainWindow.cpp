// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"
#include "ui/ErrorGuard.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>

#include "app/Banner.h"
#include "app/DeviceListView.h"
#include "core/DeviceListModel.h"
#include "core/ExchangeTexts.h"
#include "core/WebPage.h"
#include "net/IdUDPServer.h"
#include "ui/About.h"
#include "ui/FormStyle.h"
#include "ui/InfoMsg.h"
#include "ui/MessageBoxes.h"
#include "ui/Properties.h"
#include "ui/ShellOpen.h"
#include "ui/TargetsDialog.h"

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
  mnuActionTargetsSeparator = mnuAction->addSeparator();
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
      .clearList = [this] { devices_->Clear(); },
      .addDevice = [this](const AnsiString& text, const TIdSocketHandle&) { AddDevice(text); },
      .windowOpened =
          [this](ExchangeMode mode) {
            infoMessage_->MessageText =
                mode == ExchangeMode::Configuring ? ConfiguringText : QueryingText;
            infoMessage_->Show();
          },
      .windowEnded =
          [this] {
            infoMessage_->Close();
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
