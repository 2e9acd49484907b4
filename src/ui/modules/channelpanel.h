#pragma once

#include <QFrame>
#include <QStringList>

#include <functional>
#include <vector>

class QButtonGroup;
class QLabel;
class QPushButton;

// The parts the editing pages group their controls with.
namespace PageParts {
// A dark grouping frame ("panel" in the style sheet).
QFrame *newPanel(QWidget *parent);
// A panel's heading ("titleLabel" in the style sheet).
QLabel *newTitle(QWidget *parent);
// Keeps the widget's room in its layout while it is hidden, so a page does
// not jump when a locked channel hides its editors.
void keepSpaceWhenHidden(QWidget *widget);
} // namespace PageParts

// The channel column the filter, dynamic-EQ and FIR pages share: a title,
// the channel buttons two to a row in an exclusive group (the first one
// checked), room for the page's own controls of the selected channel, and
// "Copy to" with a clear button at the bottom. The page sets every text and
// accessible name, so that they translate in the page's own context, and
// connects the group and the buttons to its slots.
class ChannelPanel : public QFrame
{
    Q_OBJECT
    Q_DISABLE_COPY(ChannelPanel)

public:
    // Builds the controls that sit between the channel buttons and the
    // action row; nullptr for none. It runs after the channel buttons and
    // before the action buttons exist, so that the tab chain follows the
    // column from top to bottom.
    using MiddleBuilder = std::function<QWidget *(ChannelPanel *panel)>;

    ChannelPanel(const QStringList &channelNames, const MiddleBuilder &middle, QWidget *parent);
    ~ChannelPanel() override;

    QLabel *title() const { return m_title; }
    QButtonGroup *group() const { return m_group; }
    int channelCount() const { return int(m_buttons.size()); }
    // nullptr out of range.
    QPushButton *channelButton(int channel) const;
    QPushButton *copyButton() const { return m_copy; }
    // "Reset" or "Clear", as the page calls it.
    QPushButton *clearButton() const { return m_clear; }

private:
    QLabel *m_title = nullptr;
    QButtonGroup *m_group = nullptr;
    std::vector<QPushButton *> m_buttons;
    QPushButton *m_copy = nullptr;
    QPushButton *m_clear = nullptr;
};
