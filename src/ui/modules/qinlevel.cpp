#include "qinlevel.h"

#include <QComboBox>
#include <QLabel>

#include "core/link/frame.h"
#include "core/link/logging.h"
#include "core/protocol/protocol.h"

namespace {

namespace L = Protocol::Level;

LevelPage::Setup inputSetup()
{
    LevelPage::Setup setup;
    setup.moduleId = Frame::InLevel;
    setup.channels = QInLevel::Channels;
    setup.groups = LevelRecord::InputGroups;
    setup.lockParam = Protocol::Security::lockParam(Frame::InLevel);
    setup.backgroundName = "inLevelCtrlBgWidget";
    setup.initialGainText = "0.0";
    setup.withSource = true;
    setup.holdAllWhileBusy = true;
    setup.inputs = true;
    return setup;
}

} // namespace

QInLevel::QInLevel(Link *link, QWidget *parent)
    : LevelPage(link, inputSetup(), parent)
{
    setObjectName(QStringLiteral("inLevelWidget"));
    for (int c = 0; c < Channels; c += 2)
        connect(m_strips.at(c).sourceSelector, qOverload<int>(&QComboBox::currentIndexChanged), this,
                &QInLevel::sourceChanged);
    retranslateOthers();
    setSourceVisible(false);
}

QInLevel::~QInLevel() = default;


void QInLevel::setInLabel(uchar channel, const QString &label)
{
    setChannelLabel(channel, label);
}

void QInLevel::setSource(uchar pair, quint8 source)
{
    if (pair >= Pairs)
        return;
    if (source > Aes) {
        qCDebug(lcPages) << "input level: unknown source" << source << "for pair" << pair;
        return;
    }
    const int first = pair * 2;
    if (m_source[first] == source && m_source[first + 1] == source)
        return;
    m_source[first] = source;
    m_source[first + 1] = source;
    QComboBox *selector = m_strips.at(first).sourceSelector;
    disconnect(selector, qOverload<int>(&QComboBox::currentIndexChanged), this, &QInLevel::sourceChanged);
    selector->setCurrentIndex(source);
    connect(selector, qOverload<int>(&QComboBox::currentIndexChanged), this, &QInLevel::sourceChanged);
    setTextIfChanged(m_strips.at(first + 1).sourceText, selector->currentText());
}

quint8 QInLevel::source(uchar channel) const
{
    return channel < Channels ? m_source[channel] : 0;
}

void QInLevel::setSourceVisible(bool visible)
{
    if (m_sourceVisible == visible)
        return;
    m_sourceVisible = visible;
    for (const Strip &s : qAsConst(m_strips)) {
        s.sourceTitle->setVisible(visible);
        if (s.sourceSelector)
            s.sourceSelector->setVisible(visible);
        if (s.sourceText)
            s.sourceText->setVisible(visible);
    }
}

QComboBox *QInLevel::sourceSelector(int pair) const
{
    return pair >= 0 && pair < Pairs ? m_strips.at(pair * 2).sourceSelector : nullptr;
}

QLabel *QInLevel::sourceText(int pair) const
{
    return pair >= 0 && pair < Pairs ? m_strips.at(pair * 2 + 1).sourceText : nullptr;
}

void QInLevel::sourceChanged(int index)
{
    const int c = channelOf(sender(), &Strip::sourceSelector);
    if (c < 0 || index < 0)
        return;
    const uchar pair = uchar(c / 2);
    setSource(pair, quint8(index));
    const uchar source = uchar(index);
    sendSet(L::Source, pair, &source, 1);
}

void QInLevel::onOtherMessage(quint8 param, quint16 length, const uchar *payload)
{
    if (param == L::Source && length == Protocol::ReportSize<L::params, L::Source> * Pairs) {
        setSource(0, payload[0]);
        setSource(1, payload[1]);
    }
}

void QInLevel::pollOthers()
{
    queryAll(L::Source);
}

void QInLevel::retranslateOthers()
{
    for (int pair = 0; pair < Pairs; ++pair) {
        if (QLabel *text = sourceText(pair))
            text->setText(sourceSelector(pair)->currentText());
    }
}
