#include "backgroundwriter.h"

#include "statefiles.h"

namespace {
constexpr int Threads = 4;
}

BackgroundWriter::BackgroundWriter()
{
    for (int i = 0; i < Threads; ++i)
        m_threads.emplace_back(&BackgroundWriter::run, this);
}

BackgroundWriter::~BackgroundWriter()
{
    finish();
}

void BackgroundWriter::write(const QString &path, const QByteArray &bytes)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_queue.emplace_back(path, bytes);
    }
    m_wake.notify_one();
}

QStringList BackgroundWriter::finish()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closing = true;
    }
    m_wake.notify_all();
    for (std::thread &t : m_threads) {
        if (t.joinable())
            t.join();
    }
    return m_errors;
}

void BackgroundWriter::run()
{
    for (;;) {
        std::pair<QString, QByteArray> job;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_closing || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            job = std::move(m_queue.front());
            m_queue.pop_front();
        }
        QString error;
        if (!StateFiles::writeFile(job.first, job.second, &error)) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_errors.append(error);
        }
    }
}
