#pragma once

#include "core/protocol/protocoltypes.h"
#include "limiterpage.h"

// Input compressor/limiter page (module 5): IN A to IN D.
class QInLimiter : public LimiterPage
{
    Q_OBJECT
    Q_DISABLE_COPY(QInLimiter)

public:
    static constexpr int Channels = Protocol::count(Protocol::Channels::Inputs);

    explicit QInLimiter(Link *link, QWidget *parent = nullptr);
    ~QInLimiter() override;

    void setInLabel(uchar channel, const QString &label) override;

Q_SIGNALS:
    // Output channels (bit i = output i) and the record, for the output page.
    void sigOutCopy(uchar select, char *args);

protected:
    void emitCopy(uchar mask, char *record) override;
};
