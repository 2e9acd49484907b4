#include "mainwindow.h"
#include "historydock.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QHostAddress>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QResizeEvent>
#include <QSettings>
#include <QTcpSocket>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>

#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/link/logging.h"
#include "core/protocol/protocol.h"
#include "core/settings/datapaths.h"
#include "ui/common/prompt.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/devices/qdevicelist.h"
#include "ui/devices/qdevtable.h"
#include "ui/devices/startupconnect.h"
#include "ui/modules/qcail.h"
#include "ui/pages/dialogprogress.h"
#include "ui/pages/firmwareupload.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qlockpwdmoddialog.h"
#include "ui/pages/qlogin.h"
#include "ui/pages/qoverview.h"
#include "ui/pages/qpreset.h"
#include "ui/pages/qpwdmoddialog.h"
#include "ui/pages/qsecurity.h"
#include "ui/pages/unithistory.h"

namespace {

const QString GeometryKey = QStringLiteral("WindowGeometry");
constexpr int FaultReshowMs = 120000;

} // namespace

mainWindow::mainWindow(const AppOptions &options, Prompt *prompt, QSettings *settings, QWidget *parent)
    : QMainWindow(parent)
    , m_options(options)
    , m_prompt(prompt ? prompt : Prompt::standard())
    , m_settings(settings)
    , m_link(new Link(this))
    , m_translator(new QTranslator(this))
{
    if (!m_settings) {
        m_settings = new QSettings(QStringLiteral("QZ"), QStringLiteral("Orvalix8"));
        m_ownsSettings = true;
    }
    m_link->setControlPort(options.controlPort);

    setWindowIcon(QIcon(DataPaths::images() + QStringLiteral("app.ico")));
    m_languages.read();
    m_config.highDpiScaling = LocalConfig::readHighDpiScaling();
    m_config.read();
    m_link->setCode(m_config.code);
    buildMenu();
    setLanguage(m_config.currentLanguage);

    QDevTable::Network network;
    network.discoveryPort = options.discoveryPort;
    network.commandAddress = QHostAddress(options.commandAddress);
    network.commandPort = options.commandPort;
    network.controlPort = options.controlPort;
    m_devTable = new QDevTable(network, m_prompt, m_settings, this);
    buildCentralArea();
    buildDialogs();
    connectComponents();
    // After connectComponents(): the history reads a report once the page
    // it is for has taken it in.
    m_history = new UnitHistory(m_funcWidget, m_link, m_prompt, this);
    m_history->setProgress(m_progressSteps);
    m_historyDock = new HistoryDock(m_history, this);
    addDockWidget(Qt::RightDockWidgetArea, m_historyDock);
    m_historyDock->hide();
    m_historyDock->buildMenu(menuBar());
    KeyboardAccess::orderByLayout(this);
    for (QDialog *dialog : findChildren<QDialog *>())
        KeyboardAccess::orderByLayout(dialog);
    m_devTable->loadDevices();
    if (!options.connectAddress.isEmpty()) {
        auto *startup = new StartupConnect(m_devTable, m_deviceList,
                                           QHostAddress(options.connectAddress).toIPv4Address(),
                                           StartupConnect::DefaultWaitMs, this);
        connect(startup, &StartupConnect::finished, startup, &QObject::deleteLater);
        startup->start();
    }

    resize(1024, 600);
    const QByteArray geometry = m_settings->value(GeometryKey).toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    retranslate();
}

mainWindow::~mainWindow()
{
    m_settings->setValue(GeometryKey, saveGeometry());
    m_settings->sync();
    if (m_ownsSettings)
        delete m_settings;
}

void mainWindow::buildMenu()
{
    m_menu = menuBar()->addMenu(QString());
    m_armUpdateAction = m_menu->addAction(QString(), this, &mainWindow::armUpdateClicked);
    m_dspUpdateAction = m_menu->addAction(QString(), this, &mainWindow::dspUpdateClicked);
    m_pwdModAction = m_menu->addAction(QString(), this, &mainWindow::pwdModClicked);
    m_lockPwdModAction = m_menu->addAction(QString(), this, &mainWindow::lockPwdModClicked);
    m_resetAction = m_menu->addAction(QString(), this, &mainWindow::resetClicked);
    if (m_languages.count() > 1) {
        m_languageMenu = m_menu->addMenu(QString());
        // The language shown carries the check mark.
        auto *group = new QActionGroup(m_languageMenu);
        group->setExclusive(true);
        for (int i = 0; i < m_languages.count(); ++i) {
            QAction *action = m_languageMenu->addAction(QString());
            action->setObjectName(QStringLiteral("language%1").arg(i + 1));
            action->setCheckable(true);
            action->setChecked(i == m_config.currentLanguage);
            group->addAction(action);
            connect(action, &QAction::triggered, this, &mainWindow::languageActionClicked);
            m_languageActions << action;
        }
    }
    m_devListAction = m_menu->addAction(QString(), this, &mainWindow::devListClicked);
    m_menu->addSeparator();
    m_highDpiMenu = m_menu->addMenu(QString());
    m_highDpiOn = m_highDpiMenu->addAction(QString());
    m_highDpiOn->setObjectName(QStringLiteral("1"));
    m_highDpiOff = m_highDpiMenu->addAction(QString());
    m_highDpiOff->setObjectName(QStringLiteral("0"));
    for (QAction *action : {m_highDpiOn, m_highDpiOff}) {
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, &mainWindow::highDpiScalingTriggered);
    }
    m_highDpiOn->setChecked(m_config.highDpiScaling);
    m_highDpiOff->setChecked(!m_config.highDpiScaling);
}

void mainWindow::buildCentralArea()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto *centralLayout = new QHBoxLayout(central);
    centralLayout->setContentsMargins(2, 2, 2, 2);
    centralLayout->setSpacing(2);

    auto *left = new QWidget(central);
    left->setObjectName(QStringLiteral("leftWidget"));
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(5, 5, 5, 5);
    leftLayout->setSpacing(5);

    auto *logo = new QFrame(left);
    logo->setObjectName(QStringLiteral("logoFrame"));
    logo->setMinimumHeight(70);
    const QString imageDir = DataPaths::images();
    QString logoFile = imageDir + QStringLiteral("logo.bmp");
    if (QFile::exists(imageDir + QStringLiteral("logo.png")))
        logoFile = imageDir + QStringLiteral("logo.png");
    else if (QFile::exists(imageDir + QStringLiteral("logo.jpg")))
        logoFile = imageDir + QStringLiteral("logo.jpg");
    logo->setStyleSheet(QStringLiteral("QFrame#logoFrame{border-image:url(") + logoFile + QStringLiteral(");}"));

    m_deviceList = new QDeviceList(left);
    m_addDeviceButton = new QPushButton(left);
    m_addDeviceButton->setObjectName(QStringLiteral("normalButton"));
    m_addDeviceButton->setMinimumSize(80, 25);
    connect(m_addDeviceButton, &QPushButton::clicked, m_devTable, qOverload<>(&QDevTable::addDevice));

    leftLayout->addWidget(logo, 1);
    leftLayout->addWidget(m_deviceList, 8);
    leftLayout->addWidget(m_addDeviceButton, 0, Qt::AlignHCenter | Qt::AlignVCenter);

    // The overview and the page buttons stay in place; only the page area
    // below them scrolls (FuncWidget::pageArea).
    auto *right = new QWidget(central);
    right->setObjectName(QStringLiteral("rightWidget"));
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    m_overView = new QOverView(m_link, right);
    m_funcWidget = new FuncWidget(m_link, m_prompt, right);
    m_funcWidget->cailDialog()->setSettings(m_settings);
    rightLayout->addWidget(m_overView, 0);
    rightLayout->addWidget(m_funcWidget, 1);

    centralLayout->addWidget(left, 1);
    centralLayout->addWidget(right, 8);
    setCentralWidget(central);
}

void mainWindow::buildDialogs()
{
    m_progress = new QProgressDialog(this);
    m_progress->setWindowTitle(QStringLiteral(" "));
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->reset();
    m_progress->hide();

    m_login = new QLogin(this);
    m_pwdMod = new QPwdModDialog(this);
    m_lockPwdMod = new QlockPwdModDialog(this);
    connect(m_funcWidget->security(), &QSecurity::lockPasswordChanged, this, [this](bool changed) {
        if (changed)
            tellLater(Prompt::Icon::Information, tr("Modify lock password"), tr("The lock password was changed."));
        else
            tellLater(Prompt::Icon::Warning, tr("Modify lock password"),
                      tr("Wrong lock password: the lock password was not changed."));
    });
    m_progressSteps = new DialogProgress(m_progress, this);
    m_funcWidget->preset()->setProgress(m_progressSteps);
    m_firmware = new FirmwareUpload(m_link, m_prompt, m_progressSteps, this);

    // Our own button, not the box's standard one: the box would put the
    // platform's English "OK" back on every language change.
    m_faultBox = new QMessageBox(QMessageBox::Critical, QString(), QString(), QMessageBox::NoButton, this);
    m_faultOkButton = m_faultBox->addButton(QString(), QMessageBox::AcceptRole);
    m_faultBox->setModal(false);
    m_faultTimer = new QTimer(this);
    connect(m_faultTimer, &QTimer::timeout, this, &mainWindow::showDeviceFaultMessageBox);
}

void mainWindow::connectComponents()
{
    connect(m_login, &QLogin::EnterPassword, this, &mainWindow::sendPwdMsg);

    connect(m_funcWidget, &FuncWidget::sigInMeter, m_overView, &QOverView::setInMeter);
    connect(m_funcWidget, &FuncWidget::sigInMute, m_overView, &QOverView::setInMute);
    connect(m_funcWidget, &FuncWidget::sigGateOpen, m_overView, &QOverView::setGateState);
    connect(m_funcWidget, &FuncWidget::sigInLimiterMeter, m_overView, &QOverView::setInCompMeter);
    connect(m_funcWidget, &FuncWidget::sigOutMeter, m_overView, &QOverView::setOutMeter);
    connect(m_funcWidget, &FuncWidget::sigOutMute, m_overView, &QOverView::setOutMute);
    connect(m_funcWidget, &FuncWidget::sigOutLimiterMeter, m_overView, &QOverView::setOutCompMeter);
    connect(m_funcWidget, &FuncWidget::sigModel, m_overView, &QOverView::setModel);
    connect(m_funcWidget, &FuncWidget::sigArmVer, m_overView, &QOverView::setArmVer);
    connect(m_funcWidget, &FuncWidget::sigDspVer, m_overView, &QOverView::setDspVer);
    connect(m_funcWidget, &FuncWidget::sigLocation, m_overView, &QOverView::setLocation);
    connect(m_funcWidget, &FuncWidget::sigDescription, m_overView, &QOverView::setDescription);
    connect(m_funcWidget, &FuncWidget::sigIpaddr, m_overView, &QOverView::setIPAddrState);
    connect(m_funcWidget, &FuncWidget::sigAllMute, m_overView, &QOverView::setAllMute);
    connect(m_funcWidget, &FuncWidget::sigDspRes, m_overView, &QOverView::setDspRes);
    connect(m_funcWidget, &FuncWidget::sigFault, this, &mainWindow::setFault);
    connect(m_overView, &QOverView::inMuteChanged, m_funcWidget, &FuncWidget::setInMute);
    connect(m_overView, &QOverView::outMuteChanged, m_funcWidget, &FuncWidget::setOutMute);

    connect(m_devTable, &QDevTable::sigAddDev, m_deviceList, &QDeviceList::addItem);
    connect(m_devTable, &QDevTable::sigRemoveDev, m_deviceList, &QDeviceList::removeRow);
    connect(m_devTable, &QDevTable::sigIpaddr, m_deviceList, &QDeviceList::setIpaddr);
    connect(m_funcWidget, &FuncWidget::sigNetwork, m_devTable, &QDevTable::setCurrentUnitNetwork);
    connect(m_devTable, &QDevTable::sigNetState, this, &mainWindow::netChanged);
    connect(m_devTable, &QDevTable::sigNetBrowsingState, m_deviceList, &QDeviceList::setNetBrowsingState);
    connect(m_devTable, &QDevTable::sigModel, m_deviceList, &QDeviceList::setDeviceModel);
    connect(m_devTable, &QDevTable::sigPreset, m_deviceList, &QDeviceList::setDevicePreset);
    connect(m_devTable, &QDevTable::sigFault, m_deviceList, &QDeviceList::setFaultState);
    // Order matters: the device table drops the old unit before the window
    // switches to the new one.
    connect(m_deviceList, &QDeviceList::sig_devChanged, m_devTable, &QDevTable::devChanged);
    connect(m_deviceList, &QDeviceList::sig_devChanged2, m_devTable, &QDevTable::devChanged2);
    connect(m_deviceList, &QDeviceList::sig_devChanged, this, &mainWindow::devChanged);
    connect(m_deviceList, &QDeviceList::sig_removeRow, m_devTable, &QDevTable::removeDev);
    connect(m_deviceList, &QDeviceList::sig_ipClicked, m_devTable, &QDevTable::ipClicked);
    connect(m_link, &Link::loggedInChanged, m_devTable, &QDevTable::setLoggedIn);

    connect(m_link, &Link::upgradeAck, m_firmware, &FirmwareUpload::onUpgradeAck);
    // Every new connection starts a new login: the unit reports first.
    connect(m_link, &Link::connected, this, [this] {
        m_dialogPasswordSocket = nullptr;
        m_rememberedRetrySocket = nullptr;
    });
    connect(m_link, &Link::systemMessage, this, &mainWindow::onSystemMessage);
    connect(m_link, &Link::moduleMessage, m_funcWidget, &FuncWidget::onModuleMessage);
    connect(m_link, &Link::linkLost, this, [this] {
        m_overView->reset();
        m_funcWidget->linkLost();
    });
    connect(m_link, &Link::connected, this, &mainWindow::refreshLinkState);
    connect(m_link, &Link::linkUpChanged, this, &mainWindow::refreshLinkState);
    connect(m_link, &Link::loggedInChanged, this, &mainWindow::refreshLinkState);
    refreshLinkState();
}

void mainWindow::setLanguage(int index)
{
    // An index outside the list (including a negative one from a damaged
    // "current lang:" line) falls back to the first language.
    if (index < 0 || index >= m_languages.count())
        index = 0;
    const QString dir = DataPaths::translations();
    m_config.currentLanguage = index;
    bool loaded = index < m_languages.count() && m_translator->load(dir + m_languages.files.at(index));
    if (!loaded) {
        m_config.currentLanguage = 0;
        if (m_languages.count() > 0)
            m_translator->load(dir + m_languages.files.at(0));
    }
    QCoreApplication::removeTranslator(m_translator);
    QCoreApplication::installTranslator(m_translator);

    const int current = m_config.currentLanguage;
    for (int i = 0; i < m_languageActions.size(); ++i)
        m_languageActions.at(i)->setChecked(i == current);
    const bool chinese = current < m_languages.count()
        && m_languages.files.at(current).contains(QLatin1String("chinese"));
    QString title = chinese ? m_config.chineseTitle : m_config.englishTitle;
    if (title.isEmpty())
        title = tr("Digital Audio Processor");
    setWindowTitle(title);
}

void mainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

void mainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (!m_overView)
        return;
    // 70-pixel meters at 600 pixels of height, taller meters on taller
    // screens (the page area below keeps most of the extra room).
    m_overView->setMeterHeight(QOverView::MinMeterHeight + (event->size().height() - 600) / 5);
}

void mainWindow::refreshLinkState()
{
    m_overView->refreshState();
    const QTcpSocket *socket = m_link->currentSocket();
    const bool connected = socket && socket->state() == QAbstractSocket::ConnectedState;
    const bool loggedIn = connected && m_link->isLoggedIn();
    // The unit went away without a link-lost (another unit chosen, none).
    if (!connected && !m_overView->isDark())
        m_overView->reset();
    m_overView->setDark(!connected);
    m_funcWidget->setLinkState(connected, loggedIn);
}

void mainWindow::retranslate()
{
    if (!m_menu)
        return;
    const int current = m_config.currentLanguage;
    if (current < m_languages.fonts.size() && !m_languages.fonts.at(current).isEmpty())
        menuBar()->setFont(QFont(m_languages.fonts.at(current), 9));
    const QString fontFamily = current < m_languages.fonts.size() ? m_languages.fonts.at(current) : QString();
    if (m_devTable)
        m_devTable->setLanguageFontFamily(fontFamily);
    if (m_deviceList)
        m_deviceList->setLanguageFontFamily(fontFamily);
    m_menu->setTitle(tr("Menu"));
    m_armUpdateAction->setText(tr("Update ARM Firmware"));
    m_dspUpdateAction->setText(tr("Update DSP Firmware"));
    m_pwdModAction->setText(tr("Modify login password"));
    m_lockPwdModAction->setText(tr("Modify security lock password"));
    m_resetAction->setText(tr("Reset"));
    if (m_languageMenu) {
        m_languageMenu->setTitle(tr("Language"));
        static const char *const names[] = {
            QT_TR_NOOP("Language1"), QT_TR_NOOP("Language2"), QT_TR_NOOP("Language3"),
            QT_TR_NOOP("Language4"), QT_TR_NOOP("Language5"),
        };
        for (int i = 0; i < m_languageActions.size(); ++i)
            m_languageActions.at(i)->setText(tr(names[i]));
    }
    m_devListAction->setText(tr("Device list"));
    m_highDpiMenu->setTitle(tr("High DPI Scaling"));
    m_highDpiOn->setText(tr("Enabled"));
    m_highDpiOff->setText(tr("Disabled"));
    if (m_faultBox) {
        m_faultBox->setWindowTitle(tr("Device Fault"));
        m_faultOkButton->setText(tr("OK"));
    }
    if (m_progress)
        m_progress->setCancelButtonText(tr("Cancel"));
    if (m_addDeviceButton)
        m_addDeviceButton->setText(tr("Add Device"));
}

void mainWindow::writeConfig()
{
    m_config.write();
}

void mainWindow::languageActionClicked()
{
    const QObject *action = sender();
    if (!action)
        return;
    const QString name = action->objectName();
    if (!name.startsWith(QLatin1String("language")) || name.size() < 9)
        return;
    setLanguage(name.at(8).unicode() - '1');
    writeConfig();
}

void mainWindow::highDpiScalingTriggered(bool)
{
    const QObject *action = sender();
    if (!action)
        return;
    const bool flag = action->objectName().toInt() != 0;
    m_highDpiOn->setChecked(flag);
    m_highDpiOff->setChecked(!flag);
    if (flag == m_config.highDpiScaling)
        return;
    m_config.highDpiScaling = flag;
    writeConfig();

    QString text;
    if (!flag)
        text = tr("Disabling high DPI scaling and the application will keep the default size.\n\n");
    text += tr("Need to restart the application to take effect, are you sure that you want to restart now?");
    const int choice = m_prompt->ask(this, Prompt::Icon::Question, tr("Restart to take effect"), text,
                                     {tr("Restart immediately to take effect"), tr("No, take effect at next startup")});
    if (choice != 0)
        return;
    QProcess::startDetached(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1),
                            QDir::currentPath());
    QCoreApplication::exit(0);
}

void mainWindow::devListClicked()
{
    m_devTable->exec();
}

ProgressSteps *mainWindow::progressSteps() const
{
    return m_progressSteps;
}

void mainWindow::armUpdateClicked()
{
    if (!m_link->isLoggedIn())
        return;
    m_firmware->begin(FirmwareUploader::Arm);
}

void mainWindow::dspUpdateClicked()
{
    if (!m_link->isLoggedIn())
        return;
    m_firmware->begin(FirmwareUploader::Dsp);
}

void mainWindow::pwdModClicked()
{
    if (!m_link->isLoggedIn())
        return;
    if (m_pwdMod->exec() != QDialog::Accepted)
        return;
    const QByteArray password = m_pwdMod->password().toLatin1();
    m_link->sendFrame(Frame::System, Frame::Status, Protocol::Status::LoginPassword, Frame::Set, password.constData(),
                      quint16(password.size()));
    // The unit does not answer the change itself: logging in with the new
    // password shows whether it took it.
    if (m_link->sendFrame(Frame::System, Frame::Login, Protocol::Login::Password, Frame::Set, password.constData(),
                          quint16(password.size()))) {
        m_newPasswordSocket = m_link->currentSocket();
        m_newPassword = QString::fromLatin1(password);
    }
}

void mainWindow::lockPwdModClicked()
{
    if (!m_link->isLoggedIn())
        return;
    if (m_lockPwdMod->exec() != QDialog::Accepted)
        return;
    // The unit takes a new lock password only right after the current one.
    m_funcWidget->security()->changeLockPassword(m_lockPwdMod->lockPassword().toLatin1(),
                                                 m_lockPwdMod->newPassword().toLatin1());
}

void mainWindow::tellLater(Prompt::Icon icon, const QString &title, const QString &text)
{
    // Not from inside the handler of the unit's report.
    QTimer::singleShot(0, this, [this, icon, title, text] { m_prompt->tell(this, icon, title, text); });
}

void mainWindow::resetClicked()
{
    if (!m_link->isLoggedIn())
        return;
    const QString text = QString::asprintf("<font size='5' face='Arial' color='red'><B>%s<br>%s</font>",
        qUtf8Printable(tr("Restore the factory settings will delete all user data!!!")),
        qUtf8Printable(tr("Do you want to reformat the disk and erase all data?")));
    if (!m_prompt->confirmDestructive(this, Prompt::Icon::Warning, tr("warning"), text, {tr("OK"), tr("Cancle")}))
        return;
    m_link->sendFrame(Frame::System, Frame::Status, Protocol::Status::FactoryReset, Frame::Set, nullptr, 0);
}

void mainWindow::netChanged(int index, QAbstractSocket::SocketState state)
{
    QTcpSocket *socket = m_devTable->socketAt(index);
    if (!socket || socket != m_link->currentSocket())
        return;
    m_link->socketStateChanged(socket, state);
    refreshLinkState();
}

void mainWindow::devChanged(int index)
{
    if (index < 0) {
        m_link->setCurrentSocket(nullptr, 0, 0);
        refreshLinkState();
        return;
    }
    QTcpSocket *socket = m_devTable->socketAt(index);
    const broadcastMsg *record = m_devTable->recordAt(index);
    if (!socket || !record) {
        m_link->setCurrentSocket(nullptr, 0, 0);
        refreshLinkState();
        return;
    }
    m_link->setCurrentSocket(socket, record->machineid, record->ipaddress);
    refreshLinkState();
}

void mainWindow::tcpConnected()
{
    m_link->clearReceiveBuffer();
}

void mainWindow::tcpReadyRead()
{
    QTcpSocket *socket = m_link->currentSocket();
    if (!socket || socket->bytesAvailable() <= 0)
        return;
    m_link->receive(socket->readAll());
}

void mainWindow::sendPwdMsg()
{
    // Remembered only once the unit accepts it (onLoginReport).
    const QByteArray password = m_login->password().toLatin1();
    m_dialogPasswordSocket = m_link->currentSocket();
    m_link->sendFrame(Frame::System, Frame::Login, Protocol::Login::Password, Frame::Set, password.constData(),
                      quint16(password.size()));
}

void mainWindow::onSystemMessage(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    switch (module) {
    case Frame::Login:
        if (param == Protocol::Login::Password && op == Frame::Report
            && Protocol::find(Protocol::Login::params, param).report.length.fits(length))
            onLoginReport(payload[0] != 0);
        break;
    case Frame::Status:
    case Frame::Labels:
    case Frame::CodeNumber:
    case Frame::Security:
        m_funcWidget->onSystemModuleMessage(module, param, op, length, payload);
        break;
    default:
        break;
    }
}

void mainWindow::onLoginReport(bool accepted)
{
    m_link->setLoggedIn(accepted);
    refreshLinkState();
    QTcpSocket *socket = m_link->currentSocket();
    if (socket && socket == m_newPasswordSocket) {
        m_newPasswordSocket = nullptr;
        if (accepted) {
            // The next connection to this unit tries the new password.
            m_rememberedPassword = m_newPassword;
            m_rememberedUnitId = m_link->currentUnitId();
            tellLater(Prompt::Icon::Information, tr("Modify password"), tr("The login password was changed."));
        } else {
            tellLater(Prompt::Icon::Warning, tr("Modify password"),
                      tr("The unit did not take the new login password: the old one still holds."));
        }
    }
    if (accepted) {
        // Only a password this unit took from the dialog is remembered; a
        // unit without a password accepts at once and proves nothing.
        if (socket && socket == m_dialogPasswordSocket && !m_login->password().isEmpty()) {
            m_rememberedPassword = m_login->password();
            m_rememberedUnitId = m_link->currentUnitId();
        }
        m_dialogPasswordSocket = nullptr;
        m_login->accept();
        m_funcWidget->loginAccepted();
    } else {
        // A password typed into the dialog and refused is said to be wrong;
        // the unit's first report after connecting only asks for one.
        if (socket && socket == m_dialogPasswordSocket) {
            m_dialogPasswordSocket = nullptr;
            m_login->showRefused();
        }
        if (socket && !m_rememberedPassword.isEmpty() && m_link->currentUnitId() == m_rememberedUnitId
            && socket != m_rememberedRetrySocket) {
            m_rememberedRetrySocket = socket;
            const QByteArray password = m_rememberedPassword.toLatin1();
            m_link->sendFrame(Frame::System, Frame::Login, Protocol::Login::Password, Frame::Set,
                              password.constData(), quint16(password.size()));
        }
        m_login->show();
        m_login->raise();
    }
    m_funcWidget->loginStateChanged(accepted);
}

QString mainWindow::faultText(uchar bits)
{
    QString text = tr("Found fault :") + QLatin1String("\n\n");
    if (bits & 0x01)
        text += QLatin1String("DSP, ");
    if (bits & 0x08)
        text += tr("DAC") + QLatin1String(", ");
    if (bits & 0x02)
        text += tr("Flash") + QLatin1String(", ");
    if (bits & 0x04)
        text += tr("Temp") + QLatin1String(", ");
    if (text.endsWith(QLatin1String(", ")))
        text.chop(2);
    text += QLatin1String("\n\n") + tr("See the Settings page for details.");
    return text;
}

void mainWindow::showDeviceFaultMessageBox()
{
    m_faultBox->setText(faultText(m_funcWidget->faultByte()));
    m_faultBox->show();
}

void mainWindow::setFault(uchar bits)
{
    if (bits & 0x0F) {
        m_faultTimer->start(FaultReshowMs);
        showDeviceFaultMessageBox();
    } else {
        m_faultTimer->stop();
        m_faultBox->close();
    }
}
