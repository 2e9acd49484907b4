#include <QtTest>

#include "core/settings/languagelist.h"
#include "core/settings/localconfig.h"
#include "testsupport.h"

class TestLocalSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void codeValues_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("code");
        QTest::newRow("plain") << QByteArray("code:7\r\n") << 7;
        QTest::newRow("semicolon") << QByteArray("code:7;\r\n") << 7;
        QTest::newRow("not a number") << QByteArray("code:abc\r\n") << 0;
        QTest::newRow("16-bit") << QByteArray("code:65535\n") << 65535;
    }
    void codeValues()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, code);
        ScratchDir dir(false);
        dir.write(QStringLiteral("cfg.dat"), line);
        LocalConfig config;
        QVERIFY(config.read());
        QCOMPARE(int(config.code), code);
    }

    void onlyHighDpiKey()
    {
        ScratchDir dir(false);
        dir.write(QStringLiteral("cfg.dat"), "HighDpiScaling:0\r\n");
        QCOMPARE(LocalConfig::readHighDpiScaling(), false);
        LocalConfig config;
        QVERIFY(config.read());
        QCOMPARE(config.currentLanguage, 0);
        QCOMPARE(int(config.code), 1);
    }

    void missingFileIsCreatedWithDefaults()
    {
        ScratchDir dir(false);
        QCOMPARE(LocalConfig::readHighDpiScaling(), true);
        LocalConfig config;
        QVERIFY(config.read());
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("cfg.dat"))));
        QCOMPARE(config.currentLanguage, 0);
        QCOMPARE(int(config.code), 1);
        QVERIFY(config.englishTitle.isEmpty());
    }

    void roundTripAndLineOrder()
    {
        ScratchDir dir(false);
        LocalConfig config;
        config.currentLanguage = 1;
        config.code = 300;
        config.chineseTitle = QStringLiteral("数字音频处理器");
        config.highDpiScaling = false;
        QVERIFY(config.write());
        QCOMPARE(dir.read(QStringLiteral("cfg.dat")),
                 QByteArray("current lang:1\r\ncode:300\r\nCN:") + config.chineseTitle.toUtf8()
                     + "\r\nHighDpiScaling:0\r\n");
        LocalConfig back;
        QVERIFY(back.read());
        QCOMPARE(back.currentLanguage, 1);
        QCOMPARE(int(back.code), 300);
        QCOMPARE(back.chineseTitle, config.chineseTitle);
        QVERIFY(back.englishTitle.isEmpty());
        QCOMPARE(LocalConfig::readHighDpiScaling(), false);
    }

    void laterLineWinsAndEmptyLanguageDigit()
    {
        ScratchDir dir(false);
        dir.write(QStringLiteral("cfg.dat"), "EN:first\r\nEN:second\r\ncurrent lang:\r\n");
        LocalConfig config;
        QVERIFY(config.read());
        QCOMPARE(config.englishTitle, QStringLiteral("second"));
        QVERIFY(config.currentLanguage < 0 || config.currentLanguage > 4);
    }

    void languageList_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("fonts");
        QTest::newRow("two") << QByteArray("lang:en.qm;font:Arial;\r\nlang:chinese.qm;font:SimSun;\r\n")
                             << QStringList{QStringLiteral("en.qm"), QStringLiteral("chinese.qm")}
                             << QStringList{QStringLiteral("Arial"), QStringLiteral("SimSun")};
        QTest::newRow("either order, no semicolon")
            << QByteArray("font:Arial;lang:en.qm\n") << QStringList{QStringLiteral("en.qm")}
            << QStringList{QStringLiteral("Arial")};
        QTest::newRow("line without keys counts") << QByteArray("hello\nlang:x\n")
                                                  << QStringList{QString(), QStringLiteral("x")}
                                                  << QStringList{QString(), QString()};
        QByteArray seven;
        QStringList five, fiveFonts;
        for (int i = 0; i < 7; ++i) {
            seven += "lang:l" + QByteArray::number(i) + ";\n";
            if (i < 5) {
                five << QStringLiteral("l%1").arg(i);
                fiveFonts << QString();
            }
        }
        QTest::newRow("seven lines give five") << seven << five << fiveFonts;
    }
    void languageList()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, files);
        QFETCH(QStringList, fonts);
        ScratchDir dir(false);
        dir.write(QStringLiteral("translations/language.dat"), file);
        LanguageList list;
        QVERIFY(list.read());
        QCOMPARE(list.files, files);
        QCOMPARE(list.fonts, fonts);
    }
};

QTEST_GUILESS_MAIN(TestLocalSettings)
#include "tst_localsettings.moc"
