#include "console.h"

#include <QStringList>

#include <unistd.h>

Console::Console(std::FILE *out, std::FILE *err, std::FILE *in)
    : m_out(out)
    , m_err(err)
    , m_in(in)
{
}

void Console::print(const QString &line)
{
    write(line.toUtf8() + '\n');
}

void Console::write(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
    std::fflush(m_out);
}

void Console::error(const QString &text)
{
    const QByteArray line = QByteArrayLiteral("orvalix-cli: ") + text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), m_err);
    std::fflush(m_err);
}

void Console::warning(const QString &text)
{
    error(QStringLiteral("warning: ") + text);
}

void Console::note(const QString &text)
{
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), m_err);
    std::fflush(m_err);
}

bool Console::inputIsTerminal() const
{
    return ::isatty(fileno(m_in)) == 1;
}

bool Console::errorIsTerminal() const
{
    return ::isatty(fileno(m_err)) == 1;
}

Console::Answer Console::ask(const QString &question)
{
    if (!inputIsTerminal())
        return Answer::NoTerminal;
    const QByteArray prompt = question.toUtf8() + " [y/N] ";
    std::fwrite(prompt.constData(), 1, size_t(prompt.size()), m_err);
    std::fflush(m_err);
    char buffer[64] = {};
    if (!std::fgets(buffer, sizeof buffer, m_in))
        return Answer::No;
    const QString answer = QString::fromLocal8Bit(buffer).trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes") ? Answer::Yes : Answer::No;
}

TerminalProgress::TerminalProgress(Console &console)
    : m_console(console)
    , m_enabled(console.errorIsTerminal())
{
}

TerminalProgress::~TerminalProgress()
{
    finish();
}

void TerminalProgress::start(int maximum, const QString &label)
{
    m_maximum = maximum;
    m_label = label;
    m_lastPercent = -1;
    draw(0);
}

int TerminalProgress::step(int value)
{
    draw(value);
    return 0;
}

void TerminalProgress::finish()
{
    if (m_drawn)
        std::fputs("\n", m_console.errorStream());
    m_drawn = false;
}

void TerminalProgress::draw(int value)
{
    if (!m_enabled)
        return;
    constexpr int Width = 40;
    const int percent = m_maximum > 0 ? int(qBound(0LL, 100LL * value / m_maximum, 100LL)) : 100;
    if (percent == m_lastPercent)
        return;
    m_lastPercent = percent;
    const int filled = percent * Width / 100;
    const QByteArray line = "\r" + m_label.toUtf8() + " [" + QByteArray(filled, '#')
        + QByteArray(Width - filled, ' ') + "] " + QByteArray::number(percent) + "%";
    std::fwrite(line.constData(), 1, size_t(line.size()), m_console.errorStream());
    std::fflush(m_console.errorStream());
    m_drawn = true;
}
