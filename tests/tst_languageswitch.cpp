#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QXmlStreamReader>
#include <QtTest>

#include "testsupport.h"
#include "ui/pages/funcwidget.h"
#include "ui/window/mainwindow.h"

// Choosing another language re-labels every page and dialog at once, and
// choosing English again gives back exactly the texts of the start.
namespace {

// Every text the operator can see or hear (tooltips and accessible names
// included), keyed by where it is shown.
using Texts = QMap<QString, QString>;

QString keyOf(const QObject *object, int ordinal)
{
    QStringList path;
    for (const QObject *o = object; o; o = o->parent())
        path.prepend(QString::fromLatin1(o->metaObject()->className()) + QLatin1Char('#') + o->objectName());
    return path.join(QLatin1Char('/')) + QLatin1Char('@') + QString::number(ordinal);
}

void addText(Texts &texts, const QString &key, const QString &text)
{
    if (!text.trimmed().isEmpty())
        texts.insert(key, text);
}

Texts collectTexts(QWidget *window)
{
    Texts texts;
    // Widgets with the same path are told apart by their place in the list,
    // which does not change between two snapshots.
    QHash<QString, int> ordinals;
    QList<QObject *> objects{window};
    for (QObject *o : window->findChildren<QObject *>())
        objects << o;
    for (QObject *o : qAsConst(objects)) {
        QString base = keyOf(o, 0);
        const QString key = keyOf(o, ordinals[base]++);
        if (auto *action = qobject_cast<QAction *>(o)) {
            addText(texts, key + QLatin1String(":action"), action->text());
            continue;
        }
        auto *w = qobject_cast<QWidget *>(o);
        if (!w)
            continue;
        addText(texts, key + QLatin1String(":tooltip"), w->toolTip());
        addText(texts, key + QLatin1String(":name"), w->accessibleName());
        if (w->isWindow())
            addText(texts, key + QLatin1String(":title"), w->windowTitle());
        if (auto *label = qobject_cast<QLabel *>(w))
            addText(texts, key + QLatin1String(":text"), label->text());
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            addText(texts, key + QLatin1String(":text"), button->text());
        else if (auto *box = qobject_cast<QGroupBox *>(w))
            addText(texts, key + QLatin1String(":text"), box->title());
        else if (auto *edit = qobject_cast<QLineEdit *>(w))
            addText(texts, key + QLatin1String(":placeholder"), edit->placeholderText());
        else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            for (int i = 0; i < combo->count(); ++i)
                addText(texts, key + QLatin1String(":item") + QString::number(i), combo->itemText(i));
        } else if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                addText(texts, key + QLatin1String(":tab") + QString::number(i), tabs->tabText(i));
        } else if (auto *table = qobject_cast<QTableWidget *>(w)) {
            for (int c = 0; c < table->columnCount(); ++c) {
                if (QTableWidgetItem *item = table->horizontalHeaderItem(c))
                    addText(texts, key + QLatin1String(":header") + QString::number(c), item->text());
            }
        }
    }
    return texts;
}

// The translatable English texts that Chinese renders differently, as
// patterns ("%1" stands for anything).
QVector<QRegularExpression> translatedPatterns()
{
    QVector<QRegularExpression> out;
    QFile file(QStringLiteral(ORVALIX_SOURCE_DIR "/src/ui/resources/translations/orvalix_chinese.ts"));
    if (!file.open(QIODevice::ReadOnly))
        return out;
    QXmlStreamReader xml(&file);
    QString source;
    QSet<QString> seen;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString translation = xml.readElementText();
            if (translation.isEmpty() || translation == source || seen.contains(source))
                continue;
            seen.insert(source);
            // Texts made only of arguments and symbols say nothing here.
            if (!source.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}"))))
                continue;
            QString pattern = QRegularExpression::escape(source);
            pattern.replace(QRegularExpression(QStringLiteral("%\\d")), QStringLiteral(".*"));
            out << QRegularExpression(QLatin1Char('^') + pattern + QLatin1Char('$'));
        }
    }
    return out;
}

bool isTranslatable(const QString &text, const QVector<QRegularExpression> &patterns)
{
    for (const QRegularExpression &pattern : patterns) {
        if (pattern.match(text).hasMatch())
            return true;
    }
    return false;
}

// The application posts the change to every window, which passes it down.
void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

} // namespace

class TestLanguageSwitch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPageFollowsTheLanguage_data()
    {
        QTest::addColumn<bool>("family1");
        QTest::newRow("48 kHz pages") << false;
        QTest::newRow("96 kHz pages") << true;
    }
    void everyPageFollowsTheLanguage()
    {
        QFETCH(bool, family1);
        const QVector<QRegularExpression> patterns = translatedPatterns();
        QVERIFY(patterns.size() > 100);

        ScratchDir dir;
        ScriptedPrompt prompt;
        AppOptions options;
        options.discoveryPort = 0;
        options.commandAddress = uniqueLoopback().toString();
        mainWindow w(options, &prompt,
                     new QSettings(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat, this));
        w.funcWidget()->setFamily(family1);
        w.show();
        settle();
        const Texts english = collectTexts(&w);

        auto *chineseAction = w.findChild<QAction *>(QStringLiteral("language2"));
        QVERIFY(chineseAction);
        chineseAction->trigger();
        settle();
        const Texts chinese = collectTexts(&w);

        QStringList stale;
        for (auto it = english.cbegin(); it != english.cend(); ++it) {
            if (chinese.value(it.key()) == it.value() && isTranslatable(it.value(), patterns))
                stale << QStringLiteral("still English: \"%1\" at %2").arg(it.value(), it.key());
        }

        w.findChild<QAction *>(QStringLiteral("language1"))->trigger();
        settle();
        const Texts back = collectTexts(&w);
        for (auto it = english.cbegin(); it != english.cend(); ++it) {
            if (back.value(it.key()) != it.value())
                stale << QStringLiteral("not restored: \"%1\" became \"%2\" at %3")
                             .arg(it.value(), back.value(it.key()), it.key());
        }
        for (const QString &line : qAsConst(stale))
            qInfo().noquote() << line;
        QVERIFY2(stale.isEmpty(), qPrintable(QString::number(stale.size()) + QLatin1String(" texts, listed above")));
    }
};

QTEST_MAIN(TestLanguageSwitch)
#include "tst_languageswitch.moc"
