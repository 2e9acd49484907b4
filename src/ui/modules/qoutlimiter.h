#pragma once

#include "core/protocol/protocoltypes.h"
#include "limiterpage.h"

// Output compressor/limiter page (module 11): OUT 1 to OUT 8.
class QOutLimiter : public LimiterPage
{
    Q_OBJECT
    Q_DISABLE_COPY(QOutLimiter)

public:
    static constexpr int Channels = Protocol::count(Protocol::Channels::Outputs);

    explicit QOutLimiter(Link *link, QWidget *parent = nullptr);
    ~QOutLimiter() override;

    void setOutLabel(uchar channel, const QString &label) override;

Q_SIGNALS:
    // Input channels (bit i = input i) and the record, for the input page.
    void sigInCopy(uchar select, char *args);

protected:
    void emitCopy(uchar mask, char *record) override;
};
