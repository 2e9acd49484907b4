// Paint cost of the custom controls, rendered offscreen into an image the
// way a window's backing store is painted: a meter (repainted for every
// level report on twelve channels), a fader with its cached scale against
// one whose scale is redrawn every time, and a knob.
// Run with QT_QPA_PLATFORM=offscreen.

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <cstdio>

#include "ui/controls/knob.h"
#include "ui/controls/qfader.h"
#include "ui/controls/qmeterwidget.h"
#include "ui/resources/resources.h"

namespace {

template<typename Step>
double microsecondsPerPaint(QWidget &widget, int rounds, Step step)
{
    QImage target(widget.size(), QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::black);
    for (int i = 0; i < 50; ++i) {
        step(i);
        widget.render(&target);
    }
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i) {
        step(i);
        widget.render(&target);
    }
    return timer.nsecsElapsed() / 1000.0 / rounds;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Resources::init();
    const int rounds = 5000;

    QMeterWidget meter;
    meter.setFixedSize(24, 220);
    meter.setSegmentCount(45);
    meter.setRange(-60, 24);
    const double meterUs = microsecondsPerPaint(meter, rounds, [&](int i) { meter.setValue(-60 + i % 85); });

    QFader fader;
    fader.setFixedSize(55, 230);
    fader.setRange(-70, 12);
    fader.setDecimals(1);
    const double faderUs = microsecondsPerPaint(fader, rounds, [&](int i) { fader.setValue(-70.0f + (i % 820) / 10.0f); });
    const QColor colours[] = {QColor(171, 171, 171), QColor(170, 171, 171)};
    const double faderUncachedUs = microsecondsPerPaint(fader, rounds, [&](int i) {
        fader.setScaleColour(colours[i % 2]);
        fader.setValue(-70.0f + (i % 820) / 10.0f);
    });

    Knob knob;
    knob.setSize(1);
    knob.setMaximum(1.0f);
    const double knobUs = microsecondsPerPaint(knob, rounds, [&](int i) { knob.setValue((i % 100) / 100.0f); });

    std::printf("meter 24x220, 45 segments: %8.1f us per paint\n", meterUs);
    std::printf("  twelve meters: %.2f%% of a 20 ms tick\n", 12 * meterUs / 20000.0 * 100.0);
    std::printf("fader 55x230, cached scale: %7.1f us per paint\n", faderUs);
    std::printf("fader, scale redrawn:       %7.1f us per paint (cache saves %.1fx)\n", faderUncachedUs,
                faderUncachedUs / faderUs);
    std::printf("knob 70x70:                 %7.1f us per paint\n", knobUs);
    return 0;
}
