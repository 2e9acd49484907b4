#include "qoutlevel.h"

#include "core/link/frame.h"
#include "core/protocol/protocol.h"

namespace {

LevelPage::Setup outputSetup()
{
    LevelPage::Setup setup;
    setup.moduleId = Frame::OutLevel;
    setup.channels = QOutLevel::Channels;
    setup.groups = LevelRecord::OutputGroups;
    setup.lockParam = Protocol::Security::lockParam(Frame::OutLevel);
    setup.backgroundName = "outLevelCtrlBgWidget";
    setup.initialGainText = "-70.0";
    setup.withSource = false;
    // The output page lets mute, invert and group replies through while a
    // fader moves; only the gain is held.
    setup.holdAllWhileBusy = false;
    setup.inputs = false;
    return setup;
}

} // namespace

QOutLevel::QOutLevel(Link *link, QWidget *parent)
    : LevelPage(link, outputSetup(), parent)
{
    // The function pages know this page by this name.
    setObjectName(QStringLiteral("Out Level"));
}

QOutLevel::~QOutLevel() = default;


void QOutLevel::setOutLabel(uchar channel, const QString &label)
{
    setChannelLabel(channel, label);
}
