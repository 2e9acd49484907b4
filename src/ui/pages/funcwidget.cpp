#include "funcwidget.h"

#include <QButtonGroup>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGraphicsColorizeEffect>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/link/frame.h"
#include "core/protocol/protocol.h"
#include "core/records/systemtext.h"
#include "linkbanner.h"
#include "pagebuttonbar.h"
#include "presetpages.h"
#include "qpreset.h"
#include "qsecurity.h"
#include "qsetup.h"
#include "systempage.h"
#include "ui/common/prompt.h"
#include "ui/controls/dragscrollarea.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/controls/qmeterwidget.h"
#include "ui/modules/deqwidget.h"
#include "ui/modules/firwidget.h"
#include "ui/modules/qcail.h"
#include "ui/modules/qfeedback.h"
#include "ui/modules/qgate.h"
#include "ui/modules/qindelay.h"
#include "ui/modules/qinfilter.h"
#include "ui/modules/qinlevel.h"
#include "ui/modules/qinlimiter.h"
#include "ui/modules/qmixer.h"
#include "ui/modules/qoutdelay.h"
#include "ui/modules/qoutfilter.h"
#include "ui/modules/qoutlevel.h"
#include "ui/modules/qoutlimiter.h"
#include "ui/modules/qsiggenerator.h"

namespace {

// Where the input-delay page goes in the stack on family-1 units.
constexpr int InputDelayStackIndex = 5;

// The stack asks for the room of the page it shows, not of the largest page,
// so a wide filter page does not make every other page (and the overview
// above) scroll sideways in a 1024 x 600 window.
class PageStack final : public QStackedWidget
{
public:
    explicit PageStack(QWidget *parent)
        : QStackedWidget(parent)
    {
        connect(this, &QStackedWidget::currentChanged, this, &QWidget::updateGeometry);
    }

    QSize sizeHint() const override
    {
        QWidget *page = currentWidget();
        return page ? page->sizeHint() : QStackedWidget::sizeHint();
    }
    QSize minimumSizeHint() const override
    {
        QWidget *page = currentWidget();
        return page ? page->minimumSizeHint().expandedTo(page->minimumSize()) : QStackedWidget::minimumSizeHint();
    }
};

} // namespace

FuncWidget::FuncWidget(Link *link, Prompt *prompt, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
    , m_prompt(prompt)
{
    setObjectName(QStringLiteral("funcWidget"));
    // Many page buttons share the bar: keep their padding small.
    setStyleSheet(QStringLiteral("QPushButton#pageButton { padding: 2px 3px; }"));
    createPages();
    createButtons();
    wirePages();
    languageLoad();
}

FuncWidget::~FuncWidget()
{
    // The input-delay page is parentless while the stack does not hold it.
    if (!m_inDelay->parent())
        delete m_inDelay;
}

void FuncWidget::createPages()
{
    m_inLevel = new QInLevel(m_link);
    m_gate = new QGate(m_link);
    m_feedback = new QFeedback(m_link);
    m_inFilter = new QInFilter(m_link);
    m_inLimiter = new QInLimiter(m_link);
    m_inLimiter->setPrompt(m_prompt);
    m_inDelay = new QInDelay(m_link);
    m_mixer = new QMixer(m_link);
    m_mixer->setPrompt(m_prompt);
    m_sigGenerator = new QSigGenerator(m_link);
    m_outLevel = new QOutLevel(m_link);
    m_outFilter = new QOutFilter(m_link);
    m_inFilter->setPrompt(m_prompt);
    m_outFilter->setPrompt(m_prompt);
    m_outLimiter = new QOutLimiter(m_link);
    m_outLimiter->setPrompt(m_prompt);
    m_outDelay = new QOutDelay(m_link);
    m_deq = new DEQWidget(m_link);
    m_deq->setPrompt(m_prompt);
    m_fir = new FirWidget(m_link);
    m_fir->setPrompt(m_prompt);
    m_preset = new QPreset(m_link);
    m_preset->setPrompt(m_prompt);
    m_setup = new QSetup(m_link, m_prompt);
    m_security = new QSecurity(m_link);
    // The chain as the pages hold it, online or not.
    m_system = new SystemPage([this] { return PresetPages::capture(*this); }, m_prompt);

    // Button row order; the stack order is set by setPageSet().
    m_entries = {
        {m_inLevel, nullptr, QT_TR_NOOP("In Level")},
        {m_gate, nullptr, QT_TR_NOOP("Gate")},
        {m_feedback, nullptr, QT_TR_NOOP("Feedback")},
        {m_inFilter, nullptr, QT_TR_NOOP("In Filter")},
        {m_deq, nullptr, QT_TR_NOOP("DEQ")},
        {m_inLimiter, nullptr, QT_TR_NOOP("In Limiter")},
        {m_inDelay, nullptr, QT_TR_NOOP("In Delay")},
        {m_mixer, nullptr, QT_TR_NOOP("Matrix")},
        {m_sigGenerator, nullptr, QT_TR_NOOP("Signal")},
        {m_outLevel, nullptr, QT_TR_NOOP("Out Level")},
        {m_fir, nullptr, QT_TR_NOOP("FIR Filter")},
        {m_outFilter, nullptr, QT_TR_NOOP("Out Filter")},
        {m_outLimiter, nullptr, QT_TR_NOOP("Out Limiter")},
        {m_outDelay, nullptr, QT_TR_NOOP("Out Delay")},
        {m_system, nullptr, QT_TR_NOOP("System")},
        {m_preset, nullptr, QT_TR_NOOP("Preset")},
        {m_setup, nullptr, QT_TR_NOOP("Settings")},
        {m_security, nullptr, QT_TR_NOOP("Security")},
    };
}

void FuncWidget::createButtons()
{
    m_buttons = new QButtonGroup(this);
    m_buttons->setExclusive(true);
    m_stack = new PageStack(this);
    m_cail = new QCail(m_link, this);
    m_cail->setPrompt(m_prompt);

    m_bar = new PageButtonBar(this);
    QFont buttonFont = font();
    buttonFont.setPointSize(8);
    for (PageEntry &entry : m_entries) {
        auto *button = new QPushButton(m_bar);
        button->setObjectName(QStringLiteral("pageButton"));
        button->setCheckable(true);
        button->setFont(buttonFont);
        button->hide();
        entry.button = button;
    }
    placeButtons();

    m_banner = new LinkBanner(this);
    m_pageArea = new DragScrollArea(this);
    m_pageArea->setObjectName(QStringLiteral("pageScrollArea"));
    m_pageArea->setWidgetResizable(true);
    m_pageArea->setFrameShape(QFrame::NoFrame);
    m_pageArea->setWidget(m_stack);
    // Greyed, not disabled: without a unit the pages still take changes.
    auto *grey = new QGraphicsColorizeEffect(m_stack);
    grey->setColor(QColor(90, 90, 90));
    grey->setStrength(1.0);
    m_stack->setGraphicsEffect(grey);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_bar);
    layout->addWidget(m_banner);
    layout->addWidget(m_pageArea, 1);

    // Initially the set without input delay.
    const QList<QWidget *> order = {m_inLevel, m_gate, m_feedback, m_inFilter, m_inLimiter, m_mixer,
                                    m_sigGenerator, m_outLevel, m_outFilter, m_outLimiter, m_outDelay,
                                    m_preset, m_setup, m_security, m_deq, m_fir, m_system};
    for (QWidget *page : order)
        m_stack->addWidget(page);
    regroupButtons(order);
    pageButton(m_inLevel)->setChecked(true);
    m_stack->setCurrentWidget(m_inLevel);

    connect(m_buttons, &QButtonGroup::idClicked, this, &FuncWidget::setCurrentIndex);
    // A screen reader's action on a page button toggles it without a click;
    // the page shown follows the checked button however it got checked.
    connect(m_buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && id != m_stack->currentIndex())
            setCurrentIndex(id);
    });

    m_cailShortcutJ = new QShortcut(QKeySequence(QStringLiteral("Ctrl+J")), this);
    m_cailShortcutT = new QShortcut(QKeySequence(QStringLiteral("Ctrl+T")), this);
    connect(m_cailShortcutJ, &QShortcut::activated, this, &FuncWidget::cailAccess);
    connect(m_cailShortcutT, &QShortcut::activated, this, &FuncWidget::cailAccess);
}

void FuncWidget::wirePages()
{
    connect(m_inLevel, &QInLevel::sigCail, m_cail, &QCail::setInCail);
    connect(m_outLevel, &QOutLevel::sigCail, m_cail, &QCail::setOutCail);
    connect(m_inLevel, &QInLevel::sigMeter, this, &FuncWidget::sigInMeter);
    connect(m_inLevel, &QInLevel::sigMute, this, &FuncWidget::sigInMute);
    connect(m_gate, &QGate::sigOpenState, this, &FuncWidget::sigGateOpen);
    connect(m_inFilter, &QInFilter::sigOutCopy, m_outFilter, &QOutFilter::channelCopy);
    connect(m_inLimiter, &QInLimiter::sigMeter, this, &FuncWidget::sigInLimiterMeter);
    connect(m_inLimiter, &QInLimiter::sigOutCopy, m_outLimiter, &QOutLimiter::channelCopy);
    connect(m_mixer, &QMixer::outputChanged, this, &FuncWidget::sigOutChannelChanged);
    connect(m_outLevel, &QOutLevel::sigMeter, this, &FuncWidget::sigOutMeter);
    connect(m_outLevel, &QOutLevel::sigMute, this, &FuncWidget::sigOutMute);
    connect(m_outLimiter, &QOutLimiter::sigMeter, this, &FuncWidget::sigOutLimiterMeter);
    connect(m_outLimiter, &QOutLimiter::sigInCopy, m_inLimiter, &QInLimiter::channelCopy);
    connect(m_outFilter, &QOutFilter::sigInCopy, m_inFilter, &QInFilter::channelCopy);
    connect(m_preset, &QPreset::sigSave, this, &FuncWidget::savePreset2PC);
    connect(m_preset, &QPreset::sigImport, this, &FuncWidget::importPresetFromPC);

    connect(m_setup, &QSetup::sigModel, this, &FuncWidget::sigModel);
    connect(m_setup, &QSetup::sigDspVer, this, &FuncWidget::sigDspVer);
    connect(m_setup, &QSetup::sigLocation, this, &FuncWidget::sigLocation);
    connect(m_setup, &QSetup::sigDescription, this, &FuncWidget::sigDescription);
    connect(m_setup, &QSetup::sigIpaddr, this, &FuncWidget::sigIpaddr);
    connect(m_setup, &QSetup::sigNetwork, this, &FuncWidget::sigNetwork);
    connect(m_setup, &QSetup::sigAllMute, this, &FuncWidget::sigAllMute);
    connect(m_setup, &QSetup::sigDspRes, this, &FuncWidget::sigDspRes);
    connect(m_setup, &QSetup::sigFault, this, &FuncWidget::sigFault);
    connect(m_setup, &QSetup::sigArmVer, this, &FuncWidget::armVerChanged);
    connect(m_setup, &QSetup::sigInLabelChanged, this, &FuncWidget::setInLabel);
    connect(m_setup, &QSetup::sigOutLabelChanged, this, &FuncWidget::setOutLabel);

    connect(m_security, &QSecurity::inlevelLockChanged, m_inLevel, &ModulePage::setSecurityState);
    connect(m_security, &QSecurity::gateLockChanged, m_gate, &ModulePage::setSecurityState);
    connect(m_security, &QSecurity::feedbackLockChanged, m_feedback, &ModulePage::setSecurityState);
    connect(m_security, &QSecurity::inDEQLockChanged, m_deq, &ModulePage::setSecurityState);
    connect(m_security, &QSecurity::inlimiterLockChanged, m_inLimiter, &ModulePage::setSecurityState);
    // Not in the original wiring, which left the input-delay locks without
    // effect on the page.
    connect(m_security, &QSecurity::indelayLockChanged, m_inDelay, &ModulePage::setSecurityState);
    connect(m_security, &QSecurity::mtxmixLockChanged, m_mixer, &ModulePage::setSecurityState);
    connect(m_security, &QSecurity::signalLockChanged, m_sigGenerator, &ModulePage::setSecurityState);
    connect(m_security, &QSecurity::outlevelLockChanged, m_outLevel, &ModulePage::setSecurityState);
    connect(m_security, &QSecurity::outFIRLockChanged, m_fir, &ModulePage::setSecurityState);
    connect(m_security, &QSecurity::outlimiterLockChanged, m_outLimiter, &ModulePage::setSecurityState);
    connect(m_security, &QSecurity::outdelayLockChanged, m_outDelay, &ModulePage::setSecurityState);

    connect(m_security, &QSecurity::inFilterGraphLockChanged, m_inFilter, &QInFilter::setFilterGraphSecurityState);
    connect(m_security, &QSecurity::inHPFilterLockChanged, m_inFilter, &QInFilter::setHPFilterSecurityState);
    connect(m_security, &QSecurity::inLPFilterLockChanged, m_inFilter, &QInFilter::setLPFilterSecurityState);
    connect(m_security, &QSecurity::inFilterBandLockChanged, m_inFilter, &QInFilter::setFilterBandSecurityState);
    connect(m_security, &QSecurity::outFilterGraphLockChanged, m_outFilter,
            &QOutFilter::setFilterGraphSecurityState);
    connect(m_security, &QSecurity::outHPFilterLockChanged, m_outFilter, &QOutFilter::setHPFilterSecurityState);
    connect(m_security, &QSecurity::outLPFilterLockChanged, m_outFilter, &QOutFilter::setLPFilterSecurityState);
    connect(m_security, &QSecurity::outFilterBandLockChanged, m_outFilter,
            &QOutFilter::setFilterBandSecurityState);
}

QPushButton *FuncWidget::pageButton(QWidget *page) const
{
    for (const PageEntry &entry : m_entries) {
        if (entry.page == page)
            return entry.button;
    }
    return nullptr;
}

void FuncWidget::regroupButtons(const QList<QWidget *> &order)
{
    for (QAbstractButton *button : m_buttons->buttons())
        m_buttons->removeButton(button);
    for (int id = 0; id < order.size(); ++id)
        m_buttons->addButton(pageButton(order.at(id)), id);
}

// The bar shows the buttons in the order of the entries, the input delay's
// only while the stack holds its page.
void FuncWidget::placeButtons()
{
    QList<QPushButton *> shown;
    for (const PageEntry &entry : qAsConst(m_entries)) {
        if (entry.page != m_inDelay || hasInputDelayPage())
            shown << entry.button;
    }
    m_bar->setButtons(shown);
}

bool FuncWidget::hasInputDelayPage() const
{
    return m_stack->widget(InputDelayStackIndex) == m_inDelay;
}

void FuncWidget::setPageSet(bool withInputDelay)
{
    if (withInputDelay == hasInputDelayPage())
        return;
    QList<QWidget *> order = {m_inLevel, m_gate, m_feedback, m_inFilter, m_inLimiter, m_mixer,
                              m_sigGenerator, m_outLevel, m_outFilter, m_outLimiter, m_outDelay,
                              m_preset, m_setup, m_security, m_deq, m_fir, m_system};
    if (withInputDelay) {
        m_stack->insertWidget(InputDelayStackIndex, m_inDelay);
        order.insert(InputDelayStackIndex, m_inDelay);
    } else {
        m_stack->removeWidget(m_inDelay);
    }
    placeButtons();
    regroupButtons(order);
    KeyboardAccess::orderByLayout(this);
    // A family change starts again on the first page.
    pageButton(m_inLevel)->click();
}

// Routing.

ModulePage *FuncWidget::pageForModule(quint8 module) const
{
    switch (module) {
    case Frame::InLevel: return m_inLevel;
    case Frame::Gate: return m_gate;
    case Frame::Feedback: return m_feedback;
    case Frame::InFilter: return m_inFilter;
    case Frame::InLimiter: return m_inLimiter;
    case Frame::InDelay: return m_inDelay;
    case Frame::MatrixMixer: return m_mixer;
    case Frame::SignalGenerator: return m_sigGenerator;
    case Frame::OutLevel: return m_outLevel;
    case Frame::OutFilter: return m_outFilter;
    case Frame::OutLimiter: return m_outLimiter;
    case Frame::OutDelay: return m_outDelay;
    case Frame::DynamicEq: return m_deq;
    case Frame::Fir: return m_fir;
    case Frame::Presets: return m_preset;
    default: return nullptr;
    }
}

void FuncWidget::onModuleMessage(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (ModulePage *page = pageForModule(module))
        page->onMessage(param, op, length, payload);
}

void FuncWidget::onSystemModuleMessage(quint8 module, quint8 param, quint8 op, quint16 length,
                                       const uchar *payload)
{
    switch (module) {
    case Frame::Status:
    case Frame::Labels:
    case Frame::CodeNumber:
        m_setup->onSystemMessage(module, param, op, length, payload);
        break;
    case Frame::Security:
        m_security->onMessage(param, op, length, payload);
        break;
    default:
        break;
    }
}

uchar FuncWidget::faultByte() const
{
    return m_setup->faultByte();
}

// Unit family.

void FuncWidget::armVerChanged(firmware *ver)
{
    if (!ver)
        return;
    setFamily(Protocol::familyOfArm(ver->major) == Protocol::Family::Hz96k);
    Q_EMIT sigArmVer(SystemText::version(*ver));
}

void FuncWidget::setFamily(bool family1)
{
    const Protocol::FamilyInfo &family =
        Protocol::familyInfo(family1 ? Protocol::Family::Hz96k : Protocol::Family::Hz48k);
    setPageSet(family1);
    m_inLevel->setSourceVisible(family1);
    m_outDelay->setReducedRange(family.reducedOutputDelay);
    m_fir->setVariant(family.firTaps, family.sampleRate);
    m_security->setFamilyRowsVisible(family1);
    m_system->setFamily(family1);
}

// Pages.

void FuncWidget::setCurrentIndex(int index)
{
    if (index < 0 || index >= m_stack->count())
        return;
    m_stack->setCurrentIndex(index);
    if (QAbstractButton *button = m_buttons->button(index))
        button->setChecked(true);
    if (m_stack->currentWidget() == m_fir)
        m_fir->showOnNextReply();
}

void FuncWidget::cailAccess()
{
    QWidget *current = m_stack->currentWidget();
    if (!current || current->objectName() != QLatin1String("inLevelWidget"))
        return;
    m_cail->show();
    m_cail->raise();
    m_cail->activateWindow();
}

void FuncWidget::setInLabel(uchar channel, QString label)
{
    for (ModulePage *page : std::initializer_list<ModulePage *>{m_inLevel, m_gate, m_feedback, m_inFilter, m_deq,
                                                                m_inLimiter, m_inDelay, m_mixer})
        page->setInLabel(channel, label);
}

void FuncWidget::setOutLabel(uchar channel, QString label)
{
    for (ModulePage *page : std::initializer_list<ModulePage *>{m_sigGenerator, m_outLevel, m_fir, m_outFilter,
                                                                m_outLimiter, m_outDelay})
        page->setOutLabel(channel, label);
}

void FuncWidget::setInMute(uchar channel, bool mute)
{
    m_inLevel->setMute(channel, mute);
}

void FuncWidget::setOutMute(uchar channel, bool mute)
{
    m_outLevel->setMute(channel, mute);
}

// Offline preset files: the pages' state without the unit.

void FuncWidget::savePreset2PC(uchar saveType, QString dir)
{
    const auto variant = saveType == PresetImage::Sharc48k ? PresetImage::Sharc48k : PresetImage::Sharc96k;
    const QByteArray data = PresetPages::capture(*this).pack(variant);
    // Written whole or not at all: a full disk found only when the file is
    // closed must not leave a cut file that looks saved.
    QSaveFile file(dir);
    const bool saved = file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
    if (!saved) {
        m_prompt->tell(this, Prompt::Icon::Critical, tr("ERROR"),
                       tr("Can not write the file:\n%1").arg(QDir::toNativeSeparators(dir)));
        return;
    }
    m_prompt->tell(this, Prompt::Icon::Information, tr("Offline Save"),
                   tr("The settings were saved to %1.").arg(QDir::toNativeSeparators(dir)));
}

void FuncWidget::importPresetFromPC(uchar type, QByteArray data)
{
    PresetImage::Variant variant;
    if (!PresetImage::variantOfSize(data.size(), &variant) || variant != type) {
        m_prompt->tell(nullptr, Prompt::Icon::Critical, tr("ERROR"), QPreset::offlineFormatError());
        return;
    }
    // The pages of the file's family first: the 96 kHz image needs the
    // input-delay page and the FIR page at 512 taps and 96 kHz.
    setFamily(variant == PresetImage::Sharc96k);
    PresetImage image = PresetPages::capture(*this);
    QVector<PresetImage::SkippedPart> skipped;
    image.unpack(data, nullptr, &skipped);
    PresetPages::apply(*this, image, variant);
    Q_EMIT offlineImported();
    // Filter sections and bands the pages cannot show kept their settings;
    // the operator learns which, rather than taking the file as loaded.
    if (!skipped.isEmpty()) {
        m_prompt->tell(this, Prompt::Icon::Warning, tr("warning"),
                       tr("The preset file was loaded except for these filter settings, which it holds in a form "
                          "this program cannot show; they keep their current values:\n%1")
                           .arg(skippedPartNames(skipped).join(QLatin1Char('\n'))));
    }
}

QStringList FuncWidget::skippedPartNames(const QVector<PresetImage::SkippedPart> &parts)
{
    QStringList names;
    for (const PresetImage::SkippedPart &part : parts) {
        const QString channel = part.output ? tr("Output %1").arg(part.channel + 1)
                                            : tr("Input %1").arg(QChar(QLatin1Char('A').unicode() + part.channel));
        if (part.part == PresetImage::SkippedPart::HighPass)
            names << tr("%1 high-pass").arg(channel);
        else if (part.part == PresetImage::SkippedPart::LowPass)
            names << tr("%1 low-pass").arg(channel);
        else
            names << tr("%1 band %2").arg(channel).arg(part.part + 1);
    }
    return names;
}

void FuncWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        languageLoad();
    QWidget::changeEvent(event);
}

void FuncWidget::languageLoad()
{
    for (const PageEntry &entry : qAsConst(m_entries)) {
        entry.button->setText(tr(entry.text));
        entry.button->setToolTip(entry.button->text());
    }
    if (m_bar)
        m_bar->refit();
}

// Link events.

void FuncWidget::loginAccepted()
{
    m_setup->queryAfterLogin();
    if (m_stack->currentWidget() == m_fir)
        m_fir->showOnNextReply();
}

void FuncWidget::loginStateChanged(bool accepted)
{
    m_fir->setLoginState(accepted);
}

void FuncWidget::setLinkState(bool connected, bool loggedIn)
{
    m_banner->setState(loggedIn ? LinkBanner::State::Online
                                : connected ? LinkBanner::State::NotLoggedIn : LinkBanner::State::NoUnit);
    m_stack->graphicsEffect()->setEnabled(!loggedIn);
    if (!connected && m_connected)
        linkLost();
    m_connected = connected;
    for (QMeterWidget *meter : findChildren<QMeterWidget *>())
        meter->setDark(!connected);
}

bool FuncWidget::isGreyed() const
{
    return m_stack->graphicsEffect()->isEnabled();
}

void FuncWidget::linkLost()
{
    m_gate->closeLamps();
    m_inLevel->resetMeters();
    m_inLimiter->resetMeters();
    m_outLevel->resetMeters();
    m_outLimiter->resetMeters();
    m_setup->resetDisplays();
}
