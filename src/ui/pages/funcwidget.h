#pragma once

#include <QByteArray>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include "core/link/firmware.h"
#include "core/presets/presetimage.h"

class DEQWidget;
class DragScrollArea;
class FirWidget;
class Link;
class LinkBanner;
class ModulePage;
class Prompt;
class QButtonGroup;
class QCail;
class PageButtonBar;
class QFeedback;
class QGate;
class QInDelay;
class QInFilter;
class QInLevel;
class QInLimiter;
class QMixer;
class QOutDelay;
class QOutFilter;
class QOutLevel;
class QOutLimiter;
class QPreset;
class QPushButton;
class QSecurity;
class QSetup;
class QShortcut;
class QSigGenerator;
class QStackedWidget;
class SystemPage;

// The right-hand working area: page buttons above the stack of module pages.
// Routes module reports to their pages and relays page signals.
class FuncWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(FuncWidget)

public:
    FuncWidget(Link *link, Prompt *prompt, QWidget *parent = nullptr);
    ~FuncWidget() override;

    // Class-3 frames, by module id.
    void onModuleMessage(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);
    // Class-2 frames of modules 2 to 5.
    void onSystemModuleMessage(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);

    void loginAccepted();
    void loginStateChanged(bool accepted);
    void linkLost();
    // Whether a unit is connected and has accepted the login: without both
    // the banner over the pages says so and the pages are greyed (they stay
    // usable, so changes can be prepared); without a connection the meters
    // are dark.
    void setLinkState(bool connected, bool loggedIn);
    bool isGreyed() const;

    // The fault byte last reported by the unit.
    uchar faultByte() const;

    // The page that receives class-3 frames of `module`, or null for ids the
    // unit does not use.
    ModulePage *pageForModule(quint8 module) const;
    // Whether the stack holds the input-delay page (family-1 units).
    bool hasInputDelayPage() const;
    // The page set and page variants of a unit family (1: 96 kHz with input
    // delay, 512-tap FIR; others: 48 kHz), as an ARM version report sets them.
    void setFamily(bool family1);

    QStackedWidget *stack() const { return m_stack; }
    QButtonGroup *buttonGroup() const { return m_buttons; }
    PageButtonBar *pageButtonBar() const { return m_bar; }
    LinkBanner *banner() const { return m_banner; }
    // The scroll area around the pages: only the pages scroll.
    DragScrollArea *pageArea() const { return m_pageArea; }
    QPushButton *pageButton(QWidget *page) const;
    QCail *cailDialog() const { return m_cail; }

    QInLevel *inLevel() const { return m_inLevel; }
    QGate *gate() const { return m_gate; }
    QFeedback *feedback() const { return m_feedback; }
    QInFilter *inFilter() const { return m_inFilter; }
    QInLimiter *inLimiter() const { return m_inLimiter; }
    QInDelay *inDelay() const { return m_inDelay; }
    QMixer *mixer() const { return m_mixer; }
    QSigGenerator *sigGenerator() const { return m_sigGenerator; }
    QOutLevel *outLevel() const { return m_outLevel; }
    QOutFilter *outFilter() const { return m_outFilter; }
    QOutLimiter *outLimiter() const { return m_outLimiter; }
    QOutDelay *outDelay() const { return m_outDelay; }
    DEQWidget *deq() const { return m_deq; }
    FirWidget *fir() const { return m_fir; }
    QPreset *preset() const { return m_preset; }
    QSetup *setup() const { return m_setup; }
    QSecurity *security() const { return m_security; }
    SystemPage *system() const { return m_system; }

public Q_SLOTS:
    void cailAccess();
    void armVerChanged(firmware *ver);
    void setInLabel(uchar channel, QString label);
    void setOutLabel(uchar channel, QString label);
    void setInMute(uchar channel, bool mute);
    void setOutMute(uchar channel, bool mute);
    void savePreset2PC(uchar saveType, QString dir);
    // Parts the pages cannot show keep their values and are named in a
    // warning through the prompt.
    void importPresetFromPC(uchar type, QByteArray data);
    void languageLoad();
    void setCurrentIndex(int index);

Q_SIGNALS:
    void sigInMeter(uchar channel, int level);
    void sigInMute(uchar channel, bool mute);
    void sigGateOpen(uchar channel, bool open);
    void sigInLimiterMeter(uchar channel, int level);
    void sigOutChannelChanged(uchar channel);
    void sigOutMeter(uchar channel, int level);
    void sigOutMute(uchar channel, bool mute);
    void sigOutLimiterMeter(uchar channel, int level);
    void sigModel(QString model);
    void sigArmVer(QString version);
    void sigDspVer(QString version);
    void sigLocation(QString location);
    void sigDescription(QString description);
    void sigIpaddr(uint ipaddress);
    void sigNetwork(uint ipaddress, uint mask, uint gateway);
    void sigAllMute(bool mute);
    void sigDspRes(float first, float second);
    void sigFault(uchar fault);
    // The pages now hold a preset file's settings ("Offline Import").
    void offlineImported();

protected:
    void changeEvent(QEvent *event) override;

private:
    // "Input A high-pass", "Output 3 band 5", in the current language.
    static QStringList skippedPartNames(const QVector<PresetImage::SkippedPart> &parts);

    struct PageEntry
    {
        QWidget *page;
        QPushButton *button;
        const char *text;
    };

    void createPages();
    void createButtons();
    void wirePages();
    void setPageSet(bool withInputDelay);
    void regroupButtons(const QList<QWidget *> &order);
    void placeButtons();

    Link *m_link;
    Prompt *m_prompt;

    QInLevel *m_inLevel = nullptr;
    QGate *m_gate = nullptr;
    QFeedback *m_feedback = nullptr;
    QInFilter *m_inFilter = nullptr;
    QInLimiter *m_inLimiter = nullptr;
    QInDelay *m_inDelay = nullptr;
    QMixer *m_mixer = nullptr;
    QSigGenerator *m_sigGenerator = nullptr;
    QOutLevel *m_outLevel = nullptr;
    QOutFilter *m_outFilter = nullptr;
    QOutLimiter *m_outLimiter = nullptr;
    QOutDelay *m_outDelay = nullptr;
    DEQWidget *m_deq = nullptr;
    FirWidget *m_fir = nullptr;
    QPreset *m_preset = nullptr;
    QSetup *m_setup = nullptr;
    QSecurity *m_security = nullptr;
    SystemPage *m_system = nullptr;

    QButtonGroup *m_buttons = nullptr;
    QStackedWidget *m_stack = nullptr;
    PageButtonBar *m_bar = nullptr;
    LinkBanner *m_banner = nullptr;
    DragScrollArea *m_pageArea = nullptr;
    bool m_connected = false;
    QCail *m_cail = nullptr;
    QList<PageEntry> m_entries;
    QShortcut *m_cailShortcutJ = nullptr;
    QShortcut *m_cailShortcutT = nullptr;
};
