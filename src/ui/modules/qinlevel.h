#pragma once

#include "core/protocol/protocoltypes.h"
#include "levelpage.h"

// Input level page (module 1): gain, mute, polarity, link groups, source and
// meters of IN A to IN D. While a fader moves, every setting reply is held
// off (see LevelPage).
class QInLevel : public LevelPage
{
    Q_OBJECT
    Q_DISABLE_COPY(QInLevel)

public:
    static constexpr int Channels = Protocol::count(Protocol::Channels::Inputs);
    static constexpr int Pairs = Protocol::count(Protocol::Channels::Pairs);
    static constexpr quint8 Analog = 0;
    static constexpr quint8 Aes = 1;

    explicit QInLevel(Link *link, QWidget *parent = nullptr);
    ~QInLevel() override;

    void setInLabel(uchar channel, const QString &label) override;

    // Input pair 0 is IN A + IN B, pair 1 IN C + IN D. No send.
    void setSource(uchar pair, quint8 source);
    // The source of the pair `channel` belongs to.
    quint8 source(uchar channel) const;
    // The input-source row exists only on the family-1 units; hidden at first.
    void setSourceVisible(bool visible);
    bool isSourceVisible() const { return m_sourceVisible; }

    QComboBox *sourceSelector(int pair) const;
    QLabel *sourceText(int pair) const;

public Q_SLOTS:
    void sourceChanged(int index);

protected:
    void onOtherMessage(quint8 param, quint16 length, const uchar *payload) override;
    void pollOthers() override;
    void retranslateOthers() override;

private:
    quint8 m_source[Channels] = {};
    bool m_sourceVisible = true;
};
