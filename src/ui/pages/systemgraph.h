#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

#include <array>

#include "core/dsp/systemresponse.h"

// The curves of the system response over a logarithmic frequency axis: one
// per output and one for their sum, as magnitude (with the dynamic EQ's
// reach shaded), phase or group delay, and a cursor the operator moves with
// the mouse or the arrow keys. It draws what it is given; SystemPage
// computes.
class SystemGraph : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(SystemGraph)

public:
    enum Mode { Magnitude = 0, Phase = 1, GroupDelay = 2 };
    static constexpr int Curves = SystemResponse::Outputs + 1; // the outputs, then the sum
    static constexpr int SumCurve = SystemResponse::Outputs;
    static constexpr int FrequencyMin = 10;
    static constexpr int FrequencyMax = 24000;

    explicit SystemGraph(QWidget *parent = nullptr);
    ~SystemGraph() override;

    void setMode(Mode mode);
    Mode mode() const { return m_mode; }

    void setCurve(int index, const SystemResponse::Curves &curves);
    void setCurveVisible(int index, bool visible);
    bool isCurveVisible(int index) const { return m_visible[size_t(index)]; }
    const SystemResponse::Curves &curve(int index) const { return m_curves[size_t(index)]; }
    static QColor colour(int index);

    // A remark drawn in the plot's lower left corner.
    void setNote(const QString &note);
    QString note() const { return m_note; }

    // The grid index under the cursor (0..ResponseGridSize-1).
    void setCursorIndex(int index);
    int cursorIndex() const { return m_cursor; }

    // The plotted range of the current mode.
    double valueMin() const;
    double valueMax() const;
    QRect plotRect() const;
    double frequencyToX(double freq) const;
    double valueToY(double value) const;
    // The points of a curve as drawn in the current mode (none when hidden
    // or silent).
    QVector<QPointF> curvePoints(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void cursorMoved(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    const ResponseCurve &values(int index) const;
    void paintGrid(QPainter &painter) const;
    void moveCursorToX(int x);
    void updateGroupDelayRange();

    Mode m_mode = Magnitude;
    std::array<SystemResponse::Curves, Curves> m_curves;
    std::array<bool, Curves> m_visible{};
    QString m_note;
    int m_cursor = 239; // 1 kHz
    double m_delayMax = 10.0;
    QPixmap m_gridCache;
    bool m_gridValid = false;
};
