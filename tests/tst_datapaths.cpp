#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "core/settings/datapaths.h"
#include "core/settings/localconfig.h"

// The data-folder lookup: run folder first, installed copy second.
class TestDataPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void folder_data()
    {
        QTest::addColumn<bool>("inWorkingDir");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("expectInstalled");
        QTest::newRow("run folder only") << true << false << false;
        QTest::newRow("run folder wins over installed") << true << true << false;
        QTest::newRow("installed only") << false << true << true;
        QTest::newRow("neither: relative name") << false << false << false;
    }
    void folder()
    {
        QFETCH(bool, inWorkingDir);
        QFETCH(bool, installed);
        QFETCH(bool, expectInstalled);
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("work")));
        QVERIFY(dir.mkpath(QStringLiteral("prefix/bin")));
        if (inWorkingDir)
            QVERIFY(dir.mkpath(QStringLiteral("work/translations")));
        if (installed)
            QVERIFY(dir.mkpath(QStringLiteral("prefix/share/orvalix/translations")));
        // A file of the same name is not a data folder.
        if (!inWorkingDir) {
            QFile decoy(dir.filePath(QStringLiteral("work/translations")));
            QVERIFY(decoy.open(QIODevice::WriteOnly));
        }

        const QString found = DataPaths::folder(QStringLiteral("translations"), dir.filePath(QStringLiteral("work")),
                                                dir.filePath(QStringLiteral("prefix/bin")));
        if (expectInstalled)
            QCOMPARE(found, dir.filePath(QStringLiteral("prefix/share/orvalix/translations")) + QLatin1Char('/'));
        else
            QCOMPARE(found, QStringLiteral("translations/"));
    }

    void emptyAppDirUsesWorkingDirOnly()
    {
        QTemporaryDir root;
        QCOMPARE(DataPaths::folder(QStringLiteral("image"), root.path(), QString()), QStringLiteral("image/"));
    }

    void installedDirIsBesideBin()
    {
        QCOMPARE(DataPaths::installedDataDir(QStringLiteral("/usr/bin")), QStringLiteral("/usr/share/orvalix"));
        QCOMPARE(DataPaths::installedDataDir(QStringLiteral("/opt/orvalix/bin/")), QStringLiteral("/opt/orvalix/share/orvalix"));
    }

    // Which folder holds cfg.dat and device.db: a run folder keeps its own,
    // an installed program started anywhere else uses the per-user folder.
    void workingDirectory_data()
    {
        QTest::addColumn<QString>("appDirHolds");
        QTest::addColumn<QString>("workDirHolds");
        QTest::addColumn<bool>("withUserDir");
        QTest::addColumn<bool>("expectUserDir");
        QTest::newRow("build/bin run folder") << "translations/" << "" << true << false;
        QTest::newRow("started elsewhere from a run folder") << "translations/" << "cfg.dat" << true << false;
        QTest::newRow("customised run folder, installed program") << "" << "translations/" << true << false;
        QTest::newRow("installed, empty folder") << "" << "" << true << true;
        QTest::newRow("installed, folder with old files") << "" << "cfg.dat" << true << true;
        QTest::newRow("a file named translations is no run folder") << "translations" << "translations" << true << true;
        QTest::newRow("no per-user folder known") << "" << "" << false << false;
    }
    void workingDirectory()
    {
        QFETCH(QString, appDirHolds);
        QFETCH(QString, workDirHolds);
        QFETCH(bool, withUserDir);
        QFETCH(bool, expectUserDir);
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("bin")) && dir.mkpath(QStringLiteral("work")));
        makeEntry(dir.filePath(QStringLiteral("bin")), appDirHolds);
        makeEntry(dir.filePath(QStringLiteral("work")), workDirHolds);
        const QString work = dir.filePath(QStringLiteral("work"));
        const QString user = withUserDir ? dir.filePath(QStringLiteral("home/orvalix")) : QString();

        QCOMPARE(DataPaths::workingDirectory(work, dir.filePath(QStringLiteral("bin")), user), expectUserDir ? user : work);
    }

    // Two starts of an installed program from different folders read and
    // write the same cfg.dat, in a per-user folder created on the first.
    void installedStartsShareOneFolder()
    {
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("home")) && dir.mkpath(QStringLiteral("a")) && dir.mkpath(QStringLiteral("b"))
                && dir.mkpath(QStringLiteral("usr/bin")));
        const Environment home(dir.filePath(QStringLiteral("home")));
        const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QVERIFY2(userDir.startsWith(root.path()), qPrintable(userDir));
        QVERIFY(!QFileInfo::exists(userDir));

        QVERIFY(QDir::setCurrent(dir.filePath(QStringLiteral("a"))));
        QCOMPARE(DataPaths::enterWorkingDirectory(dir.filePath(QStringLiteral("usr/bin"))), userDir);
        QCOMPARE(QDir::currentPath(), userDir);
        LocalConfig written;
        written.code = 4321;
        QVERIFY(written.write());

        QVERIFY(QDir::setCurrent(dir.filePath(QStringLiteral("b"))));
        QCOMPARE(DataPaths::enterWorkingDirectory(dir.filePath(QStringLiteral("usr/bin"))), userDir);
        LocalConfig read;
        QVERIFY(read.read());
        QCOMPARE(read.code, quint16(4321));
        QVERIFY(QDir(dir.filePath(QStringLiteral("a"))).isEmpty());
        QVERIFY(QDir(dir.filePath(QStringLiteral("b"))).isEmpty());
    }

    // A run folder keeps its files where they are and creates nothing; a
    // per-user folder that cannot be made leaves the program where it was.
    void staysWhereItStarted_data()
    {
        QTest::addColumn<bool>("runFolder");
        QTest::addColumn<bool>("homeIsAFile");
        QTest::newRow("run folder") << true << false;
        QTest::newRow("per-user folder cannot be made") << false << true;
    }
    void staysWhereItStarted()
    {
        QFETCH(bool, runFolder);
        QFETCH(bool, homeIsAFile);
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("bin")) && dir.mkpath(QStringLiteral("work")));
        if (runFolder)
            QVERIFY(dir.mkpath(QStringLiteral("bin/translations")));
        if (homeIsAFile) {
            QFile file(dir.filePath(QStringLiteral("home")));
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(dir.mkpath(QStringLiteral("home")));
        }
        const Environment home(dir.filePath(QStringLiteral("home")));
        const QString work = QFileInfo(dir.filePath(QStringLiteral("work"))).canonicalFilePath();
        QVERIFY(QDir::setCurrent(work));
        if (homeIsAFile)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot use the data folder")));

        QCOMPARE(DataPaths::enterWorkingDirectory(dir.filePath(QStringLiteral("bin"))), work);
        QCOMPARE(QDir::currentPath(), work);
        QVERIFY(!QFileInfo::exists(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    }

    void executableDirIsThisProgramsFolder()
    {
        QCOMPARE(DataPaths::executableDir(nullptr), QCoreApplication::applicationDirPath());
    }

private:
    // "name/" makes a folder, "name" a file, "" nothing.
    static void makeEntry(const QString &dir, const QString &entry)
    {
        if (entry.endsWith(QLatin1Char('/')))
            QVERIFY(QDir(dir).mkpath(entry));
        else if (!entry.isEmpty())
            QVERIFY(QFile(QDir(dir).filePath(entry)).open(QIODevice::WriteOnly));
    }

    // Points HOME at a scratch folder with Qt's test locations on, so the
    // per-user folder lies inside it; restores both and the working
    // directory afterwards.
    class Environment
    {
    public:
        explicit Environment(const QString &home)
            : m_home(qgetenv("HOME"))
            , m_dir(QDir::currentPath())
        {
            qputenv("HOME", QFile::encodeName(home));
            QStandardPaths::setTestModeEnabled(true);
        }
        ~Environment()
        {
            QDir::setCurrent(m_dir);
            QStandardPaths::setTestModeEnabled(false);
            qputenv("HOME", m_home);
        }

    private:
        QByteArray m_home;
        QString m_dir;
    };
};

QTEST_GUILESS_MAIN(TestDataPaths)
#include "tst_datapaths.moc"
