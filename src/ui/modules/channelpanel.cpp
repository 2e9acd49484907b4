#include "channelpanel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace PageParts {

QFrame *newPanel(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("panel"));
    return frame;
}

QLabel *newTitle(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QStringLiteral("titleLabel"));
    return label;
}

void keepSpaceWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace PageParts

ChannelPanel::ChannelPanel(const QStringList &channelNames, const MiddleBuilder &middle, QWidget *parent)
    : QFrame(parent)
{
    // The style sheet dresses every grouping frame of a page by this name.
    setObjectName(QStringLiteral("panel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    m_title = PageParts::newTitle(this);
    layout->addWidget(m_title);

    auto *grid = new QGridLayout;
    grid->setSpacing(6);
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);
    for (int c = 0; c < channelNames.size(); ++c) {
        auto *button = new QPushButton(channelNames.at(c), this);
        button->setObjectName(QStringLiteral("normalButton"));
        button->setCheckable(true);
        button->setFixedSize(110, 35);
        m_group->addButton(button, c);
        grid->addWidget(button, c / 2, c % 2);
        m_buttons.push_back(button);
    }
    if (!m_buttons.empty())
        m_buttons.front()->setChecked(true);
    layout->addLayout(grid);

    if (QWidget *controls = middle ? middle(this) : nullptr) {
        layout->addSpacing(10);
        layout->addWidget(controls);
    }
    layout->addStretch(1);

    // A locked channel hides the actions; the row keeps its height so the
    // column does not jump while the operator steps through the channels.
    auto *actions = new QHBoxLayout;
    actions->setSpacing(6);
    m_copy = new QPushButton(this);
    m_clear = new QPushButton(this);
    for (QPushButton *button : {m_copy, m_clear}) {
        button->setFixedHeight(30);
        PageParts::keepSpaceWhenHidden(button);
        actions->addWidget(button);
    }
    layout->addLayout(actions);
}

ChannelPanel::~ChannelPanel() = default;

QPushButton *ChannelPanel::channelButton(int channel) const
{
    return channel >= 0 && channel < channelCount() ? m_buttons[size_t(channel)] : nullptr;
}
