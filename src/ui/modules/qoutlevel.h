#pragma once

#include "core/protocol/protocoltypes.h"
#include "levelpage.h"

// Output level page (module 9): gain, mute, polarity, link groups and meters
// of OUT 1 to OUT 8. While a fader moves only gain replies are held off.
class QOutLevel : public LevelPage
{
    Q_OBJECT
    Q_DISABLE_COPY(QOutLevel)

public:
    static constexpr int Channels = Protocol::count(Protocol::Channels::Outputs);

    explicit QOutLevel(Link *link, QWidget *parent = nullptr);
    ~QOutLevel() override;

    void setOutLabel(uchar channel, const QString &label) override;
};
