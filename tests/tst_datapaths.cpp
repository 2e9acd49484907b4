#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "core/settings/datapaths.h"

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
};

QTEST_GUILESS_MAIN(TestDataPaths)
#include "tst_datapaths.moc"
