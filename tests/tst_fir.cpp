// The FIR graph and page: what is sent and when, the not-updated indicator,
// which replies are shown, files and their messages, copy, clear and locks;
// end to end against the virtual unit.

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include <cmath>

#include "core/files/firfiles.h"
#include "core/link/frame.h"
#include "firmodule.h"
#include "routingrig.h"
#include "tabchain.h"
#include "ui/controls/knob.h"
#include "ui/modules/firgraph.h"
#include "ui/modules/firwidget.h"
#include "ui/modules/qchannelselect.h"

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

struct Rig : PageRig<FirWidget>
{
    ScriptedPrompt prompt;
    explicit Rig(int family = 1, bool routeReplies = false)
        : PageRig<FirWidget>(family, routeReplies)
    {
        page.setPrompt(&prompt);
        if (family == 1)
            page.setVariant(512, 96000);
        else
            page.setVariant(256, 48000);
    }

    // The FIR sets among what was sent, as (channel, record bytes).
    QList<QPair<int, QByteArray>> records()
    {
        QList<QPair<int, QByteArray>> out;
        for (const UnitFrame &f : sent()) {
            if (f.cls == 3 && f.module == 17 && f.param == 1 && f.op == 1)
                out.append({quint8(f.payload.at(0)), f.payload.mid(1)});
        }
        return out;
    }
};

QByteArray reportOf(int channel, const FirChannel &r)
{
    return QByteArray(1, char(channel)) + r.toBytes();
}

FirChannel lowPass1k(bool enable)
{
    FirChannel r;
    r.firType = FirChannel::LowPass;
    r.lowFreq = 1000.0f;
    r.window = 7;
    r.kaiserBeta = 4.0f;
    r.taps = 300;
    r.enable = enable ? 1 : 0;
    return r;
}

QVector<float> graphCoefficients(const FirGraph *graph)
{
    return graph->coefficientList();
}

} // namespace

class TestFir : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void graphIgnoresMoreThan512Coefficients()
    {
        FirGraph graph;
        const QVector<float> before = graph.coefficientList();
        const ResponseCurve response = graph.response();
        QVector<float> many(600, 0.25f);
        graph.setCoefficients(many.constData(), 600, false);
        QCOMPARE(graph.taps(), 256);
        QCOMPARE(graph.coefficientList(), before);
        QVERIFY(graph.response() == response);
        QVERIFY(!graph.isLoaded());
        graph.setTaps(600);
        QCOMPARE(graph.taps(), 512);
    }

    void graphReadsCoefficientsBothWays()
    {
        FirGraph graph;
        const float c[4] = {1.0f, 2.0f, 3.0f, 4.0f};
        graph.setCoefficients(c, 4, true);
        float out[4];
        graph.coefficients(out);
        QCOMPARE(QVector<float>(out, out + 4), (QVector<float>{4.0f, 3.0f, 2.0f, 1.0f}));
        graph.coefficientsReversed(out);
        QCOMPARE(QVector<float>(out, out + 4), (QVector<float>{1.0f, 2.0f, 3.0f, 4.0f}));
        // A new rate changes how loaded coefficients sound, not what they are.
        graph.setSampleRate(96000);
        graph.coefficients(out);
        QCOMPARE(out[0], 4.0f);
        QVERIFY(graph.isLoaded());
    }

    void graphCurveIsFlatUntilShown()
    {
        FirGraph graph;
        graph.resize(600, 300);
        graph.setDesign(256, 1, 1000, 5000, 1, 10, false);
        const QRect plot = graph.plotRect();
        const double zeroY = plot.top() + plot.height() / 7.0;
        for (const QPointF &p : graph.curvePoints())
            QCOMPARE(p.y(), zeroY);
        graph.setCurveShown(true);
        const QVector<QPointF> points = graph.curvePoints();
        // Pass band at 0 dB, the stop band far below it.
        QVERIFY(std::fabs(points.at(100).y() - zeroY) < 1.0);
        QVERIFY(points.last().y() > zeroY + plot.height() / 4.0);
        QVERIFY(points.last().x() <= plot.left() + plot.width());
    }

    void initialState()
    {
        Rig rig;
        FirWidget &page = rig.page;
        QCOMPARE(page.objectName(), QStringLiteral("FirWidget"));
        QCOMPARE(page.tapsCombo()->count(), 49);
        QCOMPARE(page.tapsCombo()->currentText(), QStringLiteral("256"));
        QCOMPARE(page.shownType(), int(FirWidget::BandPassType));
        for (int t = 0; t < 4; ++t) {
            QCOMPARE(page.typeButton(t)->objectName(), QString::number(t));
            QCOMPARE(page.typeButton(t)->styleSheet(),
                     t == FirWidget::BandPassType ? FirWidget::SelectedStyle : FirWidget::NormalStyle);
        }
        QCOMPARE(page.typeButton(3)->toolTip(), QStringLiteral("Import external FIR"));
        QVERIFY(!page.exportButton()->isEnabled());
        QCOMPARE(page.viewButton()->text(), QStringLiteral("View Current"));
        QCOMPARE(page.lowFreqEdit()->text(), QStringLiteral("500"));
        QCOMPARE(page.highFreqEdit()->text(), QStringLiteral("5000"));
        QVERIFY(page.settingsMatchStored());
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(&page, &change);
        QCOMPARE(page.viewButton()->text(), QStringLiteral("Download and View"));
        QCOMPARE(page.viewButton()->toolTip(), QStringLiteral("Download and view current settings of the device"));
    }

    void theTapsListFollowsTheUnitOnlyWhenItChanges()
    {
        Rig rig;
        FirWidget &page = rig.page;
        page.tapsCombo()->setCurrentIndex(page.tapsCombo()->findText(QStringLiteral("300")));
        Q_EMIT page.tapsCombo()->activated(page.tapsCombo()->currentIndex());
        QCOMPARE(page.graph()->taps(), 300);
        // The unit reports its version once a second.
        page.setVariant(512, 96000);
        QCOMPARE(page.tapsCombo()->currentText(), QStringLiteral("300"));
        page.setVariant(256, 48000);
        QCOMPARE(page.tapsCombo()->count(), 22);
        QCOMPARE(page.tapsCombo()->currentText(), QStringLiteral("256"));
        QCOMPARE(page.graph()->taps(), 256);
        QCOMPARE(page.graph()->sampleRate(), 48000.0);
    }

    void typesShowTheirControls_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("lowCaption");
        QTest::addColumn<bool>("high");
        QTest::addColumn<bool>("beta");
        QTest::newRow("low pass") << 0 << 0 << QStringLiteral("Freq") << false << false;
        QTest::newRow("high pass, Kaiser") << 1 << 6 << QStringLiteral("Freq") << false << true;
        QTest::newRow("band pass") << 2 << 3 << QStringLiteral("Low Freq") << true << false;
        QTest::newRow("band pass, Kaiser") << 2 << 6 << QStringLiteral("Low Freq") << true << true;
    }
    void typesShowTheirControls()
    {
        QFETCH(int, type);
        QFETCH(int, window);
        QFETCH(QString, lowCaption);
        QFETCH(bool, high);
        QFETCH(bool, beta);
        Rig rig;
        QVERIFY(rig.connect());
        FirWidget &page = rig.page;
        page.show();
        page.typeButton(type)->click();
        page.windowCombo()->setCurrentIndex(window);
        Q_EMIT page.windowCombo()->activated(window);
        QCOMPARE(page.shownType(), type);
        QCOMPARE(page.graph()->firType(), type + 1);
        QCOMPARE(page.graph()->window(), window + 1);
        QVERIFY(page.lowFreqKnob()->isVisible());
        QCOMPARE(page.highFreqKnob()->isVisible(), high);
        QCOMPARE(page.kaiserBetaCombo()->isVisible(), beta);
        QVERIFY(page.tapsCombo()->isEnabled());
        bool captionFound = false;
        for (QLabel *label : page.findChildren<QLabel *>())
            captionFound = captionFound || (label->isVisible() && label->text() == lowCaption);
        QVERIFY(captionFound);
        QCOMPARE(page.typeButton(type)->styleSheet(), FirWidget::SelectedStyle);
        // Nothing goes out while editing.
        QVERIFY(rig.records().isEmpty());
    }

    void updateToDeviceSendsOnlyChanges()
    {
        Rig rig;
        QVERIFY(rig.connect());
        FirWidget &page = rig.page;
        page.updateButton()->click();
        QVERIFY2(rig.records().isEmpty(), "the defaults are what the unit has");
        typeAndReturn(page.lowFreqEdit(), QStringLiteral("1000"));
        QVERIFY(rig.records().isEmpty());
        page.updateButton()->click();
        page.updateButton()->click();
        const auto records = rig.records();
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.at(0).first, 0);
        QCOMPARE(records.at(0).second.size(), 2066);
        QCOMPARE(records.at(0).second.left(18).toHex(), hex("00 0001 03 00007a44 00409c45 01 00002041 00").toHex());
        // The last tap first.
        QVector<float> reversed(256);
        page.graph()->coefficientsReversed(reversed.data());
        FirChannel sent = FirChannel::decode(reinterpret_cast<const uchar *>(records.at(0).second.constData()));
        for (int i = 0; i < 256; ++i)
            QCOMPARE(sent.coefficients[size_t(i)], reversed.at(i));
        QCOMPARE(sent.coefficients[256], 0.0f);
    }

    void enableSendsAndShowsTheCurve()
    {
        Rig rig;
        QVERIFY(rig.connect());
        FirWidget &page = rig.page;
        page.enableButton()->click();
        QVERIFY(page.graph()->isCurveShown());
        const auto records = rig.records();
        QCOMPARE(records.size(), 1);
        QCOMPARE(quint8(records.at(0).second.at(17)), quint8(1));
    }

    void theButtonBlinksWhileTheControlsDiffer()
    {
        Rig rig;
        QVERIFY(rig.connect());
        FirWidget &page = rig.page;
        QTest::keyClick(page.lowFreqKnob(), Qt::Key_Up);
        // 1/24 octave up from 500 Hz.
        QCOMPARE(page.lowFreqEdit()->text(), QStringLiteral("514"));
        QStringList styles;
        for (int tick = 1; tick <= 12; ++tick) {
            rig.tick();
            styles << (page.updateButton()->styleSheet() == FirWidget::SelectedStyle ? QStringLiteral("blue")
                                                                                      : QStringLiteral("grey"));
        }
        // Every fourth 150 ms tick: blue, grey, blue.
        QCOMPARE(styles.join(QLatin1Char(' ')),
                 QStringLiteral("grey grey grey blue blue blue blue grey grey grey grey blue"));
        QCOMPARE(page.updateButton()->toolTip(),
                 QStringLiteral("The settings have not been updated to the device! Click to update!"));
        page.updateButton()->click();
        QCOMPARE(page.updateButton()->styleSheet(), FirWidget::NormalStyle);
        QVERIFY(page.updateButton()->toolTip().isEmpty());
        QTest::keyClick(page.lowFreqKnob(), Qt::Key_Up);
        rig.tick(4);
        QCOMPARE(page.updateButton()->styleSheet(), FirWidget::SelectedStyle);
    }

    void repliesAreStoredAndShownWhenAsked()
    {
        Rig rig;
        FirWidget &page = rig.page;
        const FirChannel unit = lowPass1k(true);
        rig.report(1, reportOf(0, unit));
        QVERIFY(page.record(0) == unit);
        QCOMPARE(page.shownType(), int(FirWidget::BandPassType));
        QVERIFY(!page.settingsMatchStored());

        page.showOnNextReply();
        rig.report(1, reportOf(1, unit));
        QVERIFY(page.isShowingOnNextReply());
        rig.report(1, reportOf(0, unit));
        QVERIFY(!page.isShowingOnNextReply());
        QCOMPARE(page.shownType(), int(FirWidget::LowPassType));
        QCOMPARE(page.lowFreqEdit()->text(), QStringLiteral("1000"));
        QCOMPARE(page.tapsCombo()->currentText(), QStringLiteral("300"));
        QCOMPARE(page.windowCombo()->currentIndex(), 6);
        QCOMPARE(page.kaiserBetaCombo()->currentIndex(), 4);
        QVERIFY(page.enableButton()->isChecked());
        QVERIFY(page.graph()->isCurveShown());
        QCOMPARE(page.graph()->taps(), 300);
        QVERIFY(page.settingsMatchStored());

        // A hidden channel clears the request without showing.
        page.setSecurityState(0, 2);
        page.showOnNextReply();
        rig.report(1, reportOf(0, FirChannel()));
        QVERIFY(!page.isShowingOnNextReply());
        QCOMPARE(page.shownType(), int(FirWidget::LowPassType));
    }

    void repliesOutsideTheTableAreDropped_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("param");
        const QByteArray good = reportOf(0, lowPass1k(true));
        QTest::newRow("channel 8") << reportOf(8, lowPass1k(true)) << 0x80 << 1;
        QTest::newRow("one byte short") << good.left(2066) << 0x80 << 1;
        QTest::newRow("one byte long") << good + '\0' << 0x80 << 1;
        QTest::newRow("a set") << good << 1 << 1;
        QTest::newRow("param 2") << good << 0x80 << 2;
    }
    void repliesOutsideTheTableAreDropped()
    {
        QFETCH(QByteArray, payload);
        QFETCH(int, op);
        QFETCH(int, param);
        Rig rig;
        rig.page.showOnNextReply();
        rig.report(quint8(param), payload, quint8(op));
        for (int c = 0; c < 8; ++c)
            QVERIFY(rig.page.record(uchar(c)).firType == FirChannel::BandPass);
        QVERIFY(rig.page.isShowingOnNextReply());
    }

    void externalRecordsShowTheirCoefficients()
    {
        Rig rig;
        FirWidget &page = rig.page;
        page.tapsCombo()->setCurrentIndex(page.tapsCombo()->findText(QStringLiteral("400")));
        Q_EMIT page.tapsCombo()->activated(page.tapsCombo()->currentIndex());
        FirChannel r;
        r.external = 1;
        r.firType = FirChannel::External;
        r.taps = 333;
        r.enable = 1;
        QVector<float> designOrder(333);
        for (int i = 0; i < 333; ++i)
            designOrder[i] = float(i) / 1000.0f;
        r.setDesignCoefficients(designOrder.constData(), 333);
        rig.report(1, reportOf(2, r));
        page.channelButton(2)->click();
        QCOMPARE(page.shownType(), int(FirWidget::ExternalType));
        QCOMPARE(page.tapsCombo()->currentText(), QStringLiteral("333"));
        QCOMPARE(page.tapsCombo()->count(), 50);
        QVERIFY(!page.tapsCombo()->isEnabled());
        QCOMPARE(graphCoefficients(page.graph()), designOrder);
        QVERIFY(page.settingsMatchStored());

        // Back to a design: the file's count leaves the list.
        page.typeButton(0)->click();
        QCOMPARE(page.tapsCombo()->count(), 49);
        QCOMPARE(page.tapsCombo()->currentText(), QStringLiteral("400"));
        QCOMPARE(page.graph()->taps(), 400);
        QVERIFY(!page.graph()->isLoaded());
    }

    void viewCurrentAsksTheUnit()
    {
        Rig rig;
        QVERIFY(rig.connect());
        rig.page.channelButton(5)->click();
        rig.page.viewButton()->click();
        QVERIFY(rig.page.isShowingOnNextReply());
        const QList<UnitFrame> sent = rig.sent();
        QCOMPARE(describeFrames(sent), QStringLiteral("3/17/1/0:05"));
    }

    void clearAsksAndRestoresTheDefaults()
    {
        Rig rig;
        QVERIFY(rig.connect());
        FirWidget &page = rig.page;
        page.channelButton(3)->click();
        page.typeButton(0)->click();
        typeAndReturn(page.lowFreqEdit(), QStringLiteral("3000"));
        page.updateButton()->click();
        rig.sent();
        rig.prompt.answers = {1};
        page.clearButton()->click();
        QCOMPARE(rig.prompt.asked.size(), 1);
        QCOMPARE(rig.prompt.asked.at(0).title, QStringLiteral("warning"));
        QCOMPARE(rig.prompt.asked.at(0).text, QStringLiteral("Clear all setting?"));
        QVERIFY(rig.sent().isEmpty());
        rig.prompt.answers = {0};
        page.clearButton()->click();
        QCOMPARE(describeFrames(rig.sent()), QStringLiteral("3/17/2/1:03"));
        QCOMPARE(page.shownType(), int(FirWidget::BandPassType));
        QCOMPARE(page.lowFreqEdit()->text(), QStringLiteral("500"));
        QCOMPARE(page.record(3).headerBytes().toHex(), hex("00 0001 03 0000fa43 00409c45 01 00002041 00").toHex());
        QVERIFY(page.settingsMatchStored());
    }

    void locksActOnTheShownChannel_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("read-only") << 1 << true << false;
        QTest::newRow("hidden") << 2 << false << false;
    }
    void locksActOnTheShownChannel()
    {
        QFETCH(int, state);
        QFETCH(bool, visible);
        QFETCH(bool, enabled);
        Rig rig;
        FirWidget &page = rig.page;
        page.show();
        page.setLoginState(true);
        page.typeButton(0)->click();
        QVERIFY(page.exportButton()->isEnabled());
        page.setSecurityState(0, uchar(state));
        QCOMPARE(page.body()->isVisible(), visible);
        QCOMPARE(page.clearButton()->isVisible(), visible);
        if (visible)
            QCOMPARE(page.updateButton()->isEnabled(), enabled);
        QVERIFY(!page.exportButton()->isEnabled());
        QVERIFY(page.channelButton(1)->isEnabled());
        page.setSecurityState(0, 0);
        QVERIFY(page.body()->isVisible());
        QVERIFY(page.exportButton()->isEnabled());
        // The type still decides what is shown.
        QVERIFY(!page.highFreqKnob()->isVisible());
    }

    void exportNeedsLoginAFreeChannelAndADesign_data()
    {
        QTest::addColumn<bool>("login");
        QTest::addColumn<int>("lock");
        QTest::addColumn<bool>("external");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("logged in") << true << 0 << false << true;
        QTest::newRow("not logged in") << false << 0 << false << false;
        QTest::newRow("read-only") << true << 1 << false << false;
        QTest::newRow("external") << true << 0 << true << false;
    }
    void exportNeedsLoginAFreeChannelAndADesign()
    {
        QFETCH(bool, login);
        QFETCH(int, lock);
        QFETCH(bool, external);
        QFETCH(bool, enabled);
        Rig rig;
        FirWidget &page = rig.page;
        page.setSecurityState(0, uchar(lock));
        if (external) {
            FirChannel r;
            r.external = 1;
            r.taps = 10;
            page.setRecord(0, r);
        }
        page.setLoginState(login);
        QCOMPARE(page.exportButton()->isEnabled(), enabled);
    }

    void exportedDesignsImportAsTheSameCoefficients()
    {
        ScratchDir dir(false);
        Rig rig(2);
        QVERIFY(rig.connect());
        FirWidget &page = rig.page;
        page.setLoginState(true);
        typeAndReturn(page.lowFreqEdit(), QStringLiteral("800"));
        const QVector<float> designed = graphCoefficients(page.graph());
        QCOMPARE(designed.size(), 256);

        rig.prompt.fileNames = QStringList{dir.filePath(QStringLiteral("bp.chFIR"))};
        page.exportButton()->click();
        QVERIFY(rig.prompt.asked.isEmpty());
        QCOMPARE(dir.read(QStringLiteral("bp.chFIR")).toHex(),
                 hex("00 0001 03 00004844 00409c45 01 00002041 00").toHex());
        const QByteArray text = dir.read(QStringLiteral("bp.txt"));
        const QList<QByteArray> lines = text.split('\n');
        QCOMPARE(lines.size(), 257);
        QVERIFY(lines.last().isEmpty());
        const QRegularExpression number(QStringLiteral("^-?[0-9]\\.[0-9]{14}e[+-][0-9]{2,3}\r$"));
        for (int i = 0; i < 256; ++i)
            QVERIFY2(number.match(QString::fromLatin1(lines.at(i))).hasMatch(), lines.at(i).constData());
        QVERIFY(rig.records().isEmpty());

        rig.prompt.fileNames = QStringList{dir.filePath(QStringLiteral("bp.txt"))};
        rig.prompt.answers = {0};
        page.typeButton(FirWidget::ExternalType)->click();
        QCOMPARE(rig.prompt.asked.size(), 1);
        QCOMPARE(rig.prompt.asked.at(0).text, QStringLiteral("Import external FIR data and update to device?"));
        QCOMPARE(page.shownType(), int(FirWidget::ExternalType));
        QVERIFY(page.enableButton()->isChecked());
        QVERIFY(!page.exportButton()->isEnabled());
        QCOMPARE(graphCoefficients(page.graph()), designed);
        const auto records = rig.records();
        QCOMPARE(records.size(), 1);
        const FirChannel sent = FirChannel::decode(reinterpret_cast<const uchar *>(records.at(0).second.constData()));
        QCOMPARE(sent.external, quint8(1));
        QCOMPARE(sent.firType, quint8(4));
        QCOMPARE(sent.taps, quint16(256));
        QCOMPARE(sent.enable, quint8(1));
        QCOMPARE(sent.coefficients[0], designed.last());
        QCOMPARE(sent.coefficients[255], designed.first());
    }

    void badFilesGetTheirMessage_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QByteArray lines513;
        for (int i = 0; i < 513; ++i)
            lines513 += "1.0e-03\r\n";
        QByteArray value150;
        for (int i = 1; i <= 20; ++i)
            value150 += i == 10 ? "150\r\n" : "0.5\r\n";
        const QString tooMany512 = QStringLiteral("FIR tap can't be larger than 512!");
        const QString external = QStringLiteral("External FIR file format error!");
        const QString format = QStringLiteral("FIR file format error!");
        QTest::newRow("513 lines on a 512-tap unit") << 1 << QStringLiteral("long.txt") << lines513 << tooMany512;
        QTest::newRow("150 on line 10") << 1 << QStringLiteral("loud.txt") << value150 << external;
        QTest::newRow("an extra empty line")
            << 1 << QStringLiteral("blank.txt") << QByteArray("0.5\r\n0.25\r\n\r\n") << external;
        QTest::newRow("512 taps on a 256-tap unit")
            << 2 << QStringLiteral("big.chFIR") << hex("00 0002 03 0000fa43 00409c45 01 00002041 00")
            << QStringLiteral("FIR tap can't be larger than 256!");
        QTest::newRow("window 9")
            << 1 << QStringLiteral("odd.chFIR") << hex("00 0001 03 0000fa43 00409c45 09 00002041 00")
                                  << format;
        QTest::newRow("17 bytes")
            << 1 << QStringLiteral("short.chFIR") << hex("00 0001 03 0000fa43 00409c45 01 00002041") << format;
    }
    void badFilesGetTheirMessage()
    {
        QFETCH(int, family);
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        ScratchDir dir(false);
        dir.write(name, content);
        Rig rig(family);
        QVERIFY(rig.connect());
        FirWidget &page = rig.page;
        rig.prompt.fileNames = QStringList{dir.filePath(name)};
        if (name.endsWith(QLatin1String(".txt")))
            page.typeButton(FirWidget::ExternalType)->click();
        else
            page.importButton()->click();
        QCOMPARE(rig.prompt.asked.size(), 1);
        QCOMPARE(int(rig.prompt.asked.at(0).icon), int(Prompt::Icon::Critical));
        QCOMPARE(rig.prompt.asked.at(0).title, QStringLiteral("ERROR"));
        QCOMPARE(rig.prompt.asked.at(0).text, message);
        QCOMPARE(page.shownType(), int(FirWidget::BandPassType));
        QVERIFY(rig.records().isEmpty());
    }

    void importedDesignsAreSent()
    {
        ScratchDir dir(false);
        const FirChannel file = lowPass1k(true);
        dir.write(QStringLiteral("lp.chFIR"), file.headerBytes());
        Rig rig;
        QVERIFY(rig.connect());
        FirWidget &page = rig.page;
        const QString path = dir.filePath(QStringLiteral("lp.chFIR"));
        rig.prompt.fileNames = QStringList{path, path};
        rig.prompt.answers = {1};
        page.importButton()->click();
        QCOMPARE(rig.prompt.asked.at(0).text, QStringLiteral("Import FIR and update to device?"));
        QVERIFY(rig.records().isEmpty());
        QCOMPARE(page.shownType(), int(FirWidget::BandPassType));

        rig.prompt.answers = {0};
        page.importButton()->click();
        QCOMPARE(page.shownType(), int(FirWidget::LowPassType));
        QCOMPARE(page.tapsCombo()->currentText(), QStringLiteral("300"));
        const auto records = rig.records();
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.at(0).second.left(18).toHex(), file.headerBytes().toHex());
        QCOMPARE(graphCoefficients(page.graph()).size(), 300);
        QVERIFY(page.record(0).coefficients[0] != 0.0f);
    }

    void anUnwritableExportSaysSo()
    {
        ScratchDir dir(false);
        Rig rig;
        rig.page.setLoginState(true);
        rig.prompt.fileNames = QStringList{dir.filePath(QStringLiteral("no/such/folder/bp.chFIR"))};
        rig.page.exportButton()->click();
        QCOMPARE(rig.prompt.asked.size(), 1);
        QCOMPARE(int(rig.prompt.asked.at(0).icon), int(Prompt::Icon::Critical));
        QVERIFY(rig.prompt.asked.at(0).text.contains(QStringLiteral("bp.chFIR")));
    }

    void pollsFromTheShownChannelEverySecondTick()
    {
        Rig rig;
        QVERIFY(rig.connect());
        rig.page.channelButton(6)->click();
        rig.tick(4);
        QVERIFY(rig.sent().isEmpty());
        rig.page.show();
        rig.tick(6);
        QCOMPARE(describeFrames(rig.sent()),
                 QStringLiteral("2/5/17/0: 3/17/1/0:06 2/5/17/0: 3/17/1/0:07 2/5/17/0: 3/17/1/0:00"));
    }

    void copyToSendsTheRecordToFreeOutputs()
    {
        Rig rig;
        QVERIFY(rig.connect());
        FirWidget &page = rig.page;
        page.setSecurityState(4, 1);
        page.typeButton(0)->click();
        page.updateButton()->click();
        rig.sent();
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<QChannelSelect *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            QVERIFY(!dialog->inputButton(0)->isEnabled());
            QVERIFY(!dialog->outputButton(0)->isEnabled());
            dialog->outputButton(2)->click();
            dialog->outputButton(4)->click();
            dialog->okButton()->click();
        });
        page.copyButton()->click();
        const auto records = rig.records();
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.at(0).first, 2);
        QCOMPARE(records.at(0).second, page.record(0).toBytes());
        QVERIFY(page.record(2) == page.record(0));
        QVERIFY(page.record(4) != page.record(0));
    }

    void aDesignedFirComesBackFromTheUnitByteIdentical()
    {
        Rig rig(1, true);
        QVERIFY(rig.connect());
        FirWidget &page = rig.page;
        FirModule *unitFir = rig.unit.findModule<FirModule>();
        QVERIFY(unitFir);
        QCOMPARE(unitFir->maxTaps(), 512);
        page.channelButton(5)->click();
        page.typeButton(0)->click();
        page.tapsCombo()->setCurrentIndex(page.tapsCombo()->findText(QStringLiteral("512")));
        Q_EMIT page.tapsCombo()->activated(page.tapsCombo()->currentIndex());
        page.windowCombo()->setCurrentIndex(6);
        Q_EMIT page.windowCombo()->activated(6);
        typeAndReturn(page.lowFreqEdit(), QStringLiteral("2500"));
        page.enableButton()->click();
        const QByteArray sent = page.record(5).toBytes();
        QVERIFY(waitUntil([&] { return unitFir->records[5] == sent; }));

        // The 2067-byte report carries it back unchanged.
        QByteArray reported;
        QObject::connect(&rig.link, &Link::moduleMessage, &page,
                         [&](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
                             if (module == 17 && param == 1 && op == 0x80)
                                 reported = QByteArray(reinterpret_cast<const char *>(payload), length);
                         });
        rig.link.sendChannelQuery(17, 1, 5);
        QVERIFY(waitUntil([&] { return !reported.isEmpty(); }));
        QCOMPARE(reported.size(), 2067);
        QCOMPARE(reported.at(0), char(5));
        QVERIFY(reported.mid(1) == sent);

        // A fresh page shows it once asked to.
        FirWidget fresh(&rig.link);
        fresh.timer()->stop();
        fresh.setVariant(512, 96000);
        QObject::connect(&rig.link, &Link::moduleMessage, &fresh,
                         [&](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
                             if (module == 17)
                                 fresh.onMessage(param, op, length, payload);
                         });
        fresh.channelButton(5)->click();
        fresh.showOnNextReply();
        fresh.show();
        QVERIFY(waitUntil([&] {
            fresh.timeOut20ms();
            return !fresh.isShowingOnNextReply();
        }));
        QCOMPARE(fresh.shownType(), int(FirWidget::LowPassType));
        QCOMPARE(fresh.lowFreqEdit()->text(), QStringLiteral("2500"));
        QCOMPARE(graphCoefficients(fresh.graph()), graphCoefficients(page.graph()));
        QVERIFY(fresh.settingsMatchStored());

        // Clear restores the unit's defaults, which the page agrees with.
        rig.prompt.answers = {0};
        page.clearButton()->click();
        QVERIFY(waitUntil([&] { return unitFir->records[5] == page.defaultRecord().toBytes(); }));
    }

    // Tab follows the layout: outputs, type and taps, copy and clear, then
    // the frequency, window and device panels. The low-frequency editor is
    // named after what the type makes of it.
    void tabStopsFollowTheLayout_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("expected"); // a run of stops, from its first name on
        QTest::newRow("band pass on OUT 1")
            << 0 << int(FirWidget::BandPassType)
            << nameList({"OUT 8", "OUT 1 FIR type: Low Pass", "OUT 1 FIR type: High Pass", "OUT 1 FIR type: Band Pass",
                         "OUT 1 FIR type: External FIR", "OUT 1 FIR taps", "Copy to", "Clear",
                         "OUT 1 FIR low frequency knob", "OUT 1 FIR low frequency in Hz",
                         "OUT 1 FIR high frequency knob", "OUT 1 FIR high frequency in Hz", "OUT 1 FIR window type"});
        QTest::newRow("low pass on OUT 6")
            << 5 << 0
            << nameList({"Clear", "OUT 6 FIR frequency knob", "OUT 6 FIR frequency in Hz", "OUT 6 FIR window type"});
    }
    void tabStopsFollowTheLayout()
    {
        QFETCH(int, channel);
        QFETCH(int, type);
        QFETCH(QStringList, expected);
        Link link;
        FirWidget page(&link);
        page.timer()->stop();
        page.channelButtonGroupButtonClicked(channel);
        page.typeButton(type)->click();
        const QStringList names = tabStopNames(&page);
        const int from = names.indexOf(expected.first());
        QVERIFY2(from >= 0, qPrintable(names.join(QLatin1String(" | "))));
        QCOMPARE(names.mid(from, expected.size()), expected);
    }
};

QTEST_MAIN(TestFir)
#include "tst_fir.moc"
