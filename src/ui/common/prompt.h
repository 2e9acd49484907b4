#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every message box and file dialog goes through this interface, so tests can
// script the operator's answers instead of blocking on a modal dialog.
class Prompt
{
public:
    enum class Icon { Information, Question, Warning, Critical };

    virtual ~Prompt() = default;

    // Shows a modal box with the given buttons (texts as shown, already
    // translated); returns the index of the button chosen, or -1 when the box
    // was closed without a choice. Enter presses `defaultButton`; the first
    // button is the only one that accepts, Escape picks one of the others.
    virtual int ask(QWidget *parent, Icon icon, const QString &title, const QString &text,
                    const QStringList &buttons, int defaultButton) = 0;
    // Enter takes the first button.
    int ask(QWidget *parent, Icon icon, const QString &title, const QString &text, const QStringList &buttons)
    {
        return ask(parent, icon, title, text, buttons, 0);
    }
    // A question whose first button erases or overwrites something (a unit's
    // settings, a preset, a page): the second button, the refusal, is the
    // default, so Enter alone never erases anything. True for the first button.
    bool confirmDestructive(QWidget *parent, Icon icon, const QString &title, const QString &text,
                            const QStringList &buttons)
    {
        return ask(parent, icon, title, text, buttons, 1) == 0;
    }

    // A box with a single "OK" (in the current language).
    void tell(QWidget *parent, Icon icon, const QString &title, const QString &text);

    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    virtual QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir) = 0;
    // A save dialog offering several kinds of file (`filters` separated by
    // ";;"); `selectedFilter` receives the one chosen. Unless overridden:
    // saveFileName() with the first kind.
    virtual QString saveFileNameAndFilter(QWidget *parent, const QString &caption, const QString &dir,
                                          const QString &filters, QString *selectedFilter);

    // The prompt used by default: real dialogs.
    static Prompt *standard();
};

class DialogPrompt final : public Prompt
{
public:
    using Prompt::ask;
    int ask(QWidget *parent, Icon icon, const QString &title, const QString &text, const QStringList &buttons,
            int defaultButton) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir) override;
    QString saveFileNameAndFilter(QWidget *parent, const QString &caption, const QString &dir,
                                  const QString &filters, QString *selectedFilter) override;
};
