#include <QApplication>
#include <QFile>
#include <QGlyphRun>
#include <QLabel>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QXmlStreamReader>
#include <QtTest>

#include "ui/resources/resources.h"

// Chinese texts render as glyphs, not as boxes, with the fonts this machine
// has: the style sheet asks for "Arial", so every Han character comes from
// fontconfig's fallback, which a fresh Debian machine only has once a CJK
// font package is installed (scripts/setup.sh; the .deb recommends one).
namespace {

// Every character of every Chinese translation, once.
QVector<uint> chineseCharacters()
{
    QFile file(QStringLiteral(ORVALIX_SOURCE_DIR "/src/ui/resources/translations/orvalix_chinese.ts"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QVector<uint> out;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("translation"))
            continue;
        for (uint c : xml.readElementText(QXmlStreamReader::IncludeChildElements).toUcs4()) {
            if (c >= 0x2E80 && !out.contains(c)) // CJK radicals onwards
                out.append(c);
        }
    }
    return out;
}

// Glyph 0 is the replacement box; fallback fonts count, as on screen.
bool drawnAsBox(const QFont &font, uint character, QString *family)
{
    QTextLayout layout(QString::fromUcs4(&character, 1), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    for (const QGlyphRun &run : runs) {
        *family = run.rawFont().familyName();
        if (run.glyphIndexes().contains(0))
            return true;
    }
    return runs.isEmpty();
}

QImage render(const QFont &font, const QString &text)
{
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

} // namespace

class TestCjkFont : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Resources::init();
        Resources::applyStyleSheet(qApp);
    }

    // The font a label of the running program gets, for every Han character
    // the Chinese translation uses.
    void everyChineseCharacterHasAGlyph()
    {
        const QVector<uint> characters = chineseCharacters();
        QVERIFY2(characters.size() > 100, "the Chinese translation was not read");
        QLabel label;
        label.ensurePolished();
        QString boxed;
        QStringList families;
        for (uint c : characters) {
            QString family;
            if (drawnAsBox(label.font(), c, &family))
                boxed += QString::fromUcs4(&c, 1);
            if (!families.contains(family))
                families << family;
        }
        QVERIFY2(boxed.isEmpty(),
                 qPrintable(QStringLiteral("%1 of %2 characters drawn as boxes (%3) by %4: install a CJK font "
                                           "(fonts-wqy-microhei or fonts-noto-cjk; scripts/setup.sh does)")
                                .arg(boxed.size())
                                .arg(characters.size())
                                .arg(boxed.left(20), families.join(QLatin1String(", ")))));
    }

    // What the operator sees: the word drawn differs from the box glyph that
    // a character no font has gets, and is not empty.
    void renderedWordIsNotTheBox()
    {
        QLabel label;
        label.ensurePolished();
        const QFont font = label.font();
        const QImage word = render(font, QStringLiteral("设备"));
        const QImage boxes = render(font, QString(2, QChar(0xE000))); // private use: no glyph anywhere
        const QImage blank = render(font, QString());
        QVERIFY(word != blank);
        QVERIFY(word != boxes);
    }
};

QTEST_MAIN(TestCjkFont)
#include "tst_cjkfont.moc"
