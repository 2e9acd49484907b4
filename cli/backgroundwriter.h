#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// Writes files on threads of its own, each through a temporary file that is
// flushed to disk and renamed into place. A command goes on talking to the
// unit meanwhile, instead of leaving the link idle while the disk flushes;
// and flushes made side by side share the file system's journal commits.
// Files are taken in the order given, so one given last is written after
// the others have started, not necessarily after they are done.
class BackgroundWriter
{
public:
    BackgroundWriter();
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter &) = delete;
    BackgroundWriter &operator=(const BackgroundWriter &) = delete;

    void write(const QString &path, const QByteArray &bytes);
    // Waits until every file is written; a message per file that was not.
    QStringList finish();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::pair<QString, QByteArray>> m_queue;
    bool m_closing = false;
    QStringList m_errors;
    std::vector<std::thread> m_threads;
};
