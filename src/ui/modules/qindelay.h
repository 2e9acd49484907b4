#pragma once

#include "core/protocol/protocoltypes.h"
#include "delaypage.h"

// Input delay page (module 6): 0 to 1000 ms per input in 0.01 ms steps.
// Only units of family 1 have input delays; the function pages insert the
// page for them.
class QInDelay : public DelayPage
{
    Q_OBJECT
    Q_DISABLE_COPY(QInDelay)

public:
    static constexpr int InputCount = Protocol::count(Protocol::Channels::Inputs);

    explicit QInDelay(Link *link, QWidget *parent = nullptr);
    ~QInDelay() override;

    void setInLabel(uchar channel, const QString &label) override;

protected:
    QString defaultTitle(int channel) const override;
};
