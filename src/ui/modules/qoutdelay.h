#pragma once

#include "core/protocol/protocoltypes.h"
#include "delaypage.h"

// Output delay page (module 12). Family-1 units delay every output by up to
// 2000 ms in 0.01 ms steps; the others have the reduced range: 218 ms on
// outputs 1 to 4, 148 ms on outputs 5 to 8, in 0.02 ms steps.
class QOutDelay : public DelayPage
{
    Q_OBJECT
    Q_DISABLE_COPY(QOutDelay)

public:
    static constexpr int OutputCount = Protocol::count(Protocol::Channels::Outputs);

    explicit QOutDelay(Link *link, QWidget *parent = nullptr);
    ~QOutDelay() override;

    void setOutLabel(uchar channel, const QString &label) override;

    // Called by the function pages on every ARM version report. Changes the
    // controls' ranges only: the stored delays stay and nothing is sent.
    void setReducedRange(bool reduced);
    bool isReducedRange() const { return m_reducedRange; }

protected:
    QString defaultTitle(int channel) const override;
    double acceptedValue(double ms) const override;

private:
    bool m_reducedRange = false;
};
