#include "qsetup.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "core/firmware/firmwareimage.h"
#include "core/link/frame.h"
#include "core/link/link.h"
#include "core/link/logging.h"
#include "core/protocol/protocol.h"
#include "core/records/systemtext.h"
#include "qoemtool.h"
#include "ui/common/modulepage.h"
#include "ui/common/prompt.h"
#include "ui/controls/keyboardaccess.h"
#include "ui/controls/qdoublelabel.h"

namespace {

// Validator A: a unicast or private address (first octet 0-223).
const QString HostPattern = QStringLiteral(
    "(\\d{1,2}|1\\d\\d|2[0-1]\\d|22[0-3])\\.(\\d{1,2}|1\\d\\d|2[0-4]\\d|25[0-5])\\."
    "(\\d{1,2}|1\\d\\d|2[0-4]\\d|25[0-5])\\.(\\d{1,2}|1\\d\\d|2[0-4]\\d|25[0-5])");
// Validator B: any dotted quad (masks).
const QString MaskPattern = QStringLiteral(
    "(\\d{1,2}|1\\d\\d|2[0-4]\\d|25[0-5])\\.(\\d{1,2}|1\\d\\d|2[0-4]\\d|25[0-5])\\."
    "(\\d{1,2}|1\\d\\d|2[0-4]\\d|25[0-5])\\.(\\d{1,2}|1\\d\\d|2[0-4]\\d|25[0-5])");

const QString ErrorStyle = QStringLiteral("color: rgb(204, 0, 0);");
const QString NormalStyle = QStringLiteral("color:rgb(167, 167, 167);");

// Fault bits in the order the "Fault" section lists them.
constexpr uchar FaultBits[4] = {0x01, 0x02, 0x08, 0x04}; // DSP, Flash, DAC, Temp

namespace S = Protocol::Status;
namespace L = Protocol::Labels;

// The once-a-second queries: the first group always, the second only while
// the page is shown (the overview needs only the first).
constexpr quint8 AlwaysEverySecond[] = {S::Model,       S::ArmVersion, S::DspVersion, S::DspModel, S::Location,
                                        S::Description, S::DspLoad,    S::Network,    S::Fault};
constexpr quint8 ShownEverySecond[] = {S::Serial, S::RunTime, S::TotalTime, S::BootCount, S::Temperature,
                                       S::ChannelConfig};

const char *const LcdPageTexts[] = {
    QT_TRANSLATE_NOOP("QSetup", "Polling"),
    QT_TRANSLATE_NOOP("QSetup", "Fixed on model"),
    QT_TRANSLATE_NOOP("QSetup", "Fixed on IP address"),
    QT_TRANSLATE_NOOP("QSetup", "Fixed on location"),
    QT_TRANSLATE_NOOP("QSetup", "Fixed on description"),
    QT_TRANSLATE_NOOP("QSetup", "Fixed on preset"),
    QT_TRANSLATE_NOOP("QSetup", "Fixed on run time"),
};
constexpr int LcdPageCount = int(sizeof LcdPageTexts / sizeof LcdPageTexts[0]);

// Spelled-out tool tips for the row titles shown abbreviated.
const struct
{
    const char *title;
    const char *toolTip;
} RowToolTips[] = {
    {"ARM Ver :", QT_TRANSLATE_NOOP("QSetup", "ARM firmware version")},
    {"DSP Ver :", QT_TRANSLATE_NOOP("QSetup", "DSP firmware version")},
    {"SN :", QT_TRANSLATE_NOOP("QSetup", "Serial number")},
    {"CPU Temp :", QT_TRANSLATE_NOOP("QSetup", "CPU temperature")},
    {"Channel Cfg :", QT_TRANSLATE_NOOP("QSetup", "Channel configuration: inputs and outputs")},
    {"LCD Page :", QT_TRANSLATE_NOOP("QSetup", "What the front-panel display shows")},
    {"Panel Lock :", QT_TRANSLATE_NOOP("QSetup", "Lock the front-panel keys of the unit")},
    {"DSP :", QT_TRANSLATE_NOOP("QSetup", "DSP fault")},
    {"Flash :", QT_TRANSLATE_NOOP("QSetup", "Flash memory fault")},
    {"DAC :", QT_TRANSLATE_NOOP("QSetup", "Digital-to-analogue converter fault")},
    {"Temp :", QT_TRANSLATE_NOOP("QSetup", "Over-temperature fault")},
};

const char *rowToolTip(const char *title)
{
    for (const auto &entry : RowToolTips) {
        if (qstrcmp(entry.title, title) == 0)
            return entry.toolTip;
    }
    return nullptr;
}

QLabel *newTitleLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QStringLiteral("titleLabel"));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel *newSectionTitle(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QStringLiteral("sectionTitleLabel"));
    return label;
}

template<typename Label>
Label *newValueLabel(QWidget *parent, const char *name)
{
    auto *label = new Label(parent);
    label->setObjectName(QLatin1String(name));
    label->setMinimumWidth(90);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QFrame *newSection(QWidget *parent, const char *name)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    return frame;
}

} // namespace

QSetup::QSetup(Link *link, Prompt *prompt, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
    , m_prompt(prompt ? prompt : Prompt::standard())
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("Settings"));
    // The application style sheet sets the font family on every widget, which
    // stops a plain setFont() from reaching the children.
    setStyleSheet(QStringLiteral("QLabel, QLineEdit, QComboBox { font-size: 9pt; }"));
    buildPage();
    m_oemTool = new QOEMTool(this);
    connect(m_oemTool, &QOEMTool::msgChanged, this, &QSetup::oemChanged);
    retranslate();
    resetDisplays();
    applyVersionRows();

    connect(m_timer, &QTimer::timeout, this, &QSetup::timeOut100ms);
    m_timer->start(PollMs);
}

QSetup::~QSetup()
{
    ModulePage::detachEditors(this);
}

void QSetup::buildPage()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("settingsWidget"));
    outer->addWidget(page);
    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(buildLabelSection(), 0);
    layout->addWidget(buildInfoSection(), 1);
    auto *right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(buildNetworkSection());
    right->addWidget(buildFaultSection());
    right->addStretch(1);
    layout->addLayout(right, 0);
}

QFrame *QSetup::buildLabelSection()
{
    QFrame *frame = newSection(this, "devLabelInLabelWidget");
    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    int row = 0;
    m_inSectionTitle = newSectionTitle(frame);
    grid->addWidget(m_inSectionTitle, row++, 0, 1, 2);
    for (int i = 0; i < 4; ++i) {
        m_inLabelTitles[i] = newTitleLabel(frame);
        m_inLabels[i] = new QLineEdit(frame);
        m_inLabels[i]->setMaxLength(LabelSize);
        m_inLabels[i]->setFixedWidth(110);
        connect(m_inLabels[i], &QLineEdit::editingFinished, this, &QSetup::InChannelLabelChanged);
        grid->addWidget(m_inLabelTitles[i], row, 0);
        grid->addWidget(m_inLabels[i], row++, 1);
    }
    m_outSectionTitle = newSectionTitle(frame);
    grid->addWidget(m_outSectionTitle, row++, 0, 1, 2);
    for (int i = 0; i < 8; ++i) {
        m_outLabelTitles[i] = newTitleLabel(frame);
        m_outLabels[i] = new QLineEdit(frame);
        m_outLabels[i]->setMaxLength(LabelSize);
        m_outLabels[i]->setFixedWidth(110);
        connect(m_outLabels[i], &QLineEdit::editingFinished, this, &QSetup::OutChannelLabelChanged);
        grid->addWidget(m_outLabelTitles[i], row, 0);
        grid->addWidget(m_outLabels[i], row++, 1);
    }
    grid->setRowStretch(row, 1);
    return frame;
}

QFrame *QSetup::buildInfoSection()
{
    QFrame *frame = newSection(this, "devInfoCtrlBgWidget");
    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setVerticalSpacing(6);
    grid->setHorizontalSpacing(8);
    m_infoSectionTitle = newSectionTitle(frame);
    grid->addWidget(m_infoSectionTitle, 0, 0, 1, 4);

    m_modelValue = newValueLabel<QDoubleLabel>(frame, "valueModel");
    m_armValue = newValueLabel<QDoubleLabel>(frame, "valueArmVer");
    m_dspValue = newValueLabel<QLabel>(frame, "valueDspVer");
    m_serialValue = newValueLabel<QLabel>(frame, "valueSerial");
    m_location = new QLineEdit(frame);
    m_location->setMaxLength(S::TextSize);
    m_description = new QLineEdit(frame);
    m_description->setMaxLength(S::TextSize);
    m_deviceIdValue = newValueLabel<QLabel>(frame, "valueDeviceId");
    m_bootValue = newValueLabel<QLabel>(frame, "valueBootCounts");
    m_tempValue = newValueLabel<QLabel>(frame, "valueCpuTemp");
    m_channelValue = newValueLabel<QLabel>(frame, "valueChannelCfg");
    m_runTimeValue = newValueLabel<QLabel>(frame, "valueRunTime");
    m_totalTimeValue = newValueLabel<QLabel>(frame, "valueTotalTime");
    m_codeValue = newValueLabel<QLabel>(frame, "valueCode");
    m_panelLock = new QComboBox(frame);
    m_panelLock->addItems({QString(), QString()});
    m_lcdPage = new QComboBox(frame);
    for (int i = 0; i < LcdPageCount; ++i)
        m_lcdPage->addItem(QString());

    const struct
    {
        const char *title;
        QWidget *value;
    } rows[] = {
        {QT_TR_NOOP("Model :"), m_modelValue},
        {QT_TR_NOOP("ARM Ver :"), m_armValue},
        {QT_TR_NOOP("DSP Ver :"), m_dspValue},
        {QT_TR_NOOP("SN :"), m_serialValue},
        {QT_TR_NOOP("Location :"), m_location},
        {QT_TR_NOOP("Description :"), m_description},
        {QT_TR_NOOP("Device ID :"), m_deviceIdValue},
        {QT_TR_NOOP("Boot counts :"), m_bootValue},
        {QT_TR_NOOP("CPU Temp :"), m_tempValue},
        {QT_TR_NOOP("Channel Cfg :"), m_channelValue},
        {QT_TR_NOOP("Run time :"), m_runTimeValue},
        {QT_TR_NOOP("Total time :"), m_totalTimeValue},
        {QT_TR_NOOP("Code :"), m_codeValue},
        {QT_TR_NOOP("Panel Lock :"), m_panelLock},
        {QT_TR_NOOP("LCD Page :"), m_lcdPage},
    };
    int index = 0;
    for (const auto &row : rows) {
        QLabel *title = newTitleLabel(frame);
        m_rows.append({row.title, title, row.value});
        const int r = 1 + index / 2;
        const int c = (index % 2) * 2;
        grid->addWidget(title, r, c);
        grid->addWidget(row.value, r, c + 1);
        ++index;
    }
    m_lcdPageTitle = m_rows.last().titleLabel;
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(1 + (index + 1) / 2, 1);

    connect(m_location, &QLineEdit::editingFinished, this, &QSetup::locationChanged);
    connect(m_description, &QLineEdit::editingFinished, this, &QSetup::descriptionChanged);
    connect(m_panelLock, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &QSetup::panelLockChanged);
    connect(m_lcdPage, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &QSetup::lcdPageChanged);
    connect(m_modelValue, &QDoubleLabel::DoubleClick, this, &QSetup::modelDoubleClick);
    connect(m_armValue, &QDoubleLabel::DoubleClick, this, &QSetup::mksbinimage);
    return frame;
}

QFrame *QSetup::buildNetworkSection()
{
    QFrame *frame = newSection(this, "networkCtrlBgWidget");
    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setVerticalSpacing(6);
    m_networkSectionTitle = newSectionTitle(frame);
    grid->addWidget(m_networkSectionTitle, 0, 0, 1, 2);

    const QRegularExpression host(HostPattern);
    const QRegularExpression mask(MaskPattern);
    m_ipEdit = new QLineEdit(frame);
    m_ipEdit->setValidator(new QRegularExpressionValidator(host, m_ipEdit));
    m_maskEdit = new QLineEdit(frame);
    m_maskEdit->setValidator(new QRegularExpressionValidator(mask, m_maskEdit));
    m_gatewayEdit = new QLineEdit(frame);
    m_gatewayEdit->setValidator(new QRegularExpressionValidator(host, m_gatewayEdit));

    const struct
    {
        const char *title;
        QLineEdit *edit;
    } rows[] = {
        {QT_TR_NOOP("IP address :"), m_ipEdit},
        {QT_TR_NOOP("Subnet mask :"), m_maskEdit},
        {QT_TR_NOOP("Gateway :"), m_gatewayEdit},
    };
    int r = 1;
    for (const auto &row : rows) {
        row.edit->setMaxLength(15);
        row.edit->setFixedWidth(110);
        QLabel *title = newTitleLabel(frame);
        m_rows.append({row.title, title, row.edit});
        grid->addWidget(title, r, 0);
        grid->addWidget(row.edit, r++, 1);
    }
    connect(m_ipEdit, &QLineEdit::editingFinished, this, &QSetup::ipaddressChanged);
    connect(m_maskEdit, &QLineEdit::editingFinished, this, &QSetup::netmaskChanged);
    connect(m_gatewayEdit, &QLineEdit::editingFinished, this, &QSetup::gatewayChanged);
    return frame;
}

QFrame *QSetup::buildFaultSection()
{
    QFrame *frame = newSection(this, "faultCtrlBgWidget");
    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setVerticalSpacing(6);
    m_faultSectionTitle = newSectionTitle(frame);
    grid->addWidget(m_faultSectionTitle, 0, 0, 1, 2);
    const char *const titles[4] = {QT_TR_NOOP("DSP :"), QT_TR_NOOP("Flash :"), QT_TR_NOOP("DAC :"),
                                   QT_TR_NOOP("Temp :")};
    const char *const names[4] = {"valueFaultDsp", "valueFaultFlash", "valueFaultDac", "valueFaultTemp"};
    for (int i = 0; i < 4; ++i) {
        QLabel *title = newTitleLabel(frame);
        m_faultValues[i] = newValueLabel<QLabel>(frame, names[i]);
        m_faultValues[i]->setMinimumWidth(60);
        m_rows.append({titles[i], title, m_faultValues[i]});
        grid->addWidget(title, i + 1, 0);
        grid->addWidget(m_faultValues[i], i + 1, 1);
    }
    return frame;
}

void QSetup::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void QSetup::retranslate()
{
    m_inSectionTitle->setText(tr("Input Label"));
    m_outSectionTitle->setText(tr("Output Label"));
    m_infoSectionTitle->setText(tr("Device Infomation"));
    m_networkSectionTitle->setText(tr("Network"));
    m_faultSectionTitle->setText(tr("Fault"));
    for (int i = 0; i < 4; ++i)
        m_inLabelTitles[i]->setText(tr("IN") + QString::asprintf(" %c :", 'A' + i));
    for (int i = 0; i < 8; ++i)
        m_outLabelTitles[i]->setText(tr("OUT") + QString::asprintf(" %d :", i + 1));
    for (const Row &row : qAsConst(m_rows)) {
        row.titleLabel->setText(tr(row.title));
        if (const char *tip = rowToolTip(row.title)) {
            row.titleLabel->setToolTip(tr(tip));
            if (row.value == m_panelLock || row.value == m_lcdPage)
                row.value->setToolTip(tr(tip));
        }
    }
    m_panelLock->setItemText(0, tr("No"));
    m_panelLock->setItemText(1, tr("Yes"));
    for (int i = 0; i < LcdPageCount; ++i)
        m_lcdPage->setItemText(i, tr(LcdPageTexts[i]));
    // Names use the fixed channel titles: the fields hold the labels.
    for (int i = 0; i < 4; ++i)
        KeyboardAccess::describe(m_inLabels[i], tr("%1 label").arg(QString::asprintf("IN %c", 'A' + i)));
    for (int i = 0; i < 8; ++i)
        KeyboardAccess::describe(m_outLabels[i], tr("%1 label").arg(QString::asprintf("OUT %d", i + 1)));
    KeyboardAccess::describe(m_location, tr("Location"));
    KeyboardAccess::describe(m_description, tr("Description"));
    KeyboardAccess::describe(m_panelLock, tr("Panel lock"));
    KeyboardAccess::describe(m_lcdPage, tr("LCD page"));
    KeyboardAccess::describe(m_ipEdit, tr("IP address"));
    KeyboardAccess::describe(m_maskEdit, tr("Subnet mask"));
    KeyboardAccess::describe(m_gatewayEdit, tr("Gateway"));
    showFault();
}

// Polling.

void QSetup::query(quint8 module, quint8 param)
{
    if (m_link)
        m_link->sendQuery(Frame::System, module, param);
}

void QSetup::timeOut100ms()
{
    ++m_ticks;
    query(Frame::Status, S::AllMute);
    if (m_ticks % 10 != 0)
        return;
    for (quint8 param : AlwaysEverySecond)
        query(Frame::Status, param);
    if (!isVisible())
        return;
    for (quint8 param : ShownEverySecond)
        query(Frame::Status, param);
    query(Frame::CodeNumber, Protocol::Code::Number);
    for (quint8 param : {S::PanelLock, S::DeviceId, S::LcdPage})
        query(Frame::Status, param);
    query(Frame::Labels, L::Inputs);
    query(Frame::Labels, L::Outputs);
}

void QSetup::queryAfterLogin()
{
    query(Frame::Labels, L::Inputs);
    query(Frame::Labels, L::Outputs);
    query(Frame::Status, S::ArmVersion);
    query(Frame::Status, S::LcdPage);
}

// Reports.

void QSetup::onSystemMessage(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    if (op != Frame::Report)
        return;
    switch (module) {
    case Frame::Status:
        statusReport(param, length, payload);
        break;
    case Frame::Labels:
        labelReport(param, length, payload);
        break;
    case Frame::CodeNumber:
        codeReport(param, length, payload);
        break;
    default:
        break;
    }
}

void QSetup::statusReport(quint8 param, quint16 length, const uchar *p)
{
    using namespace SystemText;
    // Reports shorter than their layout are ignored; longer ones are read at it.
    const Protocol::Param *row = Protocol::param(Frame::System, Frame::Status, param);
    if (!row || !row->report.length.fits(length))
        return;
    switch (param) {
    case S::Model: {
        const QString model = text(p, length);
        if (model == m_model)
            return;
        m_model = model;
        ModulePage::setTextIfChanged(m_modelValue, model);
        Q_EMIT sigModel(model);
        return;
    }
    case S::ArmVersion: {
        const firmware ver{p[0], p[1], p[2]};
        if (ver != m_armVersion) {
            m_armVersion = ver;
            showArmVersion();
            applyVersionRows();
        }
        // Every report, not only changes: the page set follows the unit
        // even after an offline preset switched it to the other family.
        Q_EMIT sigArmVer(&m_armVersion);
        return;
    }
    case S::DspVersion: {
        const firmware ver{p[0], p[1], p[2]};
        if (ver == m_dspVersion)
            return;
        m_dspVersion = ver;
        showDspVersion();
        return;
    }
    case S::Serial: {
        const QString serial = text(p, length);
        if (serial != m_serial) {
            m_serial = serial;
            ModulePage::setTextIfChanged(m_serialValue, serial);
        }
        return;
    }
    case S::ChannelConfig:
        m_channelConfig = Frame::readU16(p);
        m_channelConfigKnown = true;
        ModulePage::setTextIfChanged(m_channelValue, channelConfig(m_channelConfig));
        return;
    case S::RunTime:
        ModulePage::setTextIfChanged(m_runTimeValue, duration(readU32(p)));
        return;
    case S::TotalTime:
        ModulePage::setTextIfChanged(m_totalTimeValue, duration(readU32(p)));
        return;
    case S::BootCount:
        ModulePage::setTextIfChanged(m_bootValue, QString::number(readU32(p)));
        return;
    case S::Temperature:
        ModulePage::setTextIfChanged(m_tempValue, QString::asprintf("%0.1f", double(readF32(p))));
        return;
    case S::Location:
    case S::Description: {
        const QString value = text(p, length);
        QString &kept = param == S::Location ? m_locationText : m_descriptionText;
        if (value == kept)
            return;
        kept = value;
        ModulePage::setTextQuietly(param == S::Location ? m_location : m_description, value);
        if (param == S::Location)
            Q_EMIT sigLocation(value);
        else
            Q_EMIT sigDescription(value);
        return;
    }
    case S::Network: {
        const quint32 values[3] = {readU32(p), readU32(p + 4), readU32(p + 8)};
        if (values[0] != m_net[0] || values[1] != m_net[1] || values[2] != m_net[2]) {
            std::copy(values, values + 3, m_net);
            showNetwork();
            Q_EMIT sigNetwork(values[0], values[1], values[2]);
        }
        if (values[0] != m_reportedIp) {
            m_reportedIp = values[0];
            Q_EMIT sigIpaddr(m_reportedIp);
        }
        return;
    }
    case S::Fault:
        if (p[0] == m_fault)
            return;
        m_fault = p[0];
        showFault();
        Q_EMIT sigFault(m_fault);
        return;
    case S::AllMute:
        m_allMute = p[0] != 0;
        // Every report: the overview compares with its own flag, which the
        // operator may have changed without the unit following.
        Q_EMIT sigAllMute(m_allMute);
        return;
    case S::DspLoad: {
        const float usage = readF32(p);
        const float peak = readF32(p + 4);
        if (usage == m_dspLoad[0] && peak == m_dspLoad[1])
            return;
        m_dspLoad[0] = usage;
        m_dspLoad[1] = peak;
        Q_EMIT sigDspRes(usage, peak);
        return;
    }
    case S::PanelLock:
        if (int(p[0]) == m_panelLockValue)
            return;
        m_panelLockValue = p[0];
        ModulePage::setIndexQuietly(m_panelLock, m_panelLockValue ? 1 : 0);
        return;
    case S::LcdPage: {
        const int value = qint8(p[0]);
        // -1 "Polling" to 5 "Fixed on run time"; a value the box cannot show
        // is left alone.
        if (value == m_lcdPageValue || value < -1 || value + 1 >= LcdPageCount)
            return;
        m_lcdPageValue = value;
        ModulePage::setIndexQuietly(m_lcdPage, value + 1);
        return;
    }
    case S::DeviceId:
        ModulePage::setTextIfChanged(m_deviceIdValue, QString::number(readI32(p)));
        return;
    case S::DspModel:
        if (p[0] == m_dspModel)
            return;
        m_dspModel = p[0];
        showDspVersion();
        return;
    default:
        return;
    }
}

void QSetup::labelReport(quint8 param, quint16 length, const uchar *p)
{
    const Protocol::Module &table = *Protocol::module(Frame::System, Frame::Labels);
    const Protocol::Param *row = table.find(param);
    if (!row)
        return;
    const int count = Protocol::count(table.channelsOf(*row));
    if (!row->reportLength(count).fits(length))
        return;
    const bool inputs = param == L::Inputs;
    for (int ch = 0; ch < count; ++ch) {
        const uchar *field = p + ch * LabelSize;
        const QString label = SystemText::text(field, LabelSize);
        QByteArray &kept = inputs ? m_inLabelBytes[ch] : m_outLabelBytes[ch];
        const QByteArray bytes = label.toLocal8Bit();
        if (bytes == kept)
            continue;
        kept = bytes;
        ModulePage::setTextQuietly(inputs ? m_inLabels[ch] : m_outLabels[ch], label);
        if (inputs)
            Q_EMIT sigInLabelChanged(uchar(ch), label);
        else
            Q_EMIT sigOutLabelChanged(uchar(ch), label);
    }
}

void QSetup::codeReport(quint8 param, quint16 length, const uchar *p)
{
    const Protocol::Param *row = Protocol::param(Frame::System, Frame::CodeNumber, param);
    if (!row || !row->report.length.fits(length))
        return;
    const quint16 code[3] = {Frame::readU16(p), Frame::readU16(p + 2), Frame::readU16(p + 4)};
    if (m_codeKnown && std::equal(code, code + 3, m_code))
        return;
    std::copy(code, code + 3, m_code);
    m_codeKnown = true;
    m_codeValue->setText(SystemText::codeNumber(code[0], code[1], code[2]));
}

void QSetup::showArmVersion()
{
    ModulePage::setTextIfChanged(m_armValue, SystemText::version(m_armVersion));
}

void QSetup::showDspVersion()
{
    const QString text = SystemText::dspVersion(m_dspVersion, m_dspModel);
    if (text == m_dspValue->text())
        return;
    m_dspValue->setText(text);
    Q_EMIT sigDspVer(text);
}

void QSetup::showFault()
{
    for (int i = 0; i < 4; ++i) {
        const bool set = (m_fault & FaultBits[i]) != 0;
        ModulePage::setTextIfChanged(m_faultValues[i], set ? tr("ERROR") : tr("Normal"));
        const QString &style = set ? ErrorStyle : NormalStyle;
        if (m_faultValues[i]->styleSheet() != style)
            m_faultValues[i]->setStyleSheet(style);
    }
}

void QSetup::showNetwork()
{
    ModulePage::setTextQuietly(m_ipEdit, SystemText::ipv4(m_net[0]));
    ModulePage::setTextQuietly(m_maskEdit, SystemText::ipv4(m_net[1]));
    ModulePage::setTextQuietly(m_gatewayEdit, SystemText::ipv4(m_net[2]));
}

bool QSetup::lcdPageRowShown() const
{
    return !m_lcdPage->isHidden();
}

void QSetup::applyVersionRows()
{
    const firmware &v = m_armVersion;
    // The unit's display pages came with ARM V1.4.26.
    const bool lcdPage = v.major == 1 && (v.minor > 4 || (v.minor == 4 && v.patch > 25));
    m_lcdPageTitle->setVisible(lcdPage);
    m_lcdPage->setVisible(lcdPage);
    m_oemTool->setLcdLinesVisible(v.major != 1);
}

void QSetup::resetDisplays()
{
    m_dspModel = 0xFF;
    m_net[0] = m_net[1] = m_net[2] = 0;
    m_reportedIp = 0;
    m_armVersion = firmware();
    m_dspVersion = firmware();
    m_model.clear();
    m_serial.clear();
    m_locationText.clear();
    m_descriptionText.clear();
    m_modelValue->clear();
    m_serialValue->clear();
    m_armValue->clear();
    // The edit fields are cleared even while focused: the unit is gone.
    for (QLineEdit *edit : {m_location, m_description}) {
        const QSignalBlocker blocker(edit);
        edit->clear();
    }
    for (QLineEdit *edit : {m_ipEdit, m_maskEdit, m_gatewayEdit}) {
        const QSignalBlocker blocker(edit);
        edit->setText(SystemText::ipv4(0));
    }
    // The overview keeps showing the last unit's texts; only this page clears.
    m_dspValue->clear();
    if (m_fault != 0) {
        m_fault = 0;
        // Closes the main window's fault box: there is no unit to be faulty.
        Q_EMIT sigFault(0);
    }
    showFault();
}

// Sending.

void QSetup::sendText(quint8 param, QLineEdit *edit)
{
    const QString text = edit->text();
    {
        // Taking the focus away would finish the edit a second time.
        const QSignalBlocker blocker(edit);
        edit->setText(text);
        edit->clearFocus();
    }
    const QByteArray bytes = SystemText::encode(text, S::TextSize);
    if (m_link)
        m_link->sendFrame(Frame::System, Frame::Status, param, Frame::Set, bytes.constData(), quint16(bytes.size()));
}

void QSetup::locationChanged()
{
    sendText(S::Location, m_location);
}

void QSetup::descriptionChanged()
{
    sendText(S::Description, m_description);
}

void QSetup::sendLabel(quint8 param, int channel, QLineEdit *edit)
{
    {
        const QSignalBlocker blocker(edit);
        edit->clearFocus();
    }
    QByteArray payload(1, char(channel));
    payload += SystemText::encode(edit->text(), LabelSize);
    if (m_link)
        m_link->sendFrame(Frame::System, Frame::Labels, param, Frame::Set, payload.constData(),
                          quint16(payload.size()));
}

void QSetup::InChannelLabelChanged()
{
    for (int ch = 0; ch < 4; ++ch) {
        if (sender() == m_inLabels[ch])
            sendLabel(L::Inputs, ch, m_inLabels[ch]);
    }
}

void QSetup::OutChannelLabelChanged()
{
    for (int ch = 0; ch < 8; ++ch) {
        if (sender() == m_outLabels[ch])
            sendLabel(L::Outputs, ch, m_outLabels[ch]);
    }
}

void QSetup::networkFieldFinished(QLineEdit *edit, quint32 *kept)
{
    quint32 value = 0;
    if (!SystemText::parseIpv4(edit->text(), &value)) {
        const QSignalBlocker blocker(edit);
        edit->setText(SystemText::ipv4(*kept));
        return;
    }
    // Leaving the field without a change would otherwise make the unit
    // re-apply its network settings, which may drop this very connection.
    if (value == *kept)
        return;
    *kept = value;
    uchar payload[12];
    for (int i = 0; i < 3; ++i) {
        for (int b = 0; b < 4; ++b)
            payload[i * 4 + b] = uchar(m_net[i] >> (8 * b));
    }
    if (m_link)
        m_link->sendFrame(Frame::System, Frame::Status, S::Network, Frame::Set, payload, sizeof payload);
}

void QSetup::ipaddressChanged()
{
    networkFieldFinished(m_ipEdit, &m_net[0]);
}

void QSetup::netmaskChanged()
{
    networkFieldFinished(m_maskEdit, &m_net[1]);
}

void QSetup::gatewayChanged()
{
    networkFieldFinished(m_gatewayEdit, &m_net[2]);
}

void QSetup::panelLockChanged(int index)
{
    if (index < 0)
        return;
    m_panelLockValue = index;
    const uchar value = uchar(index);
    if (m_link)
        m_link->sendFrame(Frame::System, Frame::Status, S::PanelLock, Frame::Set, &value, 1);
}

void QSetup::lcdPageChanged(int index)
{
    if (index < 0)
        return;
    m_lcdPageValue = index - 1;
    const uchar value = uchar(qint8(index - 1));
    if (m_link)
        m_link->sendFrame(Frame::System, Frame::Status, S::LcdPage, Frame::Set, &value, 1);
}

// Factory tools.

void QSetup::modelDoubleClick()
{
    m_oemTool->show();
    m_oemTool->raise();
}

void QSetup::oemChanged()
{
    if (!m_link)
        return;
    const uchar dspModel = uchar(m_oemTool->dspModel());
    m_link->sendFrame(Frame::System, Frame::Status, S::DspModel, Frame::Set, &dspModel, 1);
    const QByteArray record = m_oemTool->record().encode(m_armVersion.major != 1);
    m_link->sendFrame(Frame::System, Frame::Status, S::FactorySetup, Frame::Set, record.constData(),
                      quint16(record.size()));
}

void QSetup::mksbinimage()
{
    const QString source = m_prompt->openFileName(this, tr("Find Files"), QDir::currentPath(),
                                                  tr("bin Files (*.bin)"));
    if (source.isEmpty())
        return;
    const QString target = FirmwareImage::packedPath(source);
    switch (FirmwareImage::packFile(source, target)) {
    case FirmwareImage::Result::Ok:
        qCDebug(lcPages) << "packed" << source << "into" << target;
        return;
    case FirmwareImage::Result::CannotRead:
        m_prompt->tell(this, Prompt::Icon::Warning, tr("warning"),
                       tr("Cannot read the file %1.").arg(QDir::toNativeSeparators(source)));
        return;
    case FirmwareImage::Result::CannotWrite:
        m_prompt->tell(this, Prompt::Icon::Warning, tr("warning"),
                       tr("Cannot write the file %1.").arg(QDir::toNativeSeparators(target)));
        return;
    }
}
