#pragma once

// Test helpers that need nothing but the core library: a scratch working
// directory, loopback addresses of their own for each test, and waiting on
// the event loop.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

// Makes a fresh temporary directory the working directory, with the run
// folder's translations and images copied in, and restores the old one after.
class ScratchDir
{
public:
    explicit ScratchDir(bool withRunFiles = true)
        : m_previous(QDir::currentPath())
    {
        QDir::setCurrent(m_dir.path());
        if (withRunFiles)
            copyRunFiles();
    }
    ~ScratchDir() { QDir::setCurrent(m_previous); }

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    void write(const QString &name, const QByteArray &bytes)
    {
        QDir(m_dir.path()).mkpath(QFileInfo(filePath(name)).path());
        QFile file(filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray read(const QString &name) const
    {
        QFile file(filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    void copyRunFiles()
    {
        const QString runDir = qEnvironmentVariable("ORVALIX_RUN_DIR");
        if (runDir.isEmpty())
            return;
        for (const QString &sub : {QStringLiteral("translations"), QStringLiteral("image")}) {
            QDir source(runDir + QLatin1Char('/') + sub);
            QDir(m_dir.path()).mkpath(sub);
            for (const QString &name : source.entryList(QDir::Files))
                QFile::copy(source.filePath(name), m_dir.filePath(sub + QLatin1Char('/') + name));
        }
    }

    QTemporaryDir m_dir;
    QString m_previous;
};

// A loopback address for this test process alone, so tests can run side by
// side with ctest -j: 127.<a>.<b>.<n> from the process id and a counter.
inline QHostAddress uniqueLoopback()
{
    static int counter = 0;
    const quint32 pid = quint32(QCoreApplication::applicationPid());
    const quint32 a = 1 + (pid >> 8) % 250;
    const quint32 b = pid & 0xFF;
    const quint32 n = 2 + quint32(counter++ % 250);
    return QHostAddress((127u << 24) | (a << 16) | (b << 8) | n);
}

// Spins the event loop until `condition` holds or `timeoutMs` passes.
inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qWait(1);
    }
    return true;
}
