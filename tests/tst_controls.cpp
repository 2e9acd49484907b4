// The custom controls: geometry, the operator's mouse, wheel and key input,
// what gets emitted (setters never emit) and what gets drawn.

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

#include "ui/controls/dragscrollarea.h"
#include "ui/controls/knob.h"
#include "ui/controls/qdoublelabel.h"
#include "ui/controls/qfader.h"
#include "ui/controls/qhslider.h"
#include "ui/controls/qmeterwidget.h"
#include "ui/resources/resources.h"

namespace {

void sendMouse(QWidget *widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               QPoint global)
{
    QMouseEvent event(type, pos, pos, global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void press(QWidget *widget, QPoint pos)
{
    sendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton, widget->mapToGlobal(pos));
}

void move(QWidget *widget, QPoint pos)
{
    sendMouse(widget, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton, widget->mapToGlobal(pos));
}

void release(QWidget *widget, QPoint pos)
{
    sendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton, widget->mapToGlobal(pos));
}

void wheel(QWidget *widget, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF centre = widget->rect().center();
    QWheelEvent event(centre, widget->mapToGlobal(centre.toPoint()), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// Mean brightness of what a widget paints over the page's black.
double meanBrightness(QWidget *widget)
{
    QWidget page;
    QPalette black = page.palette();
    black.setColor(QPalette::Window, Qt::black);
    page.setPalette(black);
    page.setAutoFillBackground(true);
    widget->setParent(&page);
    widget->move(0, 0);
    page.resize(widget->size());
    const QImage image = page.grab().toImage();
    widget->setParent(nullptr);
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qGray(image.pixel(x, y));
    return sum / qMax(1, image.width() * image.height());
}

// A -70 .. +12 dB fader of the level pages: 55 x 230, one decimal.
void setUpLevelFader(QFader &fader, float value = 0.0f)
{
    fader.setFixedSize(55, 230);
    fader.setRange(-70, 12);
    fader.setDecimals(1);
    fader.setValue(value);
    fader.setStep(0.1f);
}

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Content of a drag-scroll area that counts the moves reaching it.
class MoveRecorder : public QWidget
{
public:
    int moves = 0;

protected:
    void mouseMoveEvent(QMouseEvent *event) override
    {
        ++moves;
        event->ignore();
    }
};

} // namespace

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void settersNeverEmit();
    void roundingOfScaledValues_data();
    void roundingOfScaledValues();
    void decimalsRescaleOnce();

    void faderHandleGeometry_data();
    void faderHandleGeometry();
    void faderScale_data();
    void faderScale();
    void faderDragFromCursor_data();
    void faderDragFromCursor();
    void faderPressBesideHandle_data();
    void faderPressBesideHandle();
    void faderWheel_data();
    void faderWheel();
    void faderDrawsHandleAtValue();
    void sliderKeys_data();
    void sliderKeys();
    void sliderShowsKeyboardFocus();

    void sliderRangePullsValueIn();
    void sliderDrag_data();
    void sliderDrag();
    void sliderWheelAtEnds();

    void knobDiagonalTravel();
    void knobWheel_data();
    void knobWheel();
    void knobKeys_data();
    void knobKeys();
    void knobSetValueClampsAndIgnoresNaN();
    void knobStepsWithModifiers_data();
    void knobStepsWithModifiers();
    void scaledStepsWithModifiers_data();
    void scaledStepsWithModifiers();
    void sliderFineDrag_data();
    void sliderFineDrag();
    void lockedControlsLookDisabled_data();
    void lockedControlsLookDisabled();
    void knobSizes();
    void knobImagesMatch();

    void meterClampsAndSkipsEqualRepaint();
    void meterSegmentColours_data();
    void meterSegmentColours();

    void doubleLabelReportsEveryButton();

    void dragScrollThreshold_data();
    void dragScrollThreshold();
    void dragScrollIgnoresScrollBars();

    void accessibleNamesAndValues();
    void assistiveValueSet_data();
    void assistiveValueSet();
};

void TestControls::initTestCase()
{
    Resources::init();
}

void TestControls::settersNeverEmit()
{
    Knob knob;
    QFader fader;
    QHSlider slider;
    QSignalSpy knobSpy(&knob, &Knob::valueChanged);
    QSignalSpy faderSpy(&fader, &QFader::valueChanged);
    QSignalSpy sliderSpy(&slider, &QHSlider::valueChanged);

    knob.setMinimum(20);
    knob.setMaximum(20000);
    knob.setValue(1000);
    knob.setValue(50000);
    knob.setStep(10);
    knob.setSize(2);
    setUpLevelFader(fader, -3.5f);
    fader.setValue(6);
    fader.setScaleColour(Qt::red);
    slider.setRange(0, 1000);
    slider.setValue(250);
    slider.setDecimals(2);
    slider.setStep(0.01f);
    slider.setRange(0, 100);

    QCOMPARE(knobSpy.count(), 0);
    QCOMPARE(faderSpy.count(), 0);
    QCOMPARE(sliderSpy.count(), 0);
    QCOMPARE(knob.value(), 20000.0f);
    QCOMPARE(fader.value(), 60);
    QCOMPARE(slider.value(), 10000);
}

void TestControls::roundingOfScaledValues_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<float>("input");
    QTest::addColumn<int>("scaled");
    QTest::newRow("2.5 up") << 0 << 2.5f << 3;
    QTest::newRow("-2.5 up") << 0 << -2.5f << -2;
    QTest::newRow("-2.6 down") << 0 << -2.6f << -3;
    QTest::newRow("tenths") << 1 << -12.3f << -123;
    QTest::newRow("hundredths") << 2 << 1.15f << 115;
    QTest::newRow("hundredths of 999.99") << 2 << 999.99f << 99999;
}

void TestControls::roundingOfScaledValues()
{
    QFETCH(int, decimals);
    QFETCH(float, input);
    QFETCH(int, scaled);
    QFader fader;
    fader.setDecimals(decimals);
    fader.setValue(input);
    QCOMPARE(fader.value(), scaled);
    QHSlider slider;
    slider.setRange(-1000, 1000);
    slider.setDecimals(decimals);
    slider.setValue(input);
    QCOMPARE(slider.value(), scaled);
}

void TestControls::decimalsRescaleOnce()
{
    QFader fader;
    fader.setRange(-70, 12);
    fader.setValue(-30);
    fader.setDecimals(1);
    QCOMPARE(fader.minimum(), -700);
    QCOMPARE(fader.maximum(), 120);
    QCOMPARE(fader.value(), -300);
    fader.setDecimals(1);
    QCOMPARE(fader.minimum(), -700);
    fader.setStep(0.1f);
    QCOMPARE(fader.step(), 1.0f);

    // Corrupt values from the unit leave the control as it was.
    fader.setValue(std::numeric_limits<float>::quiet_NaN());
    fader.setValue(std::numeric_limits<float>::infinity());
    QCOMPARE(fader.value(), -300);
    fader.setValue(1e30f);
    QVERIFY(fader.value() > 0);
    QCOMPARE(fader.handleTopFor(fader.value()), 0.0);
}

void TestControls::faderHandleGeometry_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("top");
    // Height 230, handle 43: travel 187, 0 dB at 187 / 3.
    QTest::newRow("+12 at the top") << -70 << 12 << 120 << 0.0;
    QTest::newRow("+6 halfway up") << -70 << 12 << 60 << 187.0 / 6;
    QTest::newRow("0 dB a third down") << -70 << 12 << 0 << 62.333333;
    QTest::newRow("-35 halfway down the rest") << -70 << 12 << -350 << 62.333333 + 124.666667 / 2;
    QTest::newRow("-70 at the bottom") << -70 << 12 << -700 << 187.0;
    QTest::newRow("beyond the top stays in") << -70 << 12 << 200 << 0.0;
    QTest::newRow("negative range: 0 at the top") << -70 << 0 << 0 << 0.0;
    QTest::newRow("negative range: linear") << -70 << 0 << -350 << 93.5;
}

void TestControls::faderHandleGeometry()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(double, top);
    QFader fader;
    fader.setFixedSize(55, 230);
    fader.setRange(minimum, maximum);
    fader.setDecimals(1);
    QVERIFY(qAbs(fader.handleTopFor(value) - top) < 1e-4);
    fader.setValue(value / 10.0f);
    const QRectF rect = fader.handleRect();
    QCOMPARE(rect.x(), 12.0);
    QCOMPARE(rect.width(), 20.0);
    QCOMPARE(rect.height(), value == minimum * 10 ? 42.5 : 43.0);
}

void TestControls::faderScale_data()
{
    QTest::addColumn<int>("decimals");
    QTest::newRow("whole dB") << 0;
    QTest::newRow("tenths") << 1;
}

void TestControls::faderScale()
{
    QFETCH(int, decimals);
    QFader fader;
    fader.setFixedSize(55, 230);
    fader.setRange(-70, 12);
    fader.setDecimals(decimals);
    const QVector<QFader::ScaleMark> marks = fader.scaleMarks();
    QStringList labels;
    QList<int> rows;
    for (const QFader::ScaleMark &mark : marks) {
        labels << mark.label;
        rows << mark.y;
    }
    QCOMPARE(labels, QStringList({QStringLiteral("12"), QStringLiteral("9"), QStringLiteral("6"), QStringLiteral("3"),
                                  QStringLiteral("0"), QStringLiteral("-10"), QStringLiteral("-20"),
                                  QStringLiteral("-30"), QStringLiteral("-40"), QStringLiteral("-50"),
                                  QStringLiteral("-60"), QStringLiteral("-70")}));
    // From row 21, four steps of 187 / 3 / 4, then seven of (209 - 81) / 7,
    // each truncated to whole pixels.
    QCOMPARE(rows, QList<int>({21, 36, 51, 66, 81, 99, 117, 135, 153, 171, 189, 207}));
    QCOMPARE(marks.at(4).labelLeft, 55 - 12);
    QCOMPARE(marks.at(4).labelRight, 55 - 3);
    QCOMPARE(marks.at(5).labelLeft, 55 - 16);
    QCOMPARE(marks.at(5).labelRight, 55 - 1);
}

void TestControls::faderDragFromCursor_data()
{
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("scaled");
    QTest::addColumn<bool>("emitted");
    // Upper piece: v = 120 - 120 (y - 21.5) / 62.33; lower piece:
    // v = (y - 83.83) (-700) / 124.67; both truncated toward zero.
    QTest::newRow("above the travel") << 0 << 120 << true;
    QTest::newRow("upper, near the top") << 22 << 119 << true;
    QTest::newRow("upper, middle") << 50 << 65 << true;
    QTest::newRow("upper, just above 0 dB") << 83 << 1 << true;
    QTest::newRow("lower, rounds to 0 dB: unchanged") << 84 << 0 << false;
    QTest::newRow("lower, -9.0") << 100 << -90 << true;
    QTest::newRow("lower, near the bottom") << 208 << -697 << true;
    QTest::newRow("below the travel") << 230 << -700 << true;
}

void TestControls::faderDragFromCursor()
{
    QFETCH(int, y);
    QFETCH(int, scaled);
    QFETCH(bool, emitted);
    QFader fader;
    setUpLevelFader(fader);
    QSignalSpy spy(&fader, &QFader::valueChanged);
    press(&fader, QPoint(22, 80));
    move(&fader, QPoint(22, y));
    QCOMPARE(fader.value(), scaled);
    QCOMPARE(spy.count(), emitted ? 1 : 0);
    if (emitted)
        QCOMPARE(spy.at(0).at(0).toFloat(), scaled / 10.0f);

    // After the release the handle no longer follows the cursor.
    release(&fader, QPoint(22, y));
    move(&fader, QPoint(22, 150));
    QCOMPARE(fader.value(), scaled);
}

void TestControls::faderPressBesideHandle_data()
{
    QTest::addColumn<QPoint>("pressAt");
    QTest::addColumn<bool>("grabs");
    // The 0 dB handle spans x 12 .. 32 and y 62.3 .. 105.3, edges included.
    QTest::newRow("centre") << QPoint(22, 84) << true;
    QTest::newRow("left edge") << QPoint(12, 84) << true;
    QTest::newRow("right edge") << QPoint(32, 84) << true;
    QTest::newRow("left of it") << QPoint(11, 84) << false;
    QTest::newRow("right of it, on the scale") << QPoint(40, 84) << false;
    QTest::newRow("above it") << QPoint(22, 62) << false;
    QTest::newRow("below it, on the groove") << QPoint(22, 200) << false;
}

void TestControls::faderPressBesideHandle()
{
    QFETCH(QPoint, pressAt);
    QFETCH(bool, grabs);
    QFader fader;
    setUpLevelFader(fader);
    QSignalSpy spy(&fader, &QFader::valueChanged);
    QMouseEvent event(QEvent::MouseButtonPress, pressAt, pressAt, fader.mapToGlobal(pressAt), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&fader, &event);
    QCOMPARE(event.isAccepted(), grabs);
    move(&fader, QPoint(22, 50));
    QCOMPARE(fader.value(), grabs ? 65 : 0);
    QCOMPARE(spy.count(), grabs ? 1 : 0);
}

void TestControls::faderWheel_data()
{
    QTest::addColumn<float>("start");
    QTest::addColumn<float>("step");
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<int>("scaled");
    QTest::addColumn<int>("emissions");
    QTest::newRow("notch up") << 0.0f << 0.1f << QList<int>{120} << 1 << 1;
    QTest::newRow("notch down") << 0.0f << 0.1f << QList<int>{-120} << -1 << 1;
    QTest::newRow("whole dB step") << -3.0f << 1.0f << QList<int>{120, 120} << -10 << 2;
    QTest::newRow("step capped at the top") << 11.5f << 1.0f << QList<int>{120} << 120 << 1;
    QTest::newRow("at the top: nothing") << 12.0f << 0.1f << QList<int>{120} << 120 << 0;
    QTest::newRow("at the bottom: nothing") << -70.0f << 0.1f << QList<int>{-120} << -700 << 0;
    QTest::newRow("two notches at once") << 0.0f << 0.1f << QList<int>{240} << 2 << 1;
    // High-resolution wheels and touchpads: the parts add up to notches in
    // the direction turned; a half notch up never moves the fader down.
    QTest::newRow("half notch up: nothing yet") << 0.0f << 0.1f << QList<int>{60} << 0 << 0;
    QTest::newRow("two half notches up") << 0.0f << 0.1f << QList<int>{60, 60} << 1 << 1;
    QTest::newRow("half notches down") << 0.0f << 0.1f << QList<int>{-60, -60, -60} << -1 << 1;
    QTest::newRow("turning back starts over") << 0.0f << 0.1f << QList<int>{60, -60, 60} << 0 << 0;
    QTest::newRow("zero delta") << 0.0f << 0.1f << QList<int>{0} << 0 << 0;
}

void TestControls::faderWheel()
{
    QFETCH(float, start);
    QFETCH(float, step);
    QFETCH(QList<int>, deltas);
    QFETCH(int, scaled);
    QFETCH(int, emissions);
    QFader fader;
    setUpLevelFader(fader, start);
    fader.setStep(step);
    QSignalSpy spy(&fader, &QFader::valueChanged);
    for (int delta : deltas)
        wheel(&fader, delta);
    QCOMPARE(fader.value(), scaled);
    QCOMPARE(spy.count(), emissions);
    if (emissions > 0)
        QCOMPARE(spy.last().at(0).toFloat(), scaled / 10.0f);
}

// The fader and the delay slider step from the keyboard as from the wheel:
// an arrow key one step, Page Up/Down ten, nothing past either end; Tab
// reaches them, a click leaves the focus where it was.
void TestControls::sliderKeys_data()
{
    QTest::addColumn<bool>("fader");
    QTest::addColumn<float>("start");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("scaled");
    QTest::addColumn<int>("emissions");
    QTest::newRow("fader up") << true << 0.0f << QList<int>{Qt::Key_Up} << 1 << 1;
    QTest::newRow("fader right") << true << 0.0f << QList<int>{Qt::Key_Right} << 1 << 1;
    QTest::newRow("fader down, left") << true << 0.0f << QList<int>{Qt::Key_Down, Qt::Key_Left} << -2 << 2;
    QTest::newRow("fader page up") << true << -3.0f << QList<int>{Qt::Key_PageUp} << -20 << 1;
    QTest::newRow("fader page up stops at the top") << true << 11.5f << QList<int>{Qt::Key_PageUp} << 120 << 1;
    QTest::newRow("fader at the top: nothing") << true << 12.0f << QList<int>{Qt::Key_Up} << 120 << 0;
    QTest::newRow("fader page down at the bottom") << true << -70.0f << QList<int>{Qt::Key_PageDown} << -700 << 0;
    QTest::newRow("other keys do nothing") << true << 0.0f << QList<int>{Qt::Key_Home, Qt::Key_A} << 0 << 0;
    QTest::newRow("slider right") << false << 0.0f << QList<int>{Qt::Key_Right} << 1 << 1;
    QTest::newRow("slider left at zero") << false << 0.0f << QList<int>{Qt::Key_Left} << 0 << 0;
    QTest::newRow("slider page down") << false << 1.0f << QList<int>{Qt::Key_PageDown} << 90 << 1;
}

void TestControls::sliderKeys()
{
    QFETCH(bool, fader);
    QFETCH(float, start);
    QFETCH(QList<int>, keys);
    QFETCH(int, scaled);
    QFETCH(int, emissions);
    QScopedPointer<ScaledSlider> control;
    if (fader) {
        auto *f = new QFader;
        setUpLevelFader(*f, start);
        f->setStep(0.1f);
        control.reset(f);
    } else {
        auto *slider = new QHSlider;
        slider->setFixedSize(280, 40);
        slider->setRange(0, 1000);
        slider->setDecimals(2);
        slider->setStep(0.01f);
        slider->setValue(start);
        control.reset(slider);
    }
    QCOMPARE(control->focusPolicy(), Qt::TabFocus);
    QSignalSpy spy(control.data(), &ScaledSlider::valueChanged);
    for (int key : keys)
        QTest::keyClick(control.data(), Qt::Key(key));
    QCOMPARE(control->value(), scaled);
    QCOMPARE(spy.count(), emissions);
    if (emissions > 0)
        QCOMPARE(spy.last().at(0).toFloat(), control->valueInUnits());
}

// With the keyboard focus a ring is drawn round the handle, and only then.
void TestControls::sliderShowsKeyboardFocus()
{
    QWidget window;
    window.setFixedSize(120, 240);
    window.setStyleSheet(QStringLiteral("background-color: rgb(40, 40, 41);"));
    auto *before = new QLineEdit(&window);
    before->setGeometry(60, 0, 50, 20);
    auto *fader = new QFader(&window);
    fader->setGeometry(0, 0, 55, 230);
    setUpLevelFader(*fader, 0.0f);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    before->setFocus();
    const auto ringPixels = [&] {
        const QImage image = fader->grab().toImage();
        const QRect around = fader->handleRect().toAlignedRect().adjusted(-3, -3, 3, 3);
        int count = 0;
        for (int y = qMax(0, around.top()); y <= qMin(image.height() - 1, around.bottom()); ++y) {
            for (int x = qMax(0, around.left()); x <= qMin(image.width() - 1, around.right()); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += c.blue() > 150 && c.red() < 80;
            }
        }
        return count;
    };
    QCOMPARE(ringPixels(), 0);
    QTest::keyClick(before, Qt::Key_Tab);
    QVERIFY(fader->hasFocus());
    QVERIFY(ringPixels() > 40);
    if (!qEnvironmentVariableIsEmpty("ORVALIX_GRAB_DIR"))
        window.grab().save(qEnvironmentVariable("ORVALIX_GRAB_DIR") + QStringLiteral("/fader-focus.png"));
}

void TestControls::faderDrawsHandleAtValue()
{
    // The handle's centre line (the brightest row of the image) is drawn
    // where the geometry puts the handle.
    QWidget panel;
    panel.setFixedSize(55, 230);
    panel.setStyleSheet(QStringLiteral("background-color: rgb(40, 40, 41);"));
    auto *fader = new QFader(&panel);
    setUpLevelFader(*fader, -35.0f);
    const QImage image = panel.grab().toImage();
    const int top = qRound(fader->handleTopFor(fader->value()));
    int brightest = -1;
    int brightestRow = -1;
    for (int y = 0; y < 230; ++y) {
        const int lightness = qGray(image.pixel(22, y));
        if (lightness > brightest) {
            brightest = lightness;
            brightestRow = y;
        }
    }
    QCOMPARE(brightestRow, top + 21);
    QVERIFY(brightest > 200);
}

void TestControls::sliderRangePullsValueIn()
{
    QHSlider slider;
    slider.setFixedSize(280, 40);
    slider.setRange(0, 2000);
    slider.setValue(1500);
    slider.setDecimals(2);
    QCOMPARE(slider.value(), 150000);
    slider.setRange(0, 218);
    QCOMPARE(slider.value(), 21800);
    slider.setRange(0, 2000);
    QCOMPARE(slider.value(), 21800);
    QCOMPARE(slider.handleRect().x(), 258.0 * 21800 / 200000);
}

void TestControls::sliderDrag_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("scaled");
    QTest::addColumn<bool>("emitted");
    // At 0 the handle is 21.5 wide: v = (x - 10.75) 100000 / 258.5.
    QTest::newRow("middle") << 139 << 49613 << true;
    QTest::newRow("just right of the start") << 11 << 96 << true;
    QTest::newRow("left of the travel: unchanged") << 0 << 0 << false;
    QTest::newRow("right of the travel") << 280 << 100000 << true;
}

void TestControls::sliderDrag()
{
    QFETCH(int, x);
    QFETCH(int, scaled);
    QFETCH(bool, emitted);
    QHSlider slider;
    slider.setFixedSize(280, 40);
    slider.setRange(0, 1000);
    slider.setDecimals(2);
    QSignalSpy spy(&slider, &QHSlider::valueChanged);

    press(&slider, QPoint(100, 20));
    move(&slider, QPoint(x, 20));
    QCOMPARE(slider.value(), 0);

    press(&slider, QPoint(10, 20));
    move(&slider, QPoint(x, 20));
    QCOMPARE(slider.value(), scaled);
    QCOMPARE(spy.count(), emitted ? 1 : 0);
    if (emitted)
        QCOMPARE(spy.at(0).at(0).toFloat(), scaled / 100.0f);
}

void TestControls::sliderWheelAtEnds()
{
    QHSlider slider;
    slider.setFixedSize(280, 40);
    slider.setRange(0, 1000);
    slider.setDecimals(2);
    slider.setStep(0.01f);
    QSignalSpy spy(&slider, &QHSlider::valueChanged);
    wheel(&slider, -120);
    QCOMPARE(spy.count(), 0);
    wheel(&slider, 120);
    QCOMPARE(slider.value(), 1);
    QCOMPARE(spy.count(), 1);
    slider.setValue(1000);
    wheel(&slider, 120);
    QCOMPARE(slider.value(), 100000);
    QCOMPARE(spy.count(), 1);
}

void TestControls::knobDiagonalTravel()
{
    Knob knob;
    knob.setSize(1);
    QSignalSpy spy(&knob, &Knob::valueChanged);
    press(&knob, QPoint(35, 35));
    move(&knob, QPoint(135, 35));
    QCOMPARE(knob.value(), 0.5f);
    move(&knob, QPoint(135, -65));
    QCOMPARE(knob.value(), 1.0f);
    QCOMPARE(knob.angle(), 120.0);
    // Further travel at the end still reports the (unchanged) value.
    move(&knob, QPoint(145, -65));
    QCOMPARE(knob.value(), 1.0f);
    // Left and down subtract, from where the cursor is now.
    move(&knob, QPoint(45, 35));
    QCOMPARE(knob.value(), 0.0f);
    QCOMPARE(knob.angle(), -120.0);
    QCOMPARE(spy.count(), 4);
    QCOMPARE(spy.at(1).at(0).toFloat(), 1.0f);

    // A new press starts from its own point: no jump.
    knob.setMinimum(20);
    knob.setMaximum(20000);
    knob.setValue(10010);
    press(&knob, QPoint(10, 60));
    move(&knob, QPoint(11, 60));
    QCOMPARE(knob.value(), 10010.0f + 19980.0f * 0.005f);
}

void TestControls::knobWheel_data()
{
    QTest::addColumn<int>("delta");
    QTest::addColumn<float>("expected");
    // Range 0 .. 100, value 50, step 5.
    QTest::newRow("one notch up") << 120 << 55.0f;
    QTest::newRow("one notch down") << -120 << 45.0f;
    QTest::newRow("three notches") << 360 << 65.0f;
    QTest::newRow("half notch: unchanged") << 60 << 50.0f;
    QTest::newRow("almost two notches: one") << -239 << 45.0f;
    QTest::newRow("clamped") << 2400 << 100.0f;
}

void TestControls::knobWheel()
{
    QFETCH(int, delta);
    QFETCH(float, expected);
    Knob knob;
    knob.setMaximum(100);
    knob.setValue(50);
    knob.setStep(5);
    QSignalSpy spy(&knob, &Knob::valueChanged);
    wheel(&knob, delta);
    QCOMPARE(knob.value(), expected);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toFloat(), expected);
}

void TestControls::knobKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<float>("expected");
    QTest::addColumn<bool>("consumed");
    QTest::newRow("up") << int(Qt::Key_Up) << 51.0f << true;
    QTest::newRow("right") << int(Qt::Key_Right) << 51.0f << true;
    QTest::newRow("down") << int(Qt::Key_Down) << 49.0f << true;
    QTest::newRow("left") << int(Qt::Key_Left) << 49.0f << true;
    QTest::newRow("page up is not a knob key") << int(Qt::Key_PageUp) << 50.0f << false;
}

void TestControls::knobKeys()
{
    QFETCH(int, key);
    QFETCH(float, expected);
    QFETCH(bool, consumed);
    Knob knob;
    knob.setMaximum(100);
    knob.setValue(50);
    QVERIFY(knob.focusPolicy() & Qt::TabFocus);
    QVERIFY(knob.focusPolicy() & Qt::WheelFocus);
    QSignalSpy spy(&knob, &Knob::valueChanged);
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&knob, &event);
    QCOMPARE(event.isAccepted(), consumed);
    QCOMPARE(knob.value(), expected);
    QCOMPARE(spy.count(), consumed ? 1 : 0);
}

// One notch, key or stretch of drag on a linear knob and on a frequency
// knob (20 Hz - 20 kHz, logarithmic, 1 Hz resolution): Shift a tenth, Ctrl
// ten times. A frequency knob moves by ratios, 1/24 octave a notch, so the
// same travel crosses 20-200 Hz and 2-20 kHz (a third of the sweep is a
// decade).
void TestControls::knobStepsWithModifiers_data()
{
    QTest::addColumn<bool>("logarithmic");
    QTest::addColumn<QString>("input"); // wheel, key, drag or slow drag (pixels right)
    QTest::addColumn<int>("amount");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("expected");
    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    const int ctrl = Qt::ControlModifier;
    const QString w = QStringLiteral("wheel");
    const QString k = QStringLiteral("key");
    const QString d = QStringLiteral("drag");
    // Linear, range 0 .. 100, step 5; 200 pixels cross the range.
    QTest::newRow("linear notch") << false << w << 1 << none << 50.0 << 55.0;
    QTest::newRow("linear notch, Shift") << false << w << 1 << shift << 50.0 << 50.5;
    QTest::newRow("linear notch, Ctrl") << false << w << -1 << ctrl << 50.0 << 0.0;
    QTest::newRow("linear notch, both") << false << w << 1 << (shift | ctrl) << 50.0 << 55.0;
    QTest::newRow("linear key, Shift") << false << k << -1 << shift << 50.0 << 49.5;
    QTest::newRow("linear drag") << false << d << 20 << none << 50.0 << 60.0;
    QTest::newRow("linear drag, Shift") << false << d << 20 << shift << 50.0 << 51.0;
    QTest::newRow("linear drag, Ctrl") << false << d << 4 << ctrl << 50.0 << 70.0;
    // Logarithmic: a notch is 2^(1/24).
    const double notch = std::exp2(1.0 / 24);
    QTest::newRow("log notch at 1 kHz") << true << w << 1 << none << 1000.0 << 1000.0 * notch;
    QTest::newRow("log notch down at 1 kHz") << true << w << -1 << none << 1000.0 << 1000.0 / notch;
    QTest::newRow("log 24 notches: an octave") << true << w << 24 << none << 100.0 << 200.0;
    QTest::newRow("log notch, Shift") << true << w << 1 << shift << 10000.0 << 10000.0 * std::exp2(0.1 / 24);
    QTest::newRow("log notch, Ctrl") << true << w << 1 << ctrl << 1000.0 << 1000.0 * std::exp2(10.0 / 24);
    QTest::newRow("log key up") << true << k << 1 << none << 4000.0 << 4000.0 * notch;
    // Near 20 Hz a notch is below the 1 Hz the pages keep: 1 Hz instead.
    QTest::newRow("log notch at 20 Hz") << true << w << 1 << none << 20.0 << 21.0;
    QTest::newRow("log fine notch at 100 Hz") << true << w << -1 << shift << 100.0 << 99.0;
    QTest::newRow("log clamped at the top") << true << w << 3 << ctrl << 15000.0 << 20000.0;
    QTest::newRow("log drag 20 to 200 Hz") << true << d << 66 << none << 20.0 << 20.0 * std::pow(1000.0, 0.33);
    QTest::newRow("log drag 2 to 20 kHz") << true << d << 66 << none << 2000.0 << 2000.0 * std::pow(1000.0, 0.33);
    QTest::newRow("log drag, Shift") << true << d << 66 << shift << 2000.0 << 2000.0 * std::pow(1000.0, 0.033);
    // A pixel at a time, with the page putting whole hertz back after each
    // move: the drag still adds up.
    const QString s = QStringLiteral("slow drag");
    QTest::newRow("slow drag up from 20 Hz") << true << s << 10 << none << 20.0
                                             << std::trunc(20 * std::pow(1000.0, 0.05));
    QTest::newRow("slow fine drag, 100 Hz") << true << s << 10 << shift << 100.0
                                            << std::trunc(100 * std::pow(1000.0, 0.005));
    QTest::newRow("slow fine drag down") << true << s << -20 << shift << 300.0
                                         << std::trunc(300 * std::pow(1000.0, -0.01));
}

void TestControls::knobStepsWithModifiers()
{
    QFETCH(bool, logarithmic);
    QFETCH(QString, input);
    QFETCH(int, amount);
    QFETCH(int, modifiers);
    QFETCH(double, start);
    QFETCH(double, expected);
    Knob knob;
    knob.setSize(1);
    if (logarithmic) {
        knob.setMinimum(20);
        knob.setMaximum(20000);
        knob.setLogarithmic(true);
        knob.setResolution(1.0f);
    } else {
        knob.setMaximum(100);
        knob.setStep(5);
    }
    knob.setValue(float(start));
    QSignalSpy spy(&knob, &Knob::valueChanged);
    const auto mods = Qt::KeyboardModifiers(modifiers);
    if (input == QLatin1String("wheel")) {
        wheel(&knob, 120 * amount, mods);
    } else if (input == QLatin1String("key")) {
        QKeyEvent event(QEvent::KeyPress, amount > 0 ? Qt::Key_Up : Qt::Key_Down, mods);
        QApplication::sendEvent(&knob, &event);
    } else {
        const bool slow = input == QLatin1String("slow drag");
        if (slow)
            connect(&knob, &Knob::valueChanged, &knob, [&knob](float v) { knob.setValue(std::trunc(v)); });
        press(&knob, QPoint(10, 35));
        const int direction = amount > 0 ? 1 : -1;
        for (int i = slow ? 1 : std::abs(amount); i <= std::abs(amount); ++i) {
            const QPoint to(10 + direction * i, 35);
            QMouseEvent event(QEvent::MouseMove, to, knob.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, mods);
            QApplication::sendEvent(&knob, &event);
        }
    }
    QCOMPARE(spy.count(), input == QLatin1String("slow drag") ? std::abs(amount) : 1);
    QVERIFY2(std::abs(double(knob.value()) - expected) <= expected * 1e-5,
             qPrintable(QStringLiteral("%1 instead of %2").arg(double(knob.value())).arg(expected)));
    if (logarithmic) {
        const double position = std::log(double(knob.value()) / 20.0) / std::log(1000.0);
        QVERIFY(std::abs(double(knob.position()) - position) < 1e-5);
    }
}

// The fader and the slider with modifiers: a -70 .. +12 dB fader stepping
// 0.1 dB (one scaled unit) and a 0 .. 1000 ms slider stepping 1 ms. Fine
// steps below the scaled unit add up, so ten Shift notches make one step.
void TestControls::scaledStepsWithModifiers_data()
{
    QTest::addColumn<bool>("fader");
    QTest::addColumn<int>("notches"); // each a separate wheel event
    QTest::addColumn<int>("key");     // 0: wheel
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("scaled");
    QTest::addColumn<int>("emissions");
    const int shift = Qt::ShiftModifier;
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("fader notch") << true << 1 << 0 << int(Qt::NoModifier) << 1 << 1;
    QTest::newRow("fader Ctrl notch") << true << 1 << 0 << ctrl << 10 << 1;
    QTest::newRow("fader Ctrl notches down") << true << -3 << 0 << ctrl << -30 << 3;
    QTest::newRow("fader Shift: nine notches") << true << 9 << 0 << shift << 0 << 0;
    QTest::newRow("fader Shift: ten notches") << true << 10 << 0 << shift << 1 << 1;
    QTest::newRow("fader Shift down: ten notches") << true << -10 << 0 << shift << -1 << 1;
    QTest::newRow("fader Ctrl Page Up") << true << 1 << int(Qt::Key_PageUp) << ctrl << 100 << 1;
    QTest::newRow("fader Ctrl to the top") << true << 20 << int(Qt::Key_Up) << ctrl << 120 << 12;
    QTest::newRow("slider notch") << false << 1 << 0 << int(Qt::NoModifier) << 501 << 1;
    QTest::newRow("slider Ctrl notch") << false << 1 << 0 << ctrl << 510 << 1;
    QTest::newRow("slider Shift key: ten") << false << 10 << int(Qt::Key_Right) << shift << 501 << 1;
    QTest::newRow("slider Shift and Ctrl") << false << -1 << 0 << (shift | ctrl) << 499 << 1;
}

void TestControls::scaledStepsWithModifiers()
{
    QFETCH(bool, fader);
    QFETCH(int, notches);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, scaled);
    QFETCH(int, emissions);
    QFader levelFader;
    setUpLevelFader(levelFader, 0.0f);
    QHSlider slider;
    slider.setFixedSize(300, 40);
    slider.setRange(0, 1000);
    slider.setValue(500);
    slider.setStep(1.0f);
    ScaledSlider *control = fader ? static_cast<ScaledSlider *>(&levelFader) : &slider;
    QSignalSpy spy(control, &ScaledSlider::valueChanged);
    for (int i = 0; i < std::abs(notches); ++i) {
        if (key) {
            const int k = notches > 0 ? key : (key == Qt::Key_PageUp ? Qt::Key_PageDown : Qt::Key_Down);
            QKeyEvent event(QEvent::KeyPress, k, Qt::KeyboardModifiers(modifiers));
            QApplication::sendEvent(control, &event);
        } else {
            wheel(control, notches > 0 ? 120 : -120, Qt::KeyboardModifiers(modifiers));
        }
    }
    QCOMPARE(control->value(), scaled);
    QCOMPARE(spy.count(), emissions);
}

// A 300-pixel 0 .. 1000 slider at 500, its handle centred on x = 150: a
// plain drag puts the value under the cursor, a Shift drag moves a tenth of
// that and stays relative to the cursor until the button is released.
void TestControls::sliderFineDrag_data()
{
    QTest::addColumn<QList<int>>("moves"); // x, modifiers pairs
    QTest::addColumn<int>("expected");
    const int shift = Qt::ShiftModifier;
    const int none = Qt::NoModifier;
    QTest::newRow("plain") << QList<int>{250, none} << 859;
    QTest::newRow("Shift") << QList<int>{250, shift} << 535;
    QTest::newRow("Shift back") << QList<int>{50, shift} << 464;
    QTest::newRow("Shift, then plain stays relative") << QList<int>{250, shift, 260, none} << 571;
}

void TestControls::sliderFineDrag()
{
    QFETCH(QList<int>, moves);
    QFETCH(int, expected);
    QHSlider slider;
    slider.setFixedSize(300, 40);
    slider.setRange(0, 1000);
    slider.setValue(500);
    QCOMPARE(slider.handleRect().center().x(), 150.0);
    press(&slider, QPoint(150, 20));
    for (int i = 0; i + 1 < moves.size(); i += 2) {
        const QPoint to(moves.at(i), 20);
        QMouseEvent event(QEvent::MouseMove, to, slider.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                          Qt::KeyboardModifiers(moves.at(i + 1)));
        QApplication::sendEvent(&slider, &event);
    }
    release(&slider, QPoint(moves.at(moves.size() - 2), 20));
    QCOMPARE(slider.value(), expected);
}

// A locked control is painted faded, as the style sheet greys buttons.
void TestControls::lockedControlsLookDisabled_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("knob") << QStringLiteral("knob");
    QTest::newRow("fader") << QStringLiteral("fader");
    QTest::newRow("slider") << QStringLiteral("slider");
}

void TestControls::lockedControlsLookDisabled()
{
    QFETCH(QString, kind);
    std::unique_ptr<QWidget> control;
    if (kind == QLatin1String("knob")) {
        auto *knob = new Knob;
        knob->setSize(1);
        knob->setValue(0.5f);
        control.reset(knob);
    } else if (kind == QLatin1String("fader")) {
        auto *fader = new QFader;
        setUpLevelFader(*fader, 0.0f);
        control.reset(fader);
    } else {
        auto *slider = new QHSlider;
        slider->setFixedSize(300, 40);
        slider->setRange(0, 1000);
        slider->setValue(500);
        control.reset(slider);
    }
    const double enabled = meanBrightness(control.get());
    control->setEnabled(false);
    const double disabled = meanBrightness(control.get());
    QVERIFY2(enabled > 5.0, qPrintable(QString::number(enabled)));
    QVERIFY2(disabled < enabled * 0.5, qPrintable(QStringLiteral("%1 vs %2").arg(disabled).arg(enabled)));
}

void TestControls::knobSetValueClampsAndIgnoresNaN()
{
    Knob knob;
    knob.setMinimum(-12);
    knob.setMaximum(12);
    knob.setValue(30);
    QCOMPARE(knob.value(), 12.0f);
    QCOMPARE(knob.position(), 1.0f);
    knob.setValue(-30);
    QCOMPARE(knob.value(), -12.0f);
    knob.setValue(6);
    QCOMPARE(knob.position(), 0.75f);
    knob.setValue(std::numeric_limits<float>::quiet_NaN());
    QCOMPARE(knob.value(), 6.0f);
    // A range without width draws the indicator at the start, not NaN.
    knob.setMaximum(-12);
    knob.setValue(0);
    QCOMPARE(knob.position(), 0.0f);
}

void TestControls::knobSizes()
{
    Knob knob;
    knob.setSize(0);
    QCOMPARE(knob.size(), 0);
    QCOMPARE(knob.minimumSize(), QSize(50, 50));
    QCOMPARE(knob.maximumSize(), QSize(50, 50));
    knob.setSize(3);
    QCOMPARE(knob.size(), 0);
    QCOMPARE(knob.maximumSize(), QSize(50, 50));
    knob.setSize(2);
    QCOMPARE(knob.maximumSize(), QSize(100, 100));
}

void TestControls::knobImagesMatch()
{
    const char *const pairs[][2] = {{":/resource/KnobBaseSmall", ":/resource/KnobIndicatorSmall"},
                                    {":/resource/KnobBase", ":/resource/KnobIndicator"},
                                    {":/resource/KnobBaseLarge", ":/resource/KnobIndicatorLarge"}};
    const int sizes[] = {50, 70, 100};
    for (int i = 0; i < 3; ++i) {
        const QImage base(QLatin1String(pairs[i][0]));
        const QImage indicator(QLatin1String(pairs[i][1]));
        QCOMPARE(base.size(), QSize(sizes[i], sizes[i]));
        QCOMPARE(indicator.size(), base.size());
    }
    QVERIFY(!QImage(QStringLiteral(":/resource/Fader_Q2")).isNull());
    QVERIFY(!QImage(QStringLiteral(":/resource/ComboArrow")).isNull());

    // The indicator turns: at the minimum it points down-left, at the
    // maximum down-right, and the two drawings differ only there.
    Knob knob;
    knob.setSize(2);
    knob.setValue(0);
    const QImage atMinimum = knob.grab().toImage();
    knob.setValue(1);
    const QImage atMaximum = knob.grab().toImage();
    QVERIFY(atMinimum != atMaximum);
    QVERIFY(qGray(atMinimum.pixel(29, 62)) > qGray(atMaximum.pixel(29, 62)) + 80);
    QVERIFY(qGray(atMaximum.pixel(70, 62)) > qGray(atMinimum.pixel(70, 62)) + 80);
}

void TestControls::meterClampsAndSkipsEqualRepaint()
{
    QMeterWidget meter;
    meter.setFixedSize(24, 220);
    meter.setSegmentCount(45);
    meter.setRange(-60, 24);
    meter.setValue(100);
    QCOMPARE(meter.value(), 24);
    meter.setValue(-100);
    QCOMPARE(meter.value(), -60);

    meter.show();
    QVERIFY(QTest::qWaitForWindowExposed(&meter));
    QCoreApplication::processEvents();
    PaintCounter counter;
    meter.installEventFilter(&counter);
    meter.setValue(-60);
    meter.setValue(-75);
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 0);
    meter.setValue(-20);
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 1);
}

void TestControls::meterSegmentColours_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("topDown");
    QTest::addColumn<int>("segment");
    QTest::addColumn<QColor>("colour");
    // -60 .. +24 over 45 segments, warning from 0 dB: segment 32 is the last
    // below the warning level (45 * 60 / 84 = 32.14).
    const QColor green(0, 255, 0), darkGreen(38, 90, 41), yellow(255, 255, 0), darkYellow(84, 87, 39);
    QTest::newRow("0 dB: last normal segment lit") << 0 << false << 32 << green;
    QTest::newRow("0 dB: first warning segment dark") << 0 << false << 33 << darkYellow;
    QTest::newRow("+24: warning segment lit") << 24 << false << 33 << yellow;
    QTest::newRow("+24: top segment lit") << 24 << false << 44 << yellow;
    QTest::newRow("-60: bottom segment dark") << -60 << false << 0 << darkGreen;
    QTest::newRow("-59: bottom segment lit") << -59 << false << 0 << green;
    QTest::newRow("-30: segment 16 lit") << -30 << false << 16 << green;
    QTest::newRow("-30: segment 17 dark") << -30 << false << 17 << darkGreen;
    QTest::newRow("top-down: first segment at the top") << -59 << true << 0 << green;
    QTest::newRow("top-down: last segment dark") << -59 << true << 44 << darkYellow;
}

void TestControls::meterSegmentColours()
{
    QFETCH(int, value);
    QFETCH(bool, topDown);
    QFETCH(int, segment);
    QFETCH(QColor, colour);
    QMeterWidget meter;
    meter.setFixedSize(24, 220);
    meter.setSegmentCount(45);
    meter.setRange(-60, 24);
    meter.setTopDown(topDown);
    meter.setValue(value);
    QCOMPARE(meter.segmentColour(segment), colour);

    const QImage image = meter.grab().toImage();
    const double centre = meter.segmentTop(segment) + meter.segmentHeight() / 2;
    QCOMPARE(QColor(image.pixel(12, int(centre))), colour);
    // The first segment sits at the end the bar grows from.
    QCOMPARE(meter.segmentTop(0) < 110, topDown);
    QCOMPARE(QColor(image.pixel(12, int(meter.segmentTop(0) + meter.segmentHeight() + 0.5))), QColor(Qt::black));
}

void TestControls::doubleLabelReportsEveryButton()
{
    QDoubleLabel label(QStringLiteral("-60dB"));
    QSignalSpy spy(&label, &QDoubleLabel::DoubleClick);
    QTest::mouseDClick(&label, Qt::LeftButton);
    QTest::mouseDClick(&label, Qt::RightButton);
    QCOMPARE(spy.count(), 2);
    QTest::mouseClick(&label, Qt::LeftButton);
    QCOMPARE(spy.count(), 2);
}

void TestControls::dragScrollThreshold_data()
{
    QTest::addColumn<QPoint>("firstStep");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("9 and 9: jitter") << QPoint(9, 9) << false;
    QTest::newRow("-9 and -9: jitter") << QPoint(-9, -9) << false;
    QTest::newRow("10 right") << QPoint(10, 0) << true;
    QTest::newRow("10 up") << QPoint(0, -10) << true;
    QTest::newRow("10 left, 3 down") << QPoint(-10, 3) << true;
}

void TestControls::dragScrollThreshold()
{
    QFETCH(QPoint, firstStep);
    QFETCH(bool, scrolls);
    DragScrollArea area;
    area.resize(200, 200);
    auto *content = new MoveRecorder;
    content->setMinimumSize(800, 800);
    area.setWidget(content);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    area.horizontalScrollBar()->setValue(300);
    area.verticalScrollBar()->setValue(300);

    const QPoint start(500, 500);
    auto moveTo = [&](QPoint global) {
        sendMouse(content, QEvent::MouseMove, content->mapFromGlobal(global), Qt::NoButton, Qt::LeftButton, global);
    };
    sendMouse(content, QEvent::MouseButtonPress, content->mapFromGlobal(start), Qt::LeftButton, Qt::LeftButton, start);
    moveTo(start);
    QCOMPARE(content->moves, 0);

    moveTo(start + firstStep);
    const QPoint scrolled(300 - (scrolls ? firstStep.x() : 0), 300 - (scrolls ? firstStep.y() : 0));
    QCOMPARE(area.horizontalScrollBar()->value(), scrolled.x());
    QCOMPARE(area.verticalScrollBar()->value(), scrolled.y());
    QCOMPARE(area.isDragging(), scrolls);
    // Jitter still reaches the content; a drag is taken by the area.
    QCOMPARE(content->moves, scrolls ? 0 : 1);

    if (scrolls) {
        // Once dragging, every move scrolls, however small.
        moveTo(start + firstStep + QPoint(1, 1));
        QCOMPARE(area.horizontalScrollBar()->value(), scrolled.x() - 1);
        QCOMPARE(area.verticalScrollBar()->value(), scrolled.y() - 1);
    }

    sendMouse(content, QEvent::MouseButtonRelease, content->mapFromGlobal(start), Qt::LeftButton, Qt::NoButton,
              start);
    // A move after the release with the button down again begins afresh.
    const int before = area.horizontalScrollBar()->value();
    moveTo(start + QPoint(50, 0));
    QCOMPARE(area.horizontalScrollBar()->value(), before);
}

void TestControls::dragScrollIgnoresScrollBars()
{
    DragScrollArea area;
    area.resize(200, 200);
    auto *content = new MoveRecorder;
    content->setMinimumSize(800, 800);
    area.setWidget(content);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    area.verticalScrollBar()->setValue(100);

    // A left-button move over the scroll bar is the bar's business.
    QScrollBar *bar = area.horizontalScrollBar();
    sendMouse(bar, QEvent::MouseMove, QPoint(5, 5), Qt::NoButton, Qt::LeftButton, bar->mapToGlobal(QPoint(5, 5)));
    // So the next move over the content is the first of a gesture.
    const QPoint global = content->mapToGlobal(QPoint(50, 50));
    sendMouse(content, QEvent::MouseMove, QPoint(50, 50), Qt::NoButton, Qt::LeftButton, global + QPoint(0, 40));
    QCOMPARE(area.verticalScrollBar()->value(), 100);
    QVERIFY(!area.isDragging());
}

void TestControls::accessibleNamesAndValues()
{
    Knob knob;
    knob.setMinimum(20);
    knob.setMaximum(20000);
    knob.setValue(1000);
    knob.setAccessibleName(QStringLiteral("High-pass frequency"));
    QFader fader;
    setUpLevelFader(fader, -6.5f);
    fader.setAccessibleName(QStringLiteral("IN A gain"));
    QMeterWidget meter;
    meter.setRange(-60, 24);
    meter.setValue(-18);
    meter.setAccessibleName(QStringLiteral("IN A level"));

    struct Expected
    {
        QWidget *widget;
        QAccessible::Role role;
        QString name;
        double value;
        double minimum;
        double maximum;
    };
    const Expected expected[] = {
        {&knob, QAccessible::Dial, QStringLiteral("High-pass frequency"), 1000, 20, 20000},
        {&fader, QAccessible::Slider, QStringLiteral("IN A gain"), -6.5, -70, 12},
        {&meter, QAccessible::ProgressBar, QStringLiteral("IN A level"), -18, -60, 24},
    };
    for (const Expected &e : expected) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(e.widget);
        QVERIFY(iface);
        QCOMPARE(iface->role(), e.role);
        QCOMPARE(iface->text(QAccessible::Name), e.name);
        QAccessibleValueInterface *value = iface->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toDouble(), e.value);
        QCOMPARE(value->minimumValue().toDouble(), e.minimum);
        QCOMPARE(value->maximumValue().toDouble(), e.maximum);
    }
}

// A screen reader's value goes through the operator's path: clamped,
// rounded to the control's unit, reported once; locked controls keep theirs.
void TestControls::assistiveValueSet_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QVariant>("requested");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("reports");
    QTest::newRow("knob") << "knob" << "" << QVariant(2500) << 2500.0 << 1;
    QTest::newRow("knob clamps") << "knob" << "" << QVariant(1e9) << 20000.0 << 1;
    QTest::newRow("knob unchanged: no report") << "knob" << "" << QVariant(1000) << 1000.0 << 0;
    QTest::newRow("fader rounds to tenths") << "fader" << "" << QVariant(-12.34) << -12.3 << 1;
    QTest::newRow("fader clamps") << "fader" << "" << QVariant(-500) << -70.0 << 1;
    QTest::newRow("fader text number") << "fader" << "" << QVariant(QStringLiteral("3.5")) << 3.5 << 1;
    QTest::newRow("fader not a number") << "fader" << "" << QVariant(QStringLiteral("loud")) << -6.5 << 0;
    QTest::newRow("fader NaN") << "fader" << "" << QVariant(qQNaN()) << -6.5 << 0;
    QTest::newRow("slider clamps") << "slider" << "" << QVariant(250) << 100.0 << 1;
    QTest::newRow("read-only lock") << "fader" << "disabled" << QVariant(0) << -6.5 << 0;
    QTest::newRow("hidden lock") << "knob" << "hidden" << QVariant(2500) << 1000.0 << 0;
}

void TestControls::assistiveValueSet()
{
    QFETCH(QString, control);
    QFETCH(QString, state);
    QFETCH(QVariant, requested);
    QFETCH(double, expected);
    QFETCH(int, reports);
    QWidget window;
    auto *knob = new Knob(&window);
    knob->setMinimum(20);
    knob->setMaximum(20000);
    knob->setValue(1000);
    auto *fader = new QFader(&window);
    setUpLevelFader(*fader, -6.5f);
    auto *slider = new QHSlider(&window);
    slider->setRange(0, 100);
    slider->setValue(10);
    QWidget *target = control == QLatin1String("knob") ? static_cast<QWidget *>(knob)
                      : control == QLatin1String("fader") ? static_cast<QWidget *>(fader)
                                                          : static_cast<QWidget *>(slider);
    target->setEnabled(state != QLatin1String("disabled"));
    target->setHidden(state == QLatin1String("hidden"));
    window.show();
    QSignalSpy knobSpy(knob, &Knob::valueChanged);
    QSignalSpy faderSpy(fader, &QFader::valueChanged);
    QSignalSpy sliderSpy(slider, &QHSlider::valueChanged);

    QAccessibleValueInterface *value = QAccessible::queryAccessibleInterface(target)->valueInterface();
    value->setCurrentValue(requested);

    QCOMPARE(value->currentValue().toFloat(), float(expected));
    QCOMPARE(knobSpy.size() + faderSpy.size() + sliderSpy.size(), reports);
    if (reports)
        QCOMPARE(qvariant_cast<float>(
                     (knobSpy.isEmpty() ? faderSpy.isEmpty() ? sliderSpy : faderSpy : knobSpy).first().first()),
                 float(expected));
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
