#include "qlockpwdmoddialog.h"

QlockPwdModDialog::QlockPwdModDialog(Link *link, QWidget *parent)
    : QDialog(parent)
    , m_link(link)
{
}

QlockPwdModDialog::~QlockPwdModDialog() = default;
