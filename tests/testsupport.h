#pragma once

// Shared helpers for the test executables: a scripted prompt, and (from
// coresupport.h) a scratch working directory, loopback addresses of their own
// for each test, and waiting on the event loop.

#include <QList>
#include <QStringList>

#include "coresupport.h"
#include "ui/common/prompt.h"

// Answers message boxes and file dialogs from a script, and records them.
class ScriptedPrompt : public Prompt
{
public:
    struct Asked
    {
        Icon icon;
        QString title;
        QString text;
        QStringList buttons;
    };

    QList<int> answers;          // button index per ask(); when empty: defaultAnswer
    int defaultAnswer = 0;
    QStringList fileNames;       // returned by the file dialogs in turn; empty: ""
    QList<Asked> asked;

    int ask(QWidget *, Icon icon, const QString &title, const QString &text, const QStringList &buttons) override
    {
        asked.append({icon, title, text, buttons});
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return nextFile(); }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return nextFile(); }
    QString existingDirectory(QWidget *, const QString &, const QString &) override { return nextFile(); }

private:
    QString nextFile() { return fileNames.isEmpty() ? QString() : fileNames.takeFirst(); }
};

