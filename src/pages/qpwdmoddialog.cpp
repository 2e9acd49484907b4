#include "qpwdmoddialog.h"

QPwdModDialog::QPwdModDialog(Link *link, QWidget *parent)
    : QDialog(parent)
    , m_link(link)
{
}

QPwdModDialog::~QPwdModDialog() = default;
