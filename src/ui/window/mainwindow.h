#pragma once

#include <QAbstractSocket>
#include <QMainWindow>
#include <QPointer>

#include "core/settings/appoptions.h"
#include "core/settings/languagelist.h"
#include "core/settings/localconfig.h"
#include "ui/common/prompt.h"

class DialogProgress;
class FirmwareUpload;
class FuncWidget;
class HistoryDock;
class Link;
class ProgressSteps;
class Prompt;
class QAction;
class QDevTable;
class QDeviceList;
class QLogin;
class QMenu;
class QMessageBox;
class QOverView;
class QProgressDialog;
class QPushButton;
class QPwdModDialog;
class QSettings;
class QTcpSocket;
class QTimer;
class QTranslator;
class QlockPwdModDialog;
class UnitHistory;

// The application's one window: device list on the left, overview and function
// pages on the right, the menu, and the owner of the link to the current unit.
class mainWindow : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY(mainWindow)

public:
    // `settings` is the platform settings store (window geometries); null
    // means the real one (organisation QZ, application Orvalix8).
    explicit mainWindow(const AppOptions &options = AppOptions(), Prompt *prompt = nullptr,
                        QSettings *settings = nullptr, QWidget *parent = nullptr);
    ~mainWindow() override;

    Link *link() const { return m_link; }
    QDevTable *devTable() const { return m_devTable; }
    QDeviceList *deviceList() const { return m_deviceList; }
    QOverView *overView() const { return m_overView; }
    FuncWidget *funcWidget() const { return m_funcWidget; }
    UnitHistory *history() const { return m_history; }
    HistoryDock *historyDock() const { return m_historyDock; }
    QLogin *loginDialog() const { return m_login; }
    QProgressDialog *progressDialog() const { return m_progress; }
    // The shared progress dialog's start / step / finish.
    ProgressSteps *progressSteps() const;
    FirmwareUpload *firmwareUpload() const { return m_firmware; }
    QPwdModDialog *pwdModDialog() const { return m_pwdMod; }
    QlockPwdModDialog *lockPwdModDialog() const { return m_lockPwdMod; }
    QMessageBox *faultBox() const { return m_faultBox; }
    QTimer *faultTimer() const { return m_faultTimer; }
    QMenu *menu() const { return m_menu; }

    int currentLanguage() const { return m_config.currentLanguage; }
    const LanguageList &languages() const { return m_languages; }
    bool highDpiScaling() const { return m_config.highDpiScaling; }

    void setLanguage(int index);
    // The text the fault box shows for `bits`.
    static QString faultText(uchar bits);

public Q_SLOTS:
    void languageActionClicked();
    void devListClicked();
    void armUpdateClicked();
    void dspUpdateClicked();
    void pwdModClicked();
    void lockPwdModClicked();
    void resetClicked();
    void netChanged(int index, QAbstractSocket::SocketState state);
    void devChanged(int index);
    void tcpConnected();
    void tcpReadyRead();
    void sendPwdMsg();
    void showDeviceFaultMessageBox();
    void setFault(uchar bits);
    void highDpiScalingTriggered(bool checked);

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildMenu();
    void buildCentralArea();
    void buildDialogs();
    void connectComponents();
    void retranslate();
    void writeConfig();
    void onSystemMessage(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);
    void onLoginReport(bool accepted);
    // The overview's state label, the banner, greying and dark meters.
    void refreshLinkState();

    AppOptions m_options;
    Prompt *m_prompt;
    QSettings *m_settings;
    bool m_ownsSettings = false;
    Link *m_link;

    LocalConfig m_config;
    LanguageList m_languages;
    QTranslator *m_translator;

    QMenu *m_menu = nullptr;
    QAction *m_armUpdateAction = nullptr;
    QAction *m_dspUpdateAction = nullptr;
    QAction *m_pwdModAction = nullptr;
    QAction *m_lockPwdModAction = nullptr;
    QAction *m_resetAction = nullptr;
    QMenu *m_languageMenu = nullptr;
    QList<QAction *> m_languageActions;
    QAction *m_devListAction = nullptr;
    QMenu *m_highDpiMenu = nullptr;
    QAction *m_highDpiOn = nullptr;
    QAction *m_highDpiOff = nullptr;

    QDevTable *m_devTable = nullptr;
    QDeviceList *m_deviceList = nullptr;
    QOverView *m_overView = nullptr;
    FuncWidget *m_funcWidget = nullptr;
    UnitHistory *m_history = nullptr;
    HistoryDock *m_historyDock = nullptr;
    QPushButton *m_addDeviceButton = nullptr;
    QProgressDialog *m_progress = nullptr;
    QLogin *m_login = nullptr;
    QPwdModDialog *m_pwdMod = nullptr;
    QlockPwdModDialog *m_lockPwdMod = nullptr;
    QMessageBox *m_faultBox = nullptr;
    QPushButton *m_faultOkButton = nullptr;
    QTimer *m_faultTimer = nullptr;

    DialogProgress *m_progressSteps = nullptr;
    FirmwareUpload *m_firmware = nullptr;

    QString m_rememberedPassword;
    quint32 m_rememberedUnitId = 0;
    // The connection on which the dialog's password was sent, and the one on
    // which the remembered password was already retried (once per
    // connection: a unit whose password changed would otherwise be sent the
    // old one again after every rejection).
    QPointer<QTcpSocket> m_dialogPasswordSocket;
    QPointer<QTcpSocket> m_rememberedRetrySocket;
    // A login-password change is proved by logging in with the new password
    // on the same connection; the unit's login report is the answer.
    QPointer<QTcpSocket> m_newPasswordSocket;
    QString m_newPassword;

    void tellLater(Prompt::Icon icon, const QString &title, const QString &text);
};
