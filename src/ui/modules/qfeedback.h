#pragma once

#include <array>

#include "core/protocol/protocoltypes.h"
#include "ui/common/modulepage.h"

class QLabel;
class QPushButton;

// Feedback suppressor page (module 3): one "Enable" per input; the
// suppressor has no other settings here. Clicks are sent at once; the page
// polls the unit every 200 ms while shown.
class QFeedback : public ModulePage
{
    Q_OBJECT
    Q_DISABLE_COPY(QFeedback)

public:
    static constexpr int InputCount = Protocol::count(Protocol::Channels::Inputs);

    explicit QFeedback(Link *link, QWidget *parent = nullptr);
    ~QFeedback() override;

    void onMessage(quint8 param, quint8 op, quint16 length, const uchar *payload) override;
    void setInLabel(uchar channel, const QString &label) override;

    bool isSuppressorOn(int input) const { return m_enable.at(size_t(input)); }
    // Preset files: as a reply from the unit (shown, nothing sent).
    void setSuppressorOn(int input, bool on);
    QPushButton *enableButton(int input) const { return m_buttons.at(size_t(input)); }

public Q_SLOTS:
    void enableClicked(bool checked);

protected:
    void poll(quint32 tick) override;
    void applySecurityState(uchar channel, uchar state) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void setEnable(int input, bool enable);

    std::array<QWidget *, InputCount> m_strips{};
    std::array<QLabel *, InputCount> m_titles{};
    std::array<QPushButton *, InputCount> m_buttons{};
    std::array<bool, InputCount> m_enable{};
};
