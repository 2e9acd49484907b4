#include <QProcess>
#include <QTranslator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "core/records/systemtext.h"

// Every visible text of the code must have a finished Chinese translation in
// the committed translation source; a new tr() text without one fails here.
class TestTranslations : public QObject
{
    Q_OBJECT

    static QHash<QString, QString> readMessages(const QString &path, QStringList *unfinished)
    {
        QHash<QString, QString> out;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return out;
        QXmlStreamReader xml(&file);
        QString context, source, translation;
        bool isUnfinished = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                if (xml.name() == QLatin1String("name"))
                    context = xml.readElementText();
                else if (xml.name() == QLatin1String("source"))
                    source = xml.readElementText();
                else if (xml.name() == QLatin1String("translation")) {
                    isUnfinished = xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
                    translation = xml.readElementText();
                }
            } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
                const QString key = context + QLatin1String("::") + source;
                out.insert(key, translation);
                if (unfinished && (isUnfinished || translation.isEmpty()))
                    *unfinished << key;
            }
        }
        return out;
    }

    // The compiled translation of the run folder, installed for one test.
    struct Installed
    {
        QTranslator translator;
        bool loaded;
        explicit Installed(const QString &file)
            : loaded(file.isEmpty()
                     || translator.load(qEnvironmentVariable("ORVALIX_RUN_DIR") + QLatin1String("/translations/")
                                        + file))
        {
            if (!file.isEmpty())
                QCoreApplication::installTranslator(&translator);
        }
        ~Installed() { QCoreApplication::removeTranslator(&translator); }
    };

private Q_SLOTS:
    // The source texts stay as they are (they are the keys); what a reader
    // sees comes from the language's file.
    void shownTexts_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("shown");
        const QString en = QStringLiteral("orvalix_en.qm"), zh = QStringLiteral("orvalix_chinese.qm");
        const struct
        {
            const char *context, *source, *english;
        } english[] = {
            {"mainWindow", "Cancle", "Cancel"},
            {"FilterPage", "Cancle", "Cancel"},
            {"QSetup", "Device Infomation", "Device Information"},
            {"QDevTable", "Runing Time", "Running Time"},
            {"QSigGenerator", "PinkNoise", "Pink noise"},
            {"QSigGenerator", "WhiteNoise", "White noise"},
            {"QIpSetting", "ip Settings", "IP Settings"},
            {"mainWindow", "Restore the factory settings will delete all user data!!!",
             "Restoring the factory settings deletes all user data!"},
            {"QPreset", "SHARC21489_96K (*.pst1)", "96 kHz unit preset (*.pst1)"},
            {"QPreset", "SHARC21488_48K (*.pst1)", "48 kHz unit preset (*.pst1)"},
            {"QPreset", "preset file format error!", "Preset file format error."},
            {"Prompt", "OK", "OK"},
            {"QSigGenerator", "Sine", "Sine"}, // right as it is
        };
        for (const auto &row : english)
            QTest::addRow("en %s", row.source) << en << row.context << row.source << row.english;
        QTest::newRow("zh OK") << zh << "Prompt"
                               << "OK" << QStringLiteral("确定");
        QTest::newRow("zh 96 kHz preset") << zh << "QPreset"
                                          << "SHARC21489_96K (*.pst1)" << QStringLiteral("96 kHz 设备预设 (*.pst1)");
    }
    void shownTexts()
    {
        QFETCH(QString, file);
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, shown);
        Installed language(file);
        QVERIFY(language.loaded);
        QCOMPARE(QCoreApplication::translate(qPrintable(context), qPrintable(source)), shown);
    }

    // Days take the plural form of the language.
    void runTimeInDays_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<quint32>("seconds");
        QTest::addColumn<QString>("shown");
        QTest::newRow("en 0 days") << "orvalix_en.qm" << 61u << "0 days 00:01:01";
        QTest::newRow("en 1 day") << "orvalix_en.qm" << 86400u + 3661u << "1 day 01:01:01";
        QTest::newRow("en 2 days") << "orvalix_en.qm" << 2u * 86400u + 86399u << "2 days 23:59:59";
        QTest::newRow("zh") << "orvalix_chinese.qm" << 61u << QStringLiteral("0 天 00:01:01");
        QTest::newRow("no file") << "" << 86400u << "1 day(s) 00:00:00";
    }
    void runTimeInDays()
    {
        QFETCH(QString, file);
        QFETCH(quint32, seconds);
        QFETCH(QString, shown);
        Installed language(file);
        QVERIFY(language.loaded);
        QCOMPARE(SystemText::duration(seconds), shown);
    }

    void chineseIsComplete()
    {
        QStringList unfinished;
        const QHash<QString, QString> messages = readMessages(
            QStringLiteral(ORVALIX_SOURCE_DIR "/src/ui/resources/translations/orvalix_chinese.ts"), &unfinished);
        QVERIFY(!messages.isEmpty());
        QVERIFY2(unfinished.isEmpty(), qPrintable(unfinished.join(QLatin1Char('\n'))));
    }

    void everyTextOfTheCodeIsTranslated()
    {
        const QString lupdate = QStringLiteral(ORVALIX_LUPDATE);
        if (!QFile::exists(lupdate))
            QSKIP("lupdate is not installed");
        QTemporaryDir dir;
        const QString fresh = dir.filePath(QStringLiteral("fresh.ts"));
        QProcess process;
        process.start(lupdate, {QStringLiteral("-silent"), QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                                QStringLiteral("none"), QStringLiteral(ORVALIX_SOURCE_DIR "/src"), QStringLiteral("-ts"),
                                fresh});
        QVERIFY(process.waitForFinished(120000));
        QCOMPARE(process.exitCode(), 0);
        const QHash<QString, QString> inCode = readMessages(fresh, nullptr);
        QVERIFY(inCode.size() > 10);
        QStringList noTranslation;
        const QHash<QString, QString> chinese = readMessages(
            QStringLiteral(ORVALIX_SOURCE_DIR "/src/ui/resources/translations/orvalix_chinese.ts"), nullptr);
        for (auto it = inCode.cbegin(); it != inCode.cend(); ++it) {
            if (chinese.value(it.key()).isEmpty())
                noTranslation << it.key();
        }
        noTranslation.sort();
        QVERIFY2(noTranslation.isEmpty(),
                 qPrintable(QStringLiteral("run tools/update-translations.sh and translate:\n")
                            + noTranslation.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
