#pragma once

#include <QPixmap>
#include <QVector>
#include <QWidget>

#include <array>

#include "core/dsp/firdesign.h"

// Designs one output's FIR coefficients from the FIR page's parameters (or
// takes ready-made ones from a file), holds them, and draws their magnitude
// response from 20 Hz to 20 kHz, +20 to -120 dB. The page reads the
// coefficients back when it sends them to the unit.
class FirGraph : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(FirGraph)

public:
    static constexpr int MaxTaps = FirDesign::MaxTaps;
    static constexpr int AxisFrequencyMin = 20;
    static constexpr int AxisFrequencyMax = 20000;
    static constexpr int DbTop = 20;
    static constexpr int DbBottom = -120;
    static constexpr int Rows = 7;

    explicit FirGraph(QWidget *parent = nullptr);
    ~FirGraph() override;

    // Each stores and designs anew. Taps above MaxTaps mean MaxTaps.
    void setTaps(int taps);
    void setFirType(int firType);
    void setLowFreq(double freq);
    void setHighFreq(double freq);
    void setWindow(int window);
    void setKaiserBeta(double beta);
    // Designs anew, except for coefficients taken by setCoefficients(): the
    // unit's rate changes how those sound, not what they are, so only their
    // response is recomputed.
    void setSampleRate(double sampleRate);
    // Stores everything and designs once.
    void setDesign(int taps, int firType, double lowFreq, double highFreq, int window, double kaiserBeta,
                   bool curveShown);
    // Repaint only: without the curve the graph shows a flat line at 0 dB.
    void setCurveShown(bool shown);

    // Takes `count` coefficients as they are (no design); reversed: c[i] is
    // tap count - 1 - i. Ignored for a count above MaxTaps, below 0, or
    // without data.
    void setCoefficients(const float *c, int count, bool reversed);

    // The first taps() coefficients, first tap first, or reversed
    // (out[taps - 1 - i] = tap i), as single precision. `out` holds taps().
    void coefficients(float *out) const;
    void coefficientsReversed(float *out) const;
    QVector<float> coefficientList() const;

    int taps() const { return m_params.taps; }
    int firType() const { return m_params.firType; }
    double lowFreq() const { return m_params.lowFreq; }
    double highFreq() const { return m_params.highFreq; }
    int window() const { return m_params.window; }
    double kaiserBeta() const { return m_params.kaiserBeta; }
    double sampleRate() const { return m_params.sampleRate; }
    bool isCurveShown() const { return m_curveShown; }
    // Whether the coefficients came from setCoefficients() rather than a design.
    bool isLoaded() const { return m_loaded; }
    const ResponseCurve &response() const { return m_response; }

    // The plot area: left, top, width and height as the drawing uses them.
    QRect plotRect() const;
    // The curve as drawn, one point per grid frequency up to the right edge.
    QVector<QPointF> curvePoints() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void redesign();
    void recomputeResponse();
    void paintGrid(QPainter &painter) const;
    double frequencyOffset(double freq) const;

    FirDesignParams m_params;
    std::array<double, MaxTaps> m_coefficients{};
    ResponseCurve m_response{};
    bool m_curveShown = false;
    bool m_loaded = false;
    QPixmap m_gridCache;
    bool m_gridValid = false;
};
