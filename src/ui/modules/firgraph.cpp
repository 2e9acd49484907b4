#include "firgraph.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace {

constexpr int PlotLeft = 40;
constexpr int PlotTop = 10;
constexpr int PlotRightMargin = 16;
constexpr int PlotBottomMargin = 20;

const QColor BackgroundColour(34, 34, 34);
const QColor GridColour(128, 128, 128);
const QColor MinorGridColour(128, 128, 128, 90);
const QColor LabelColour(128, 128, 128);
const QColor CurveColour(45, 255, 254);

const double LogAxisMin = std::log10(double(FirGraph::AxisFrequencyMin));
const double LogAxisMax = std::log10(double(FirGraph::AxisFrequencyMax));

QFont labelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    return font;
}

} // namespace

FirGraph::FirGraph(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    redesign();
}

FirGraph::~FirGraph() = default;

QSize FirGraph::sizeHint() const
{
    return {640, 300};
}

QSize FirGraph::minimumSizeHint() const
{
    return {300, 160};
}

void FirGraph::setTaps(int taps)
{
    m_params.taps = qBound(0, taps, int(MaxTaps));
    redesign();
}

void FirGraph::setFirType(int firType)
{
    m_params.firType = firType;
    redesign();
}

void FirGraph::setLowFreq(double freq)
{
    m_params.lowFreq = freq;
    redesign();
}

void FirGraph::setHighFreq(double freq)
{
    m_params.highFreq = freq;
    redesign();
}

void FirGraph::setWindow(int window)
{
    m_params.window = window;
    redesign();
}

void FirGraph::setKaiserBeta(double beta)
{
    m_params.kaiserBeta = beta;
    redesign();
}

void FirGraph::setSampleRate(double sampleRate)
{
    m_params.sampleRate = sampleRate;
    if (m_loaded)
        recomputeResponse();
    else
        redesign();
}

void FirGraph::setDesign(int taps, int firType, double lowFreq, double highFreq, int window, double kaiserBeta,
                         bool curveShown)
{
    m_params.taps = qBound(0, taps, int(MaxTaps));
    m_params.firType = firType;
    m_params.lowFreq = lowFreq;
    m_params.highFreq = highFreq;
    m_params.window = window;
    m_params.kaiserBeta = kaiserBeta;
    m_curveShown = curveShown;
    redesign();
}

void FirGraph::setCurveShown(bool shown)
{
    if (m_curveShown == shown)
        return;
    m_curveShown = shown;
    update();
}

void FirGraph::setCoefficients(const float *c, int count, bool reversed)
{
    if (count < 0 || count > MaxTaps || (count > 0 && !c))
        return;
    m_params.taps = count;
    m_coefficients.fill(0.0);
    for (int i = 0; i < count; ++i)
        m_coefficients[size_t(reversed ? count - 1 - i : i)] = double(c[i]);
    m_loaded = true;
    recomputeResponse();
}

void FirGraph::coefficients(float *out) const
{
    for (int i = 0; i < m_params.taps; ++i)
        out[i] = float(m_coefficients[size_t(i)]);
}

void FirGraph::coefficientsReversed(float *out) const
{
    const int n = m_params.taps;
    for (int i = 0; i < n; ++i)
        out[n - 1 - i] = float(m_coefficients[size_t(i)]);
}

QVector<float> FirGraph::coefficientList() const
{
    QVector<float> out(m_params.taps);
    coefficients(out.data());
    return out;
}

void FirGraph::redesign()
{
    m_loaded = false;
    m_coefficients.fill(0.0);
    FirDesign::design(m_params, m_coefficients.data());
    recomputeResponse();
}

void FirGraph::recomputeResponse()
{
    FirDesign::response(m_coefficients.data(), m_params.taps, m_params.sampleRate, m_response);
    update();
}

QRect FirGraph::plotRect() const
{
    return {PlotLeft, PlotTop, (width() - 1 - PlotRightMargin) - PlotLeft,
            (height() - 1 - PlotBottomMargin) - PlotTop};
}

double FirGraph::frequencyOffset(double freq) const
{
    return (std::log10(freq) - LogAxisMin) * plotRect().width() / (LogAxisMax - LogAxisMin);
}

QVector<QPointF> FirGraph::curvePoints() const
{
    const QRect plot = plotRect();
    QVector<QPointF> points;
    if (plot.width() <= 0 || plot.height() <= 0)
        return points;
    const ResponseCurve &grid = responseGrid();
    const double zeroY = plot.top() + plot.height() / double(Rows);
    points.reserve(ResponseGridSize);
    for (int i = 0; i < ResponseGridSize; ++i) {
        const double offset = frequencyOffset(grid[size_t(i)]);
        if (offset > plot.width())
            break;
        const double x = qBound(double(plot.left()), plot.left() + offset, double(plot.left() + plot.width()));
        double y = zeroY;
        if (m_curveShown)
            y = zeroY - plot.height() * m_response[size_t(i)] / double(DbTop - DbBottom);
        y = qBound(double(plot.top()), y, double(plot.top() + plot.height()));
        points.append(QPointF(x, y));
    }
    return points;
}

void FirGraph::paintGrid(QPainter &p) const
{
    p.fillRect(rect(), BackgroundColour);
    const QRect plot = plotRect();
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    const int left = plot.left();
    const int top = plot.top();
    const int w = plot.width();
    const int h = plot.height();

    // The 1-2-..-9 lines inside each decade are faint, the decades strong.
    for (int decade = 10; decade < AxisFrequencyMax; decade *= 10) {
        for (int m = 1; m <= 9; ++m) {
            const int v = decade * m;
            if (v < AxisFrequencyMin || v > AxisFrequencyMax)
                continue;
            p.setPen(QPen(m == 1 ? GridColour : MinorGridColour, 1));
            const double x = left + frequencyOffset(v);
            p.drawLine(QPointF(x, top), QPointF(x, top + h));
        }
    }
    p.setPen(QPen(GridColour, 1));
    for (int k = 1; k < Rows; ++k)
        p.drawLine(left, top + k * h / Rows, left + w, top + k * h / Rows);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(left, top, w, h));

    p.setFont(labelFont());
    p.setPen(LabelColour);
    for (int k = 0; k < Rows + 1; ++k) {
        const int value = DbTop - 20 * k;
        const QString text = QString::asprintf("%ddB", value);
        if (k == 0) {
            p.drawText(QPointF(14, top + 7), text);
            continue;
        }
        const int x = value == 0 ? 20 : (value > -100 ? 10 : 4);
        p.drawText(QPointF(x, top + k * h / Rows + 3), text);
    }
    QVector<int> labels{AxisFrequencyMin};
    for (int v = 100; v < AxisFrequencyMax; v *= 10)
        labels.append(v);
    labels.append(AxisFrequencyMax);
    for (int i = 0; i < labels.size(); ++i) {
        const int v = labels.at(i);
        const QString text = v < 1000 ? QString::asprintf("%dHz", v) : QString::asprintf("%dKHz", v / 1000);
        const double x = left + frequencyOffset(v) - (i == labels.size() - 1 ? 18 : 10);
        p.drawText(QPointF(x, top + h + 13), text);
    }
}

void FirGraph::paintEvent(QPaintEvent *)
{
    if (!m_gridValid || m_gridCache.size() != size() * devicePixelRatioF()) {
        auto *self = const_cast<FirGraph *>(this);
        self->m_gridCache = QPixmap(size() * devicePixelRatioF());
        self->m_gridCache.setDevicePixelRatio(devicePixelRatioF());
        QPainter gp(&self->m_gridCache);
        paintGrid(gp);
        self->m_gridValid = true;
    }
    QPainter p(this);
    p.drawPixmap(0, 0, m_gridCache);
    const QVector<QPointF> points = curvePoints();
    if (points.size() < 2)
        return;
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(isEnabled() ? CurveColour : CurveColour.darker(170), 1));
    p.drawPolyline(points.constData(), points.size());
}

void FirGraph::resizeEvent(QResizeEvent *event)
{
    m_gridValid = false;
    QWidget::resizeEvent(event);
}

void FirGraph::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_gridValid = false;
    QWidget::changeEvent(event);
}
