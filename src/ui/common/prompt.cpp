#include "prompt.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

void Prompt::tell(QWidget *parent, Icon icon, const QString &title, const QString &text)
{
    ask(parent, icon, title, text, {QCoreApplication::translate("Prompt", "OK")});
}

QString Prompt::saveFileNameAndFilter(QWidget *parent, const QString &caption, const QString &dir,
                                      const QString &filters, QString *selectedFilter)
{
    if (selectedFilter)
        *selectedFilter = filters.section(QStringLiteral(";;"), 0, 0);
    return saveFileName(parent, caption, dir, filters);
}

Prompt *Prompt::standard()
{
    static DialogPrompt prompt;
    return &prompt;
}

int DialogPrompt::ask(QWidget *parent, Icon icon, const QString &title, const QString &text,
                      const QStringList &buttons, int defaultButton)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    switch (icon) {
    case Icon::Information: boxIcon = QMessageBox::Information; break;
    case Icon::Question: boxIcon = QMessageBox::Question; break;
    case Icon::Warning: boxIcon = QMessageBox::Warning; break;
    case Icon::Critical: boxIcon = QMessageBox::Critical; break;
    }
    QMessageBox box(boxIcon, title, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton *> added;
    for (int i = 0; i < buttons.size(); ++i) {
        const auto role = i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole;
        QPushButton *button = box.addButton(buttons.at(i), role);
        if (i == defaultButton)
            box.setDefaultButton(button);
        added << button;
    }
    if (added.size() > 1)
        box.setEscapeButton(added.at(defaultButton > 0 && defaultButton < added.size() ? defaultButton
                                                                                        : added.size() - 1));
    box.exec();
    return added.indexOf(box.clickedButton());
}

QString DialogPrompt::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString DialogPrompt::saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString DialogPrompt::existingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

QString DialogPrompt::saveFileNameAndFilter(QWidget *parent, const QString &caption, const QString &dir,
                                            const QString &filters, QString *selectedFilter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filters, selectedFilter);
}
