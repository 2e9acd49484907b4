#include "filtergraph.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

// Plot margins: room for the level labels on the left and the frequency
// labels below.
constexpr int PlotLeft = 35;
constexpr int PlotTop = 10;
constexpr int PlotRightMargin = 6;
constexpr int PlotBottomMargin = 21;

const QColor BackgroundColour(34, 34, 34);
const QColor GridColour(128, 128, 128);
const QColor MinorGridColour(128, 128, 128, 80);
const QColor LabelColour(128, 128, 128);
const QColor CurveColour(45, 255, 254);
const QColor CurveFillColour(45, 255, 254, 28);
const QColor HandleFillColour(19, 47, 54, 100);
const QColor HandleOutlineColour(154, 156, 157);
const QColor HandleBypassedOutlineColour(95, 96, 97);
const QColor HandleSelectedColour(21, 148, 192);
const QColor HandleLabelColour(220, 220, 220);
const QColor ReadoutColour(187, 188, 189);

const double LogFrequencyMin = std::log10(double(FilterGraph::FrequencyMin));
const double LogFrequencyMax = std::log10(double(FilterGraph::FrequencyMax));

QFont labelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    return font;
}

} // namespace

FilterGraph::FilterGraph(QWidget *parent)
    : QWidget(parent)
{
    m_editable.fill(true);
    m_bandGainMax.fill(20);
    m_bandGainMin.fill(-20);
    setMouseTracking(true);
    // A press on the graph takes the focus, so an entry being typed is
    // finished (and stored) before a handle press selects another band.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    recompute();
}

FilterGraph::~FilterGraph() = default;

QSize FilterGraph::sizeHint() const
{
    return {640, 260};
}

QSize FilterGraph::minimumSizeHint() const
{
    return {240, 120};
}

void FilterGraph::setHighPass(bool bypass, int type, int slope, float freq)
{
    FilterSection &s = m_params.highPass;
    s.bypass = bypass;
    s.type = type;
    s.slope = slope;
    s.freq = freq;
    recompute();
}

void FilterGraph::setLowPass(bool bypass, int type, int slope, float freq)
{
    FilterSection &s = m_params.lowPass;
    s.bypass = bypass;
    s.type = type;
    s.slope = slope;
    s.freq = freq;
    recompute();
}

void FilterGraph::setBand(uchar band, bool bypass, uchar type, float freq, float gain, float q)
{
    if (band >= MaxBands)
        return;
    FilterBand &b = m_params.bands[band];
    b.bypass = bypass;
    b.type = type;
    b.freq = freq;
    b.gain = gain;
    b.q = q;
    recompute();
}

void FilterGraph::setBandCount(uchar count)
{
    m_params.bandCount = qMin<int>(count, MaxBands);
    if (m_dragging >= m_params.bandCount && m_dragging < MaxBands)
        m_dragging = -1;
    recompute();
}

void FilterGraph::setDbRange(int max, int min)
{
    // An empty range would divide by zero in every mapping.
    if (max <= min)
        return;
    m_dbMax = max;
    m_dbMin = min;
    invalidateGrid();
}

void FilterGraph::setGridRows(int rows)
{
    // The level labels step by dbMax / (rows / 2).
    if (rows < 2)
        return;
    m_gridRows = rows;
    invalidateGrid();
}

void FilterGraph::setBandGainMode(bool ownRange)
{
    m_bandGainMode = ownRange;
}

void FilterGraph::setBandGainRange(uchar band, int min, int max)
{
    if (band >= MaxBands || max < min)
        return;
    m_bandGainMin[band] = min;
    m_bandGainMax[band] = max;
}

void FilterGraph::setHighPassEditable(bool editable)
{
    m_editable[HighPassHandle] = editable;
    if (!editable && m_dragging == HighPassHandle)
        m_dragging = -1;
}

void FilterGraph::setLowPassEditable(bool editable)
{
    m_editable[LowPassHandle] = editable;
    if (!editable && m_dragging == LowPassHandle)
        m_dragging = -1;
}

void FilterGraph::setBandEditable(uchar band, bool editable)
{
    if (band >= MaxBands)
        return;
    m_editable[band] = editable;
    if (!editable && m_dragging == band)
        m_dragging = -1;
}

// Hiding takes the section or band out of the curve at once: a curve that
// still showed a hidden filter until the next edit would give it away.
void FilterGraph::setHighPassShown(bool shown)
{
    if (m_params.highPass.shown == shown)
        return;
    m_params.highPass.shown = shown;
    if (!shown && m_dragging == HighPassHandle)
        m_dragging = -1;
    recompute();
}

void FilterGraph::setLowPassShown(bool shown)
{
    if (m_params.lowPass.shown == shown)
        return;
    m_params.lowPass.shown = shown;
    if (!shown && m_dragging == LowPassHandle)
        m_dragging = -1;
    recompute();
}

void FilterGraph::setBandShown(uchar band, bool shown)
{
    if (band >= MaxBands || m_params.bands[band].shown == shown)
        return;
    m_params.bands[band].shown = shown;
    if (!shown && m_dragging == band)
        m_dragging = -1;
    recompute();
}

void FilterGraph::setSelectedBand(int band)
{
    if (band < -1 || band >= MaxBands || band == m_selectedBand)
        return;
    m_selectedBand = band;
    update();
}

void FilterGraph::recompute()
{
    FilterResponse::compute(m_params, m_response);
    update();
}

// Geometry.

QRect FilterGraph::plotRect() const
{
    return QRect(QPoint(PlotLeft, PlotTop), QPoint(width() - PlotRightMargin, height() - PlotBottomMargin));
}

double FilterGraph::pixelsPerDecade() const
{
    // Single precision, as the axis has always been laid out.
    return double(float(plotRect().width()) / float(LogFrequencyMax - LogFrequencyMin));
}

double FilterGraph::frequencyToX(double freq) const
{
    return plotRect().left() + (std::log10(freq) - LogFrequencyMin) * pixelsPerDecade();
}

double FilterGraph::dbToY(double db) const
{
    const QRect plot = plotRect();
    return plot.top() + (m_dbMax - db) * plot.height() / double(m_dbMax - m_dbMin);
}

float FilterGraph::xToFrequency(double x) const
{
    const double ppd = pixelsPerDecade();
    if (ppd <= 0.0)
        return DragFrequencyMin;
    return float(std::pow(10.0, LogFrequencyMin + (x - plotRect().left()) / ppd));
}

float FilterGraph::yToDb(double y) const
{
    const QRect plot = plotRect();
    if (plot.height() <= 0)
        return 0.0f;
    return float(m_dbMax - (y - plot.top()) * (m_dbMax - m_dbMin) / double(plot.height()));
}

QVector<QPointF> FilterGraph::curvePoints() const
{
    const QRect plot = plotRect();
    const ResponseCurve &grid = responseGrid();
    const double span = LogFrequencyMax - LogFrequencyMin;
    QVector<QPointF> points;
    points.reserve(ResponseGridSize);
    for (int i = 0; i < ResponseGridSize; ++i) {
        const double offset = plot.width() * (std::log10(grid[size_t(i)]) - LogFrequencyMin) / span;
        // The grid runs on to 32 kHz; the axis ends at 24 kHz.
        if (offset > plot.width())
            break;
        const double x = qBound(double(plot.left()), plot.left() + offset, double(plot.right()));
        double y = dbToY(m_response[size_t(i)]);
        y = std::isfinite(y) ? qBound(double(plot.top()), y, double(plot.bottom())) : double(plot.bottom());
        points.append(QPointF(x, y));
    }
    return points;
}

bool FilterGraph::isHandleShown(int handle) const
{
    if (handle == HighPassHandle)
        return m_params.highPass.shown;
    if (handle == LowPassHandle)
        return m_params.lowPass.shown;
    return handle >= 0 && handle < m_params.bandCount && m_params.bands[size_t(handle)].shown;
}

double FilterGraph::handleValue(int handle) const
{
    return handle < MaxBands ? double(m_params.bands[size_t(handle)].gain) : 0.0;
}

double FilterGraph::handleFrequency(int handle) const
{
    if (handle == HighPassHandle)
        return m_params.highPass.freq;
    if (handle == LowPassHandle)
        return m_params.lowPass.freq;
    return m_params.bands[size_t(handle)].freq;
}

QRectF FilterGraph::handleRect(int handle) const
{
    if (!isHandleShown(handle))
        return {};
    const QRect plot = plotRect();
    double freq = handleFrequency(handle);
    if (!(freq > 0.0))
        freq = FrequencyMin;
    const double x = frequencyToX(freq);
    // A gain beyond the display range keeps its handle on the edge, where
    // it can still be caught.
    double y = dbToY(handleValue(handle));
    y = std::isfinite(y) ? qBound(double(plot.top()), y, double(plot.bottom())) : double(plot.top());
    return QRectF(x - HandleSize / 2, y - HandleSize / 2, HandleSize, HandleSize);
}

QVector<int> FilterGraph::paintOrder() const
{
    QVector<int> order;
    order.reserve(HandleCount);
    for (int h : {HighPassHandle, LowPassHandle}) {
        if (isHandleShown(h))
            order.append(h);
    }
    for (int h = MaxBands - 1; h >= 0; --h) {
        if (isHandleShown(h))
            order.append(h);
    }
    // What the operator is looking at comes up, the drag on top of all.
    for (int front : {m_selectedBand, m_hovered, m_dragging}) {
        if (front >= 0 && order.removeOne(front))
            order.append(front);
    }
    return order;
}

QRectF FilterGraph::drawnRect(int handle) const
{
    const QRectF r = handleRect(handle);
    if (r.isEmpty() || handle == m_hovered || handle == m_dragging)
        return r;
    const QVector<int> order = paintOrder();
    for (int below : order) {
        if (below == handle)
            break;
        const QPointF d = handleRect(below).center() - r.center();
        if (std::abs(d.x()) < HandleSize && std::abs(d.y()) < HandleSize) {
            const qreal inset = (HandleSize - CoveringHandleSize) / 2.0;
            return r.adjusted(inset, inset, -inset, -inset);
        }
    }
    return r;
}

int FilterGraph::handleAt(const QPoint &pos) const
{
    const QVector<int> order = paintOrder();
    for (auto it = order.crbegin(); it != order.crend(); ++it) {
        const int h = *it;
        const QRectF r = handleRect(h);
        if (r.isEmpty())
            continue;
        const QRectF grown = r.adjusted(-HitMargin, -HitMargin, HitMargin, HitMargin);
        if (pos.x() > grown.left() && pos.x() < grown.right() && pos.y() > grown.top() && pos.y() < grown.bottom())
            return h;
    }
    return -1;
}

// Mouse.

void FilterGraph::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The topmost handle hit decides, editable or not: a locked band lying
    // over another does not hand the press on to the one below.
    const int hit = handleAt(event->pos());
    m_dragging = hit >= 0 && m_editable[size_t(hit)] ? hit : -1;
    if (m_dragging >= 0)
        update();
    event->accept();
    if (hit >= 0 && hit < MaxBands)
        Q_EMIT bandPressed(uchar(hit));
}

void FilterGraph::mouseMoveEvent(QMouseEvent *event)
{
    if ((event->buttons() & Qt::LeftButton) && m_dragging >= 0)
        dragTo(event->pos());
    else
        updateCursor(event->pos());
    event->accept();
}

void FilterGraph::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_dragging >= 0) {
        m_dragging = -1;
        update();
    }
    updateCursor(event->pos());
    event->accept();
}

void FilterGraph::leaveEvent(QEvent *event)
{
    unsetCursor();
    if (m_hovered >= 0) {
        m_hovered = -1;
        update();
    }
    QWidget::leaveEvent(event);
}

void FilterGraph::updateCursor(const QPoint &pos)
{
    const int hit = handleAt(pos);
    if (hit != m_hovered) {
        m_hovered = hit;
        update();
    }
    if (hit >= 0 && m_editable[size_t(hit)])
        setCursor(hit < MaxBands ? Qt::SizeAllCursor : Qt::SizeHorCursor);
    else
        unsetCursor();
}

void FilterGraph::dragTo(const QPoint &pos)
{
    const int h = m_dragging;
    const float freq = qBound(DragFrequencyMin, xToFrequency(pos.x()), DragFrequencyMax);
    if (h < MaxBands) {
        FilterBand &band = m_params.bands[size_t(h)];
        const int max = m_bandGainMode ? m_bandGainMax[size_t(h)] : m_dbMax;
        const int min = m_bandGainMode ? m_bandGainMin[size_t(h)] : m_dbMin;
        const float gain = qBound(float(min), yToDb(pos.y()), float(max));
        if (freq == band.freq && gain == band.gain)
            return;
        band.freq = freq;
        band.gain = gain;
        recompute();
        Q_EMIT peqChanged(uchar(h), freq, gain);
        return;
    }
    FilterSection &section = h == HighPassHandle ? m_params.highPass : m_params.lowPass;
    if (freq == section.freq)
        return;
    section.freq = freq;
    recompute();
    if (h == HighPassHandle)
        Q_EMIT HPFilterChanged(freq);
    else
        Q_EMIT LPFilterChanged(freq);
}

// Painting.

void FilterGraph::invalidateGrid()
{
    m_gridValid = false;
    update();
}

void FilterGraph::resizeEvent(QResizeEvent *event)
{
    m_gridValid = false;
    QWidget::resizeEvent(event);
}

void FilterGraph::paintGrid(QPainter &p) const
{
    const QRect plot = plotRect();
    p.fillRect(rect(), BackgroundColour);
    if (plot.width() <= 0 || plot.height() <= 0)
        return;

    const int spacing = plot.height() / m_gridRows;
    const double ppd = pixelsPerDecade();

    // Lines 1..9 inside each decade are faint, the decades and the level
    // rows full strength.
    p.setPen(QPen(MinorGridColour, 1));
    for (int decade = 1; decade < FrequencyMax; decade *= 10) {
        for (int m = 1; m < 10; ++m) {
            const int v = decade * m;
            if (v < FrequencyMin || m == 1)
                continue;
            if (v >= FrequencyMax)
                break;
            const double x = plot.left() + (std::log10(double(v)) - LogFrequencyMin) * ppd;
            p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
    }
    p.setPen(QPen(GridColour, 1));
    for (int decade = FrequencyMin; decade < FrequencyMax; decade *= 10) {
        const double x = plot.left() + (std::log10(double(decade)) - LogFrequencyMin) * ppd;
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    for (int k = 1; k < m_gridRows; ++k)
        p.drawLine(plot.left(), plot.top() + k * spacing, plot.right(), plot.top() + k * spacing);
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot.adjusted(0, 0, -1, -1));

    p.setFont(labelFont());
    p.setPen(LabelColour);
    const QFontMetrics metrics(p.font());
    // Level labels, right-aligned against the plot.
    const int step = m_dbMax / (m_gridRows / 2);
    auto levelLabel = [&](int value, int y) {
        const QString text = QString::asprintf("%ddB", value);
        p.drawText(QRect(0, y - metrics.ascent() + 1, plot.left() - 3, metrics.height()),
                   Qt::AlignRight | Qt::AlignTop, text);
    };
    levelLabel(m_dbMax, plot.top() + 7);
    for (int k = 1; k <= m_gridRows; ++k) {
        const int value = m_dbMax - k * step;
        if (value > 19)
            continue;
        levelLabel(value, qMin(k * spacing + plot.top() + 3, plot.bottom() - 1));
    }
    // Frequency labels at every decade.
    for (int v = FrequencyMin; v < FrequencyMax; v *= 10) {
        const QString text = v <= 999 ? QString::asprintf("%dHz", v) : QString::asprintf("%dKHz", v / 1000);
        const double x = plot.left() + (std::log10(double(v)) - LogFrequencyMin) * ppd - 10;
        p.drawText(QPointF(x, plot.bottom() + 13), text);
    }
}

void FilterGraph::paintHandles(QPainter &p) const
{
    QFont font = labelFont();
    font.setBold(true);
    p.setFont(font);
    QFont smallFont = font;
    smallFont.setPointSizeF(font.pointSizeF() * CoveringHandleSize / HandleSize);
    for (int h : paintOrder()) {
        const QRectF r = drawnRect(h);
        if (r.isEmpty())
            continue;
        p.setFont(r.width() < HandleSize ? smallFont : font);
        // A locked band or section is drawn faded, like its disabled controls.
        p.setOpacity(m_editable[size_t(h)] && isEnabled() ? 1.0 : 0.4);
        const bool bypassed = h < MaxBands ? m_params.bands[size_t(h)].bypass
                                           : (h == HighPassHandle ? m_params.highPass.bypass
                                                                  : m_params.lowPass.bypass);
        QColor outline = bypassed ? HandleBypassedOutlineColour : HandleOutlineColour;
        if (h == m_selectedBand || h == m_dragging)
            outline = HandleSelectedColour;
        p.setPen(QPen(outline, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        p.setBrush(h == m_dragging ? QColor(21, 148, 192, 110) : HandleFillColour);
        p.drawEllipse(r);
        QString label;
        if (h == HighPassHandle)
            label = QStringLiteral("H");
        else if (h == LowPassHandle)
            label = QStringLiteral("L");
        else
            label = QString::number(h + 1);
        p.setPen(QPen(bypassed ? HandleBypassedOutlineColour : HandleLabelColour, 1));
        p.drawText(r, Qt::AlignCenter, label);
    }
}

void FilterGraph::paintEvent(QPaintEvent *)
{
    const qreal dpr = devicePixelRatioF();
    if (!m_gridValid || m_gridCache.size() != size() * dpr) {
        // The grid and labels change only with the size and the range;
        // drawing them once keeps drags smooth.
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
    const QVector<QPointF> points = curvePoints();
    if (!points.isEmpty()) {
        // A faint fill between the curve and 0 dB makes boosts and cuts
        // readable at a glance.
        const double zeroY = qBound(double(plot.top()), dbToY(0.0), double(plot.bottom()));
        QPainterPath fill;
        fill.moveTo(points.first().x(), zeroY);
        for (const QPointF &pt : points)
            fill.lineTo(pt);
        fill.lineTo(points.last().x(), zeroY);
        fill.closeSubpath();
        p.fillPath(fill, CurveFillColour);
        p.setPen(QPen(isEnabled() ? CurveColour : CurveColour.darker(160), 2));
        p.drawPolyline(points.constData(), points.size());
    }
    p.setClipping(false);
    paintHandles(p);
    p.setOpacity(1.0);

    if (m_dragging >= 0) {
        // What the drag sets, in the units the page shows.
        const double freq = handleFrequency(m_dragging);
        QString text = QString::asprintf("%d Hz", int(freq));
        if (m_dragging < MaxBands)
            text += QString::asprintf("   %+.1f dB", double(m_params.bands[size_t(m_dragging)].gain));
        p.setFont(labelFont());
        p.setPen(ReadoutColour);
        p.drawText(plot.adjusted(0, 4, -8, 0), Qt::AlignRight | Qt::AlignTop, text);
    }
}
