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
        int defaultButton;
    };

    static constexpr int Enter = -2; // an answer: the operator presses Enter

    QList<int> answers;          // button index (or Enter) per ask(); when empty: defaultAnswer
    int defaultAnswer = 0;
    QStringList fileNames;       // returned by the file dialogs in turn; empty: ""
    QList<Asked> asked;

    using Prompt::ask;
    int ask(QWidget *, Icon icon, const QString &title, const QString &text, const QStringList &buttons,
            int defaultButton) override
    {
        asked.append({icon, title, text, buttons, defaultButton});
        const int answer = answers.isEmpty() ? defaultAnswer : answers.takeFirst();
        return answer == Enter ? defaultButton : answer;
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return nextFile(); }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return nextFile(); }
    QString existingDirectory(QWidget *, const QString &, const QString &) override { return nextFile(); }

private:
    QString nextFile() { return fileNames.isEmpty() ? QString() : fileNames.takeFirst(); }
};

