#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

#include "core/firmware/progresssteps.h"

// Standard output for results, standard error for messages, standard input
// for questions. Streams are injectable so a program can run the tool
// in-process with its own files.
class Console
{
public:
    explicit Console(std::FILE *out = stdout, std::FILE *err = stderr, std::FILE *in = stdin);

    // A result line (UTF-8, newline added).
    void print(const QString &line);
    void write(const QByteArray &bytes);
    // "orvalix-cli: <text>" on standard error.
    void error(const QString &text);
    void warning(const QString &text);
    void note(const QString &text);

    bool inputIsTerminal() const;
    bool errorIsTerminal() const;

    enum class Answer { Yes, No, NoTerminal };
    // Asks on standard error and reads one line from standard input; only
    // "y" or "yes" (any case) counts as yes. Without a terminal on standard
    // input nothing is read: a script that forgot --yes must not hang or
    // answer by accident.
    Answer ask(const QString &question);

    std::FILE *errorStream() const { return m_err; }

private:
    std::FILE *m_out;
    std::FILE *m_err;
    std::FILE *m_in;
};

// A one-line progress bar on standard error, drawn only when standard error
// is a terminal; elsewhere (pipes, logs, cron) it stays quiet.
class TerminalProgress final : public ProgressSteps
{
public:
    explicit TerminalProgress(Console &console);
    ~TerminalProgress() override;

    bool isShown() const { return m_enabled; }

    void start(int maximum, const QString &label) override;
    int step(int value) override;
    void finish() override;
    bool wasCancelled() const override { return false; }

private:
    void draw(int value);

    Console &m_console;
    bool m_enabled;
    bool m_drawn = false;
    int m_maximum = 0;
    int m_lastPercent = -1;
    QString m_label;
};
