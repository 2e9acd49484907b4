#include "funcwidget.h"

FuncWidget::FuncWidget(Link *link, Prompt *prompt, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
    , m_prompt(prompt)
{
    setObjectName(QStringLiteral("funcWidget"));
}

FuncWidget::~FuncWidget() = default;

void FuncWidget::onModuleMessage(quint8, quint8, quint8, quint16, const uchar *) {}
void FuncWidget::onSystemModuleMessage(quint8, quint8, quint8, quint16, const uchar *) {}
void FuncWidget::loginAccepted() {}
void FuncWidget::loginStateChanged(bool) {}
void FuncWidget::linkLost() {}
void FuncWidget::cailAccess() {}
void FuncWidget::armVerChanged(firmware *) {}
void FuncWidget::setInLabel(uchar, QString) {}
void FuncWidget::setOutLabel(uchar, QString) {}
void FuncWidget::setInMute(uchar, bool) {}
void FuncWidget::setOutMute(uchar, bool) {}
void FuncWidget::savePreset2PC(uchar, QString) {}
void FuncWidget::importPresetFromPC(uchar, QByteArray) {}
void FuncWidget::languageLoad() {}
void FuncWidget::setCurrentIndex(int) {}
