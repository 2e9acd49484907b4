#pragma once

#include <QDialog>

class Link;

// Changes the password of the unit's security page.
class QlockPwdModDialog : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(QlockPwdModDialog)

public:
    explicit QlockPwdModDialog(Link *link, QWidget *parent = nullptr);
    ~QlockPwdModDialog() override;

private:
    Link *m_link;
};
