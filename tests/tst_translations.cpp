#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

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

private Q_SLOTS:
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
