#include "qoemtool.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/controls/keyboardaccess.h"

namespace {

QLabel *titleLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QStringLiteral("titleLabel"));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

QOEMTool::QOEMTool(QWidget *parent)
    : QDialog(parent)
    , m_channelLabel(titleLabel(this))
    , m_lcdLine1Label(titleLabel(this))
    , m_lcdLine2Label(titleLabel(this))
    , m_modelLabel(titleLabel(this))
    , m_serialLabel(titleLabel(this))
    , m_dspModelLabel(titleLabel(this))
    , m_inputs(new QLineEdit(this))
    , m_outputs(new QLineEdit(this))
    , m_lcdLine1(new QLineEdit(this))
    , m_lcdLine2(new QLineEdit(this))
    , m_model(new QLineEdit(this))
    , m_serial(new QLineEdit(this))
    , m_dspModelCombo(new QComboBox(this))
    , m_setup(new QPushButton(this))
{
    setObjectName(QStringLiteral("oemTool"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    QFont small = font();
    small.setPointSize(9);
    for (QWidget *w : std::initializer_list<QWidget *>{m_inputs, m_outputs, m_lcdLine1, m_lcdLine2, m_model,
                                                       m_serial, m_dspModelCombo})
        w->setFont(small);

    // One byte each on the wire.
    m_inputs->setValidator(new QIntValidator(0, 255, m_inputs));
    m_outputs->setValidator(new QIntValidator(0, 255, m_outputs));
    m_lcdLine1->setMaxLength(16);
    m_lcdLine2->setMaxLength(16);
    m_lcdLine1->setText(QStringLiteral("Hello Tonewise!"));
    // The record's text fields are 20 bytes with their terminator.
    m_model->setMaxLength(FactoryRecord::TextSize - 1);
    m_serial->setMaxLength(FactoryRecord::TextSize - 1);
    m_serial->setText(generateSerial(QDate::currentDate()));
    m_dspModelCombo->addItems({QStringLiteral("5310"), QStringLiteral("2906")});
    m_setup->setObjectName(QStringLiteral("normalButton"));

    auto *channels = new QHBoxLayout;
    channels->setContentsMargins(0, 0, 0, 0);
    channels->addWidget(m_inputs);
    channels->addWidget(m_outputs);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_channelLabel, 0, 0);
    grid->addLayout(channels, 0, 1);
    grid->addWidget(m_lcdLine1Label, 1, 0);
    grid->addWidget(m_lcdLine1, 1, 1);
    grid->addWidget(m_lcdLine2Label, 2, 0);
    grid->addWidget(m_lcdLine2, 2, 1);
    grid->addWidget(m_modelLabel, 3, 0);
    grid->addWidget(m_model, 3, 1);
    grid->addWidget(m_serialLabel, 4, 0);
    grid->addWidget(m_serial, 4, 1);
    grid->addWidget(m_dspModelLabel, 5, 0);
    grid->addWidget(m_dspModelCombo, 5, 1);
    grid->addWidget(m_setup, 6, 0, 1, 2, Qt::AlignHCenter);

    connect(m_setup, &QPushButton::clicked, this, &QOEMTool::setupClicked);
    connect(m_serial, &QLineEdit::textChanged, this, &QOEMTool::snChanged);
    retranslate();
}

QOEMTool::~QOEMTool() = default;

QString QOEMTool::generateSerial(const QDate &date)
{
    const int yearMonth = (date.year() % 100) * 100 + date.month();
    return QString::asprintf("CN-0000-%X-%02dxx", yearMonth, date.day());
}

FactoryRecord QOEMTool::record() const
{
    FactoryRecord record = m_record;
    record.lcdLine1 = m_lcdLine1->text().toLatin1();
    record.lcdLine2 = m_lcdLine2->text().toLatin1();
    return record;
}

void QOEMTool::setLcdLinesVisible(bool visible)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_lcdLine1Label, m_lcdLine1, m_lcdLine2Label, m_lcdLine2})
        w->setVisible(visible);
}

void QOEMTool::setupClicked()
{
    m_record.inputs = quint8(qBound(0, m_inputs->text().toInt(), 255));
    m_record.outputs = quint8(qBound(0, m_outputs->text().toInt(), 255));
    m_record.model = m_model->text().toLatin1();
    m_record.serial = m_serial->text().toLatin1();
    m_dspModel = m_dspModelCombo->currentIndex();
    Q_EMIT msgChanged();
}

void QOEMTool::snChanged(QString str)
{
    if (str.isEmpty())
        m_serial->setText(generateSerial(QDate::currentDate()));
}

void QOEMTool::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void QOEMTool::retranslate()
{
    setWindowTitle(tr("Factory Setup"));
    m_channelLabel->setText(tr("Channel Cfg :"));
    m_lcdLine1Label->setText(tr("LCD Line%1 :").arg(1));
    m_lcdLine2Label->setText(tr("LCD Line%1 :").arg(2));
    m_modelLabel->setText(tr("Model :"));
    m_serialLabel->setText(tr("SN :"));
    m_dspModelLabel->setText(tr("DSP Model :"));
    m_setup->setText(tr("Setup"));
    m_channelLabel->setToolTip(tr("Channel configuration: inputs and outputs"));
    m_serialLabel->setToolTip(tr("Serial number"));
    KeyboardAccess::describe(m_inputs, tr("Number of inputs"));
    KeyboardAccess::describe(m_outputs, tr("Number of outputs"));
    KeyboardAccess::describe(m_lcdLine1, tr("LCD line %1").arg(1));
    KeyboardAccess::describe(m_lcdLine2, tr("LCD line %1").arg(2));
    KeyboardAccess::describe(m_model, tr("Model"));
    KeyboardAccess::describe(m_serial, tr("Serial number"));
    KeyboardAccess::describe(m_dspModelCombo, tr("DSP model"));
}
