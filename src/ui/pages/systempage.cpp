#include "systempage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFontMetrics>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <utility>

#include "ui/common/prompt.h"

namespace {

QString curveName(int index)
{
    return index == SystemGraph::SumCurve ? QString() : QStringLiteral("OUT %1").arg(index + 1);
}

// Fixed decimals without a "-0" for values that round to zero.
QString fixed(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0.0)
        rounded = 0.0;
    return QString::number(rounded, 'f', decimals);
}

constexpr double NullDb = -150.0;

QString csvKey(int index)
{
    return index == SystemGraph::SumCurve ? QStringLiteral("sum") : QStringLiteral("out%1").arg(index + 1);
}

} // namespace

SystemPage::SystemPage(StateSource source, Prompt *prompt, QWidget *parent)
    : QWidget(parent)
    , m_stateSource(std::move(source))
    , m_prompt(prompt)
{
    setObjectName(QStringLiteral("systemWidget"));

    m_sourceTitle = new QLabel(this);
    m_source = new QComboBox(this);
    m_source->addItem(QString());
    for (int i = 0; i < SystemResponse::Inputs; ++i)
        m_source->addItem(QStringLiteral("IN %1").arg(QChar(QLatin1Char('A').unicode() + i)));
    m_sourceTitle->setBuddy(m_source);
    m_modeTitle = new QLabel(this);
    m_mode = new QComboBox(this);
    m_mode->addItems({QString(), QString(), QString()});
    m_modeTitle->setBuddy(m_mode);
    m_csvButton = new QPushButton(this);
    m_pngButton = new QPushButton(this);

    auto *top = new QHBoxLayout;
    top->addWidget(m_sourceTitle);
    top->addWidget(m_source);
    top->addSpacing(12);
    top->addWidget(m_modeTitle);
    top->addWidget(m_mode);
    top->addStretch(1);
    top->addWidget(m_csvButton);
    top->addWidget(m_pngButton);

    m_graph = new SystemGraph(this);

    auto *legend = new QGridLayout;
    legend->setVerticalSpacing(0);
    legend->setHorizontalSpacing(6);
    m_cursorLabel = new QLabel(this);
    m_header = new QLabel(this);
    m_header->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    legend->addWidget(m_cursorLabel, 0, 0, 1, 2);
    legend->addWidget(m_header, 0, 2);
    for (int c = 0; c < SystemGraph::Curves; ++c) {
        const size_t k = size_t(c);
        m_checks[k] = new QCheckBox(curveName(c), this);
        // Each output's name in its curve's colour; the sum, drawn white,
        // keeps the style's text colour.
        if (c != SystemGraph::SumCurve)
            m_checks[k]->setStyleSheet(
                QStringLiteral("QCheckBox { color: %1; }").arg(SystemGraph::colour(c).name()));
        m_checks[k]->setChecked(c == 0);
        m_graph->setCurveVisible(c, c == 0);
        m_readout[k] = new QLabel(this);
        m_latency[k] = new QLabel(this);
        m_latency[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Room for the widest values, so the legend does not jump as the
        // cursor moves.
        const QFontMetrics metrics(m_readout[k]->font());
        m_readout[k]->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("-120.0 dB -180\u00b0 999.99 ms")));
        legend->addWidget(m_checks[k], c + 1, 0);
        legend->addWidget(m_readout[k], c + 1, 1);
        legend->addWidget(m_latency[k], c + 1, 2);
        connect(m_checks[k], &QCheckBox::toggled, this, [this, c](bool on) {
            m_graph->setCurveVisible(c, on);
            if (c != SystemGraph::SumCurve)
                updateCurves();
        });
    }
    legend->setRowStretch(SystemGraph::Curves + 1, 1);

    auto *middle = new QHBoxLayout;
    middle->addWidget(m_graph, 1);
    middle->addLayout(legend);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addLayout(middle, 1);

    m_timer = new QTimer(this);
    m_timer->setInterval(RefreshMs);
    connect(m_timer, &QTimer::timeout, this, &SystemPage::refresh);
    connect(m_source, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        m_response.setSource(index - 1);
        updateCurves();
    });
    connect(m_mode, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { m_graph->setMode(SystemGraph::Mode(index)); });
    connect(m_graph, &SystemGraph::cursorMoved, this, &SystemPage::updateReadout);
    connect(m_csvButton, &QPushButton::clicked, this, &SystemPage::exportCsv);
    connect(m_pngButton, &QPushButton::clicked, this, &SystemPage::exportPng);
    retranslate();
}

SystemPage::~SystemPage() = default;

void SystemPage::setFamily(bool family96k)
{
    if (family96k == m_response.family96k())
        return;
    m_response.setFamily(family96k);
    m_computed = false;
    if (isVisible())
        refresh();
}

bool SystemPage::isRefreshing() const
{
    return m_timer->isActive();
}

void SystemPage::refresh()
{
    if (!m_stateSource)
        return;
    m_response.setState(m_stateSource());
    if (m_computed && m_response.lastWork().outputs == 0)
        return;
    m_computed = true;
    updateCurves();
}

unsigned SystemPage::checkedOutputs() const
{
    unsigned mask = 0;
    for (int o = 0; o < SystemResponse::Outputs; ++o) {
        if (m_checks[size_t(o)]->isChecked())
            mask |= 1u << o;
    }
    return mask;
}

void SystemPage::updateCurves()
{
    if (!m_computed)
        return;
    for (int o = 0; o < SystemResponse::Outputs; ++o)
        m_graph->setCurve(o, m_response.output(o));
    m_graph->setCurve(SystemGraph::SumCurve, m_response.sum(checkedOutputs()));
    updateReadout();
}

void SystemPage::updateReadout()
{
    const size_t at = size_t(m_graph->cursorIndex());
    m_cursorLabel->setText(tr("Cursor: %1 Hz").arg(responseGrid()[at]));
    for (int c = 0; c < SystemGraph::Curves; ++c) {
        const size_t k = size_t(c);
        const SystemResponse::Curves &curves = m_graph->curve(c);
        if (!m_computed || !curves.audible) {
            m_readout[k]->setText(tr("silent"));
            m_latency[k]->setText(QStringLiteral("-"));
            continue;
        }
        // In a null far below anything heard, phase and group delay are
        // noise (the delay runs to millions of ms): shown as "-".
        const bool null = curves.magnitudeDb[at] < NullDb;
        m_readout[k]->setText(QStringLiteral("%1 dB %2\u00b0 %3 ms")
                                  .arg(fixed(curves.magnitudeDb[at], 1),
                                       null ? QStringLiteral("-") : fixed(curves.phaseDeg[at], 0),
                                       null ? QStringLiteral("-") : fixed(curves.groupDelayMs[at], 2)));
        m_latency[k]->setText(QStringLiteral("%1 ms").arg(fixed(curves.latencyMs, 2)));
        m_readout[k]->setAccessibleName(tr("%1 at the cursor").arg(m_checks[k]->text()));
        m_latency[k]->setAccessibleName(tr("%1 latency").arg(m_checks[k]->text()));
    }
}

QString SystemPage::csv() const
{
    QString text;
    QTextStream out(&text);
    out << "frequency_hz";
    QList<int> shown;
    for (int c = 0; c < SystemGraph::Curves; ++c) {
        if (!m_checks[size_t(c)]->isChecked())
            continue;
        shown.append(c);
        const QString key = csvKey(c);
        out << ',' << key << "_db," << key << "_deg," << key << "_ms";
    }
    out << '\n';
    for (int i = 0; i < ResponseGridSize; ++i) {
        const size_t k = size_t(i);
        out << QString::number(responseGrid()[k], 'g', 6);
        for (int c : shown) {
            const SystemResponse::Curves &curves = m_graph->curve(c);
            if (!curves.audible) {
                out << ",,,"; // a silent curve has no level, phase or delay
                continue;
            }
            out << ',' << QString::number(curves.magnitudeDb[k], 'g', 8) << ','
                << QString::number(curves.phaseDeg[k], 'g', 8) << ','
                << QString::number(curves.groupDelayMs[k], 'g', 8);
        }
        out << '\n';
    }
    out.flush();
    return text;
}

bool SystemPage::save(const QString &caption, const QString &filter, const QString &suffix,
                      const std::function<bool(QIODevice &)> &write)
{
    if (!m_prompt)
        return false;
    QString path = m_prompt->saveFileName(this, caption, QString(), filter);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && write(file) && file.commit())
        return true;
    file.cancelWriting();
    m_prompt->tell(this, Prompt::Icon::Warning, tr("warning"),
                   tr("Could not write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return false;
}

void SystemPage::exportCsv()
{
    const QByteArray bytes = csv().toUtf8();
    save(tr("Export curves"), tr("CSV files (*.csv)"), QStringLiteral("csv"),
         [&bytes](QIODevice &device) { return device.write(bytes) == bytes.size(); });
}

void SystemPage::exportPng()
{
    const QImage image = m_graph->grab().toImage();
    save(tr("Export picture"), tr("PNG images (*.png)"), QStringLiteral("png"),
         [&image](QIODevice &device) { return image.save(&device, "PNG"); });
}

void SystemPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
    m_timer->start();
}

void SystemPage::hideEvent(QHideEvent *event)
{
    m_timer->stop();
    QWidget::hideEvent(event);
}

void SystemPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void SystemPage::retranslate()
{
    m_sourceTitle->setText(tr("Source"));
    m_source->setItemText(0, tr("All inputs"));
    m_source->setAccessibleName(tr("Source"));
    m_modeTitle->setText(tr("Show"));
    m_mode->setItemText(SystemGraph::Magnitude, tr("Magnitude"));
    m_mode->setItemText(SystemGraph::Phase, tr("Phase"));
    m_mode->setItemText(SystemGraph::GroupDelay, tr("Group delay"));
    m_mode->setAccessibleName(tr("Show"));
    m_csvButton->setText(tr("Export CSV..."));
    m_pngButton->setText(tr("Export PNG..."));
    m_checks[SystemGraph::SumCurve]->setText(tr("Sum"));
    m_header->setText(tr("Latency"));
    m_graph->setAccessibleName(tr("System response"));
    m_graph->setAccessibleDescription(tr("Left and right arrows move the cursor") + QStringLiteral(". ")
                                      + m_graph->note());
    for (int c = 0; c < SystemGraph::Curves; ++c)
        m_checks[size_t(c)]->setAccessibleName(tr("Show %1").arg(m_checks[size_t(c)]->text()));
    m_graph->setNote(tr("Limiters, gate and feedback suppressor depend on the signal level and are not in the "
                       "curves. Shaded: the reach of the dynamic EQ."));
    updateReadout();
}
