#include "systemgraph.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

const QColor BackgroundColour(34, 34, 34);
const QColor GridColour(128, 128, 128);
const QColor MinorGridColour(128, 128, 128, 80);
const QColor LabelColour(128, 128, 128);
const QColor CursorColour(228, 236, 238, 160);

const double LogFrequencyMin = std::log10(double(SystemGraph::FrequencyMin));
const double LogFrequencyMax = std::log10(double(SystemGraph::FrequencyMax));

constexpr int LeftMargin = 44;
constexpr int RightMargin = 8;
constexpr int TopMargin = 6;
constexpr int BottomMargin = 18;
constexpr double MagnitudeMax = 18.0;
constexpr double MagnitudeMin = -54.0;

QFont labelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(10);
    return font;
}

// A group-delay range that holds `value` in steps of 1, 2 or 5 x 10^n ms.
double niceCeiling(double value)
{
    if (!(value > 1.0))
        return 1.0;
    const double decade = std::pow(10.0, std::floor(std::log10(value)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * decade >= value)
            return m * decade;
    }
    return 10.0 * decade;
}

} // namespace

SystemGraph::SystemGraph(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("systemGraph"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    for (SystemResponse::Curves &c : m_curves) {
        c.magnitudeDb.fill(SystemResponse::SilentDb);
        c.deqLowDb = c.deqHighDb = c.magnitudeDb;
    }
}

SystemGraph::~SystemGraph() = default;

QColor SystemGraph::colour(int index)
{
    static const QColor colours[Curves] = {
        QColor(45, 255, 254), QColor(255, 196, 61), QColor(120, 230, 90),  QColor(255, 110, 180),
        QColor(150, 140, 255), QColor(255, 130, 60), QColor(80, 170, 255), QColor(210, 210, 120),
        QColor(245, 245, 245),
    };
    return colours[std::clamp(index, 0, Curves - 1)];
}

void SystemGraph::setMode(Mode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    m_gridValid = false;
    update();
}

void SystemGraph::setCurve(int index, const SystemResponse::Curves &curves)
{
    if (index < 0 || index >= Curves)
        return;
    m_curves[size_t(index)] = curves;
    updateGroupDelayRange();
    update();
}

void SystemGraph::setCurveVisible(int index, bool visible)
{
    if (index < 0 || index >= Curves || m_visible[size_t(index)] == visible)
        return;
    m_visible[size_t(index)] = visible;
    updateGroupDelayRange();
    update();
}

void SystemGraph::updateGroupDelayRange()
{
    // The range follows the longest delay shown, so a 500 ms output delay
    // and a 0.5 ms one both read well; it changes in coarse steps only.
    double longest = 0.0;
    const ResponseCurve &grid = responseGrid();
    for (int c = 0; c < Curves; ++c) {
        const SystemResponse::Curves &curves = m_curves[size_t(c)];
        if (!m_visible[size_t(c)] || !curves.audible)
            continue;
        // Near a null (two outputs cancelling at a crossover) the group
        // delay grows without bound and says nothing; the range follows the
        // part of the curve that is heard.
        const double peak = *std::max_element(curves.magnitudeDb.begin(), curves.magnitudeDb.end());
        for (int i = 0; i < ResponseGridSize; ++i) {
            const size_t k = size_t(i);
            if (grid[k] >= FrequencyMin && grid[k] <= FrequencyMax && curves.magnitudeDb[k] > peak - 40.0)
                longest = std::max(longest, std::min(curves.groupDelayMs[k], 1e5));
        }
    }
    const double max = niceCeiling(longest * 1.1);
    if (max != m_delayMax) {
        m_delayMax = max;
        m_gridValid = false;
    }
}

void SystemGraph::setNote(const QString &note)
{
    m_note = note;
    update();
}

void SystemGraph::setCursorIndex(int index)
{
    index = std::clamp(index, 0, ResponseGridSize - 1);
    if (index == m_cursor)
        return;
    m_cursor = index;
    update();
    Q_EMIT cursorMoved(index);
}

double SystemGraph::valueMin() const
{
    switch (m_mode) {
    case Phase: return -180.0;
    case GroupDelay: return -m_delayMax / 5.0;
    default: return MagnitudeMin;
    }
}

double SystemGraph::valueMax() const
{
    switch (m_mode) {
    case Phase: return 180.0;
    case GroupDelay: return m_delayMax;
    default: return MagnitudeMax;
    }
}

QRect SystemGraph::plotRect() const
{
    return QRect(LeftMargin, TopMargin, std::max(0, width() - LeftMargin - RightMargin),
                 std::max(0, height() - TopMargin - BottomMargin));
}

double SystemGraph::frequencyToX(double freq) const
{
    const QRect plot = plotRect();
    return plot.left() + (std::log10(freq) - LogFrequencyMin) / (LogFrequencyMax - LogFrequencyMin) * plot.width();
}

double SystemGraph::valueToY(double value) const
{
    const QRect plot = plotRect();
    return plot.top() + (valueMax() - value) / (valueMax() - valueMin()) * plot.height();
}

const ResponseCurve &SystemGraph::values(int index) const
{
    const SystemResponse::Curves &c = m_curves[size_t(index)];
    switch (m_mode) {
    case Phase: return c.phaseDeg;
    case GroupDelay: return c.groupDelayMs;
    default: return c.magnitudeDb;
    }
}

QVector<QPointF> SystemGraph::curvePoints(int index) const
{
    QVector<QPointF> points;
    if (index < 0 || index >= Curves || !m_visible[size_t(index)] || !m_curves[size_t(index)].audible)
        return points;
    const ResponseCurve &grid = responseGrid();
    const ResponseCurve &v = values(index);
    // Far outside the range, y is held a little beyond the edge so that the
    // painter never sees huge coordinates.
    const QRect plot = plotRect();
    for (int i = 0; i < ResponseGridSize; ++i) {
        const double f = grid[size_t(i)];
        if (f < FrequencyMin || f > FrequencyMax)
            continue;
        const double y = std::clamp(valueToY(v[size_t(i)]), plot.top() - 20.0, plot.bottom() + 20.0);
        points.append(QPointF(frequencyToX(f), y));
    }
    return points;
}

QSize SystemGraph::sizeHint() const
{
    return QSize(640, 320);
}

QSize SystemGraph::minimumSizeHint() const
{
    return QSize(320, 180);
}

void SystemGraph::resizeEvent(QResizeEvent *event)
{
    m_gridValid = false;
    QWidget::resizeEvent(event);
}

void SystemGraph::paintGrid(QPainter &p) const
{
    p.fillRect(rect(), BackgroundColour);
    const QRect plot = plotRect();
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    p.setPen(QPen(MinorGridColour, 1));
    for (int decade = 1; decade < FrequencyMax; decade *= 10) {
        for (int m = 2; m < 10; ++m) {
            const int v = decade * m;
            if (v > FrequencyMin && v < FrequencyMax)
                p.drawLine(QPointF(frequencyToX(v), plot.top()), QPointF(frequencyToX(v), plot.bottom()));
        }
    }
    p.setFont(labelFont());
    const QFontMetrics metrics(p.font());
    const int rows = 6;
    const double step = (valueMax() - valueMin()) / rows;
    for (int k = 0; k <= rows; ++k) {
        double value = valueMax() - k * step;
        if (std::fabs(value) < 1e-9 * step) // no "2e-16ms" for the zero line
            value = 0.0;
        const double y = valueToY(value);
        p.setPen(QPen(GridColour, 1));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        const char *unit = m_mode == Phase ? "\u00b0" : (m_mode == GroupDelay ? "ms" : "dB");
        const QString text = QString::number(value, 'g', 4) + QString::fromUtf8(unit);
        p.setPen(LabelColour);
        p.drawText(QRectF(0, y - metrics.height() / 2.0, plot.left() - 3, metrics.height()),
                   Qt::AlignRight | Qt::AlignVCenter, text);
    }
    for (int v = FrequencyMin; v < FrequencyMax; v *= 10) {
        p.setPen(QPen(GridColour, 1));
        const double x = frequencyToX(v);
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        p.setPen(LabelColour);
        const QString text = v <= 999 ? QString::asprintf("%dHz", v) : QString::asprintf("%dkHz", v / 1000);
        p.drawText(QPointF(x + 2, plot.bottom() + 13), text);
    }
    p.setPen(QPen(GridColour, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot.adjusted(0, 0, -1, -1));
}

void SystemGraph::paintEvent(QPaintEvent *)
{
    const qreal dpr = devicePixelRatioF();
    if (!m_gridValid || m_gridCache.size() != size() * dpr) {
        m_gridCache = QPixmap(size() * dpr);
        m_gridCache.setDevicePixelRatio(dpr);
        QPainter gp(&m_gridCache);
        paintGrid(gp);
        m_gridValid = true;
    }
    QPainter p(this);
    p.drawPixmap(0, 0, m_gridCache);
    const QRect plot = plotRect();
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setClipRect(plot);

    const ResponseCurve &grid = responseGrid();
    for (int c = 0; c < Curves; ++c) {
        const QVector<QPointF> points = curvePoints(c);
        if (points.isEmpty())
            continue;
        const QColor colour = SystemGraph::colour(c);
        if (m_mode == Magnitude) {
            // The dynamic EQ's reach, where it has any.
            const SystemResponse::Curves &curves = m_curves[size_t(c)];
            QPainterPath band;
            QVector<QPointF> lower;
            bool any = false;
            for (int i = 0; i < ResponseGridSize; ++i) {
                const double f = grid[size_t(i)];
                if (f < FrequencyMin || f > FrequencyMax)
                    continue;
                const size_t k = size_t(i);
                any = any || curves.deqHighDb[k] - curves.deqLowDb[k] > 0.05;
                const QPointF top(frequencyToX(f), std::clamp(valueToY(curves.deqHighDb[k]), plot.top() - 20.0,
                                                              plot.bottom() + 20.0));
                lower.prepend(QPointF(top.x(), std::clamp(valueToY(curves.deqLowDb[k]), plot.top() - 20.0,
                                                          plot.bottom() + 20.0)));
                if (band.elementCount() == 0)
                    band.moveTo(top);
                else
                    band.lineTo(top);
            }
            if (any) {
                for (const QPointF &pt : lower)
                    band.lineTo(pt);
                band.closeSubpath();
                QColor fill = colour;
                fill.setAlpha(50);
                p.fillPath(band, fill);
            }
        }
        p.setPen(QPen(colour, c == SumCurve ? 2.5 : 1.5));
        if (m_mode == Phase) {
            // Wrapped phase: no line across a jump of a full turn.
            int start = 0;
            for (int i = 1; i <= points.size(); ++i) {
                if (i == points.size() || std::fabs(points[i].y() - points[i - 1].y()) > plot.height() / 2.0) {
                    p.drawPolyline(points.constData() + start, i - start);
                    start = i;
                }
            }
        } else {
            p.drawPolyline(points.constData(), points.size());
        }
    }

    if (!m_note.isEmpty()) {
        p.setFont(labelFont());
        p.setPen(LabelColour);
        const QRectF room = QRectF(plot).adjusted(6, 0, -6, -4);
        const int flags = Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap;
        // On a veil of the background, so curves and grid do not cross it.
        p.fillRect(p.boundingRect(room, flags, m_note).adjusted(-3, -1, 3, 1), QColor(34, 34, 34, 200));
        p.drawText(room, flags, m_note);
    }
    const double x = frequencyToX(grid[size_t(m_cursor)]);
    p.setPen(QPen(CursorColour, 1, Qt::DashLine));
    p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    if (hasFocus()) {
        p.setClipping(false);
        p.setPen(QPen(QColor(21, 148, 192), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void SystemGraph::moveCursorToX(int x)
{
    const QRect plot = plotRect();
    if (plot.width() <= 0)
        return;
    const double logF = LogFrequencyMin + (x - plot.left()) * (LogFrequencyMax - LogFrequencyMin) / plot.width();
    // The grid is 36 points per octave with 1 kHz at 239.
    const int index = int(std::lround(239.0 + 36.0 * (logF - 3.0) / std::log10(2.0)));
    setCursorIndex(index);
}

void SystemGraph::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        moveCursorToX(event->pos().x());
}

void SystemGraph::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        moveCursorToX(event->pos().x());
}

void SystemGraph::keyPressEvent(QKeyEvent *event)
{
    const int step = event->modifiers() & Qt::ShiftModifier ? 12 : 1;
    switch (event->key()) {
    case Qt::Key_Left: setCursorIndex(m_cursor - step); break;
    case Qt::Key_Right: setCursorIndex(m_cursor + step); break;
    case Qt::Key_Home: setCursorIndex(0); break;
    case Qt::Key_End: setCursorIndex(ResponseGridSize - 1); break;
    default: QWidget::keyPressEvent(event); return;
    }
}
