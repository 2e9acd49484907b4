#pragma once

#include <QPixmap>
#include <QRectF>
#include <QWidget>

#include <array>

#include "core/dsp/filterresponse.h"

// The magnitude response of one channel's filter chain (high-pass, low-pass,
// up to sixteen bands) over a logarithmic frequency axis, with a round handle
// per band and section that the operator drags to change frequency (and, for
// bands, gain). It knows nothing of the link: the owning page feeds it values
// and listens to its signals. The filter pages use it with a +20/-20 dB range;
// the dynamic-EQ page with its own ranges and per-band gain limits.
class FilterGraph : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(FilterGraph)

public:
    static constexpr int MaxBands = FilterMaxBands;
    // Handle indices: bands 0..15, then the two sections.
    static constexpr int HighPassHandle = MaxBands;
    static constexpr int LowPassHandle = MaxBands + 1;
    static constexpr int HandleCount = MaxBands + 2;

    static constexpr int FrequencyMin = 10;    // left edge of the axis, Hz
    static constexpr int FrequencyMax = 24000; // right edge of the axis, Hz
    static constexpr float DragFrequencyMin = 20.0f;
    static constexpr float DragFrequencyMax = 20000.0f;
    static constexpr int HandleSize = 16;
    // A handle lying over another one is drawn this small, so the one
    // below still shows around it.
    static constexpr int CoveringHandleSize = 10;
    // Presses this far outside a handle still catch it.
    static constexpr int HitMargin = 5;

    explicit FilterGraph(QWidget *parent = nullptr);
    ~FilterGraph() override;

    // Each of these stores, recomputes the curve and repaints.
    void setHighPass(bool bypass, int type, int slope, float freq);
    void setLowPass(bool bypass, int type, int slope, float freq);
    // Band types 0 peaking, 1 low shelf, 2 high shelf; other codes (the
    // all-pass bands) are kept but add nothing to the magnitude curve.
    void setBand(uchar band, bool bypass, uchar type, float freq, float gain, float q);
    // Above 16 means 16.
    void setBandCount(uchar count);

    // Repaint only. Ranges with max <= min and fewer than two rows are ignored.
    void setDbRange(int max, int min);
    void setGridRows(int rows);

    // Mode false: a band dragged vertically stops at the display range;
    // true: at its own gain range.
    void setBandGainMode(bool ownRange);
    void setBandGainRange(uchar band, int min, int max);

    // Lock states: a section or band that is not editable cannot be dragged;
    // one that is not shown loses its handle and its share of the curve.
    void setHighPassEditable(bool editable);
    void setHighPassShown(bool shown);
    void setLowPassEditable(bool editable);
    void setLowPassShown(bool shown);
    void setBandEditable(uchar band, bool editable);
    void setBandShown(uchar band, bool shown);

    // The band whose handle is drawn highlighted (-1: none).
    void setSelectedBand(int band);

    const FilterChannelParams &params() const { return m_params; }
    const ResponseCurve &response() const { return m_response; }
    int dbMax() const { return m_dbMax; }
    int dbMin() const { return m_dbMin; }
    int gridRows() const { return m_gridRows; }
    bool bandGainMode() const { return m_bandGainMode; }
    bool isHighPassEditable() const { return m_editable[HighPassHandle]; }
    bool isLowPassEditable() const { return m_editable[LowPassHandle]; }
    bool isBandEditable(uchar band) const { return band < MaxBands && m_editable[band]; }
    int selectedBand() const { return m_selectedBand; }
    // The handle being dragged, or -1.
    int draggingHandle() const { return m_dragging; }

    // The plot area in widget pixels, edges included.
    QRect plotRect() const;
    // Where a handle is caught; empty when it is not drawn.
    QRectF handleRect(int handle) const;
    // Where it is drawn: smaller than handleRect when it covers a handle
    // drawn before it, unless it is the one in front.
    QRectF drawnRect(int handle) const;
    // The shown handles, bottom first: the sections, the bands from the
    // last to the first, then the selected band, the one under the pointer
    // and the one being dragged. Presses catch the topmost.
    QVector<int> paintOrder() const;
    // The handle under the pointer, or -1.
    int hoveredHandle() const { return m_hovered; }
    // The x of a frequency and the y of a level on the plot.
    double frequencyToX(double freq) const;
    double dbToY(double db) const;
    // The inverse mappings a drag uses (not limited).
    float xToFrequency(double x) const;
    float yToDb(double y) const;
    // The curve as drawn: one point per grid frequency inside the axis.
    QVector<QPointF> curvePoints() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void peqChanged(uchar band, float freq, float gain);
    void HPFilterChanged(float freq);
    void LPFilterChanged(float freq);
    // A press on a band's handle, editable or not: the page makes it the
    // band its controls show.
    void bandPressed(uchar band);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void recompute();
    bool isHandleShown(int handle) const;
    double handleValue(int handle) const;
    double handleFrequency(int handle) const;
    int handleAt(const QPoint &pos) const;
    void dragTo(const QPoint &pos);
    void updateCursor(const QPoint &pos);
    void invalidateGrid();
    void paintGrid(QPainter &painter) const;
    void paintHandles(QPainter &painter) const;
    double pixelsPerDecade() const;

    FilterChannelParams m_params;
    ResponseCurve m_response{};
    std::array<bool, HandleCount> m_editable;
    std::array<int, MaxBands> m_bandGainMax;
    std::array<int, MaxBands> m_bandGainMin;
    int m_dbMax = 24;
    int m_dbMin = -24;
    int m_gridRows = 8;
    bool m_bandGainMode = false;
    int m_selectedBand = -1;
    int m_dragging = -1;
    int m_hovered = -1;
    QPixmap m_gridCache;
    bool m_gridValid = false;
};
