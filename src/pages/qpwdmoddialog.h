#pragma once

#include <QDialog>

class Link;

// Changes the unit's login password.
class QPwdModDialog : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(QPwdModDialog)

public:
    explicit QPwdModDialog(Link *link, QWidget *parent = nullptr);
    ~QPwdModDialog() override;

private:
    Link *m_link;
};
