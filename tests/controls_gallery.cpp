// Renders the custom controls at typical values into PNG files, on the dark
// theme's panels, for reviewing their look.
// Usage: orvalix-gallery OUTPUT_DIR   (QT_QPA_PLATFORM=offscreen works)

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

#include "ui/controls/knob.h"
#include "ui/controls/qdoublelabel.h"
#include "ui/controls/qfader.h"
#include "ui/controls/qhslider.h"
#include "ui/controls/qmeterwidget.h"
#include "ui/resources/resources.h"

namespace {

QWidget *makePage(const QString &name)
{
    auto *page = new QWidget;
    page->setObjectName(name);
    page->setAttribute(Qt::WA_StyledBackground);
    page->setStyleSheet(QStringLiteral("QWidget#%1{background-color:black;}"
                                       "QWidget#panel{background-color:rgb(40,40,41);border-radius:4px;}"
                                       "QLabel{color:rgb(167,167,167);font-family:Arial;}")
                            .arg(name));
    return page;
}

QWidget *makePanel(QWidget *page)
{
    auto *panel = new QWidget(page);
    panel->setObjectName(QStringLiteral("panel"));
    panel->setAttribute(Qt::WA_StyledBackground);
    return panel;
}

QLabel *caption(const QString &text)
{
    auto *label = new QLabel(text);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// Writes the page, and a three times enlarged copy (no smoothing) for
// judging the pixels.
bool save(QWidget *page, const QString &dir, const QString &name)
{
    page->adjustSize();
    page->show();
    QApplication::processEvents();
    const QPixmap shot = page->grab();
    const QString base = dir + QLatin1Char('/') + name;
    bool ok = shot.save(base + QStringLiteral(".png"), "PNG");
    ok = shot.scaled(shot.size() * 3).save(base + QStringLiteral("-x3.png"), "PNG") && ok;
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(name));
    return ok;
}

QWidget *knobs()
{
    QWidget *page = makePage(QStringLiteral("knobPage"));
    auto *outer = new QVBoxLayout(page);
    QWidget *panel = makePanel(page);
    outer->addWidget(panel);
    auto *grid = new QGridLayout(panel);
    grid->setSpacing(14);
    const float positions[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    for (int size = 0; size < 3; ++size) {
        for (int i = 0; i < 5; ++i) {
            auto *knob = new Knob(panel);
            knob->setSize(size);
            knob->setMinimum(20);
            knob->setMaximum(20000);
            knob->setValue(20 + positions[i] * (20000 - 20));
            grid->addWidget(knob, size * 2, i, Qt::AlignCenter);
            if (size == 2)
                grid->addWidget(caption(QString::number(int(positions[i] * 100)) + QLatin1Char('%')), size * 2 + 1, i);
        }
    }
    return page;
}

QWidget *faders()
{
    QWidget *page = makePage(QStringLiteral("faderPage"));
    auto *outer = new QVBoxLayout(page);
    QWidget *panel = makePanel(page);
    outer->addWidget(panel);
    auto *row = new QHBoxLayout(panel);
    const float values[] = {12.0f, 0.0f, -10.0f, -35.5f, -70.0f};
    for (float value : values) {
        auto *column = new QVBoxLayout;
        auto *fader = new QFader(panel);
        fader->setFixedSize(55, 230);
        fader->setRange(-70, 12);
        fader->setValue(value);
        fader->setDecimals(1);
        fader->setStep(0.1f);
        column->addWidget(caption(QString::number(double(value), 'f', 1)));
        column->addWidget(fader);
        row->addLayout(column);
    }
    return page;
}

QWidget *sliders()
{
    QWidget *page = makePage(QStringLiteral("sliderPage"));
    auto *outer = new QVBoxLayout(page);
    QWidget *panel = makePanel(page);
    outer->addWidget(panel);
    auto *column = new QVBoxLayout(panel);
    const float values[] = {0.0f, 250.0f, 1000.0f};
    for (float value : values) {
        auto *line = new QHBoxLayout;
        auto *title = caption(QString::number(double(value)) + QStringLiteral(" ms"));
        title->setFixedWidth(70);
        auto *slider = new QHSlider(panel);
        slider->setFixedSize(280, 40);
        slider->setRange(0, 1000);
        slider->setValue(value);
        slider->setDecimals(2);
        slider->setStep(0.01f);
        line->addWidget(title);
        line->addWidget(slider);
        column->addLayout(line);
    }
    return page;
}

QWidget *meters()
{
    QWidget *page = makePage(QStringLiteral("meterPage"));
    auto *outer = new QVBoxLayout(page);
    QWidget *panel = makePanel(page);
    outer->addWidget(panel);
    auto *row = new QHBoxLayout(panel);
    row->setSpacing(16);
    const int levels[] = {-60, -30, -6, 0, 9, 24};
    for (int level : levels) {
        auto *column = new QVBoxLayout;
        auto *meter = new QMeterWidget(panel);
        meter->setFixedSize(24, 220);
        meter->setSegmentCount(45);
        meter->setRange(-60, 24);
        meter->setValue(level);
        column->addWidget(caption(QString::number(level) + QStringLiteral("dB")));
        column->addWidget(meter, 0, Qt::AlignHCenter);
        row->addLayout(column);
    }
    auto *column = new QVBoxLayout;
    auto *reduction = new QMeterWidget(panel);
    reduction->setFixedSize(20, 220);
    reduction->setSegmentCount(45);
    reduction->setRange(0, 35);
    reduction->setTopDown(true);
    reduction->setValue(12);
    column->addWidget(caption(QStringLiteral("GR 12")));
    column->addWidget(reduction, 0, Qt::AlignHCenter);
    row->addLayout(column);
    return page;
}

// A level strip as the level pages arrange it, with a double-click label and
// a combo box showing the style sheet's arrow.
QWidget *strip()
{
    QWidget *page = makePage(QStringLiteral("stripPage"));
    auto *outer = new QHBoxLayout(page);
    QWidget *panel = makePanel(page);
    outer->addWidget(panel);
    auto *grid = new QGridLayout(panel);
    grid->addWidget(caption(QStringLiteral("IN A")), 0, 0, 1, 2);
    auto *level = new QDoubleLabel(QStringLiteral("-12dB"), panel);
    level->setAlignment(Qt::AlignCenter);
    grid->addWidget(level, 1, 0);
    auto *meter = new QMeterWidget(panel);
    meter->setFixedSize(24, 220);
    meter->setSegmentCount(45);
    meter->setRange(-60, 24);
    meter->setValue(-12);
    grid->addWidget(meter, 2, 0, Qt::AlignHCenter);
    grid->addWidget(caption(QStringLiteral("Gain(dB)")), 1, 1);
    auto *fader = new QFader(panel);
    fader->setFixedSize(55, 230);
    fader->setRange(-70, 12);
    fader->setValue(-3.5f);
    fader->setDecimals(1);
    grid->addWidget(fader, 2, 1);

    auto *controls = new QVBoxLayout;
    auto *combo = new QComboBox(panel);
    combo->addItems({QStringLiteral("Butterworth"), QStringLiteral("Bessel")});
    controls->addWidget(combo);
    auto *knob = new Knob(panel);
    knob->setSize(1);
    knob->setMinimum(20);
    knob->setMaximum(20000);
    knob->setValue(1000);
    controls->addWidget(caption(QStringLiteral("Freq(Hz)")));
    controls->addWidget(knob, 0, Qt::AlignHCenter);
    controls->addStretch();
    grid->addLayout(controls, 2, 2);
    return page;
}

// Free and locked side by side: the top row as the operator can use it, the
// bottom row read-only; and a delay distance shown as text, not an entry.
QWidget *locked()
{
    QWidget *page = makePage(QStringLiteral("lockedPage"));
    auto *outer = new QVBoxLayout(page);
    QWidget *panel = makePanel(page);
    outer->addWidget(panel);
    auto *grid = new QGridLayout(panel);
    for (int row = 0; row < 2; ++row) {
        const bool enabled = row == 0;
        grid->addWidget(caption(enabled ? QStringLiteral("Free") : QStringLiteral("Read-only")), row, 0);
        auto *knob = new Knob(panel);
        knob->setSize(1);
        knob->setMinimum(20);
        knob->setMaximum(20000);
        knob->setLogarithmic(true);
        knob->setValue(1000);
        auto *fader = new QFader(panel);
        fader->setFixedSize(55, 160);
        fader->setRange(-70, 12);
        fader->setValue(-6.0f);
        auto *slider = new QHSlider(panel);
        slider->setFixedSize(200, 40);
        slider->setRange(0, 1000);
        slider->setValue(250);
        auto *button = new QPushButton(QStringLiteral("Enable"), panel);
        button->setCheckable(true);
        button->setChecked(true);
        auto *field = new QLineEdit(QStringLiteral("-6.0"), panel);
        field->setFixedWidth(64);
        auto *distance = new QLineEdit(QStringLiteral("85.750"), panel);
        distance->setObjectName(QStringLiteral("displayField"));
        distance->setReadOnly(true);
        distance->setFrame(false);
        distance->setFixedWidth(70);
        int column = 1;
        for (QWidget *w : std::initializer_list<QWidget *>{knob, fader, slider, button, field, distance}) {
            w->setEnabled(enabled);
            grid->addWidget(w, row, column++, Qt::AlignCenter);
        }
    }
    return page;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    Resources::applyStyleSheet(&app);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    bool ok = save(knobs(), dir, QStringLiteral("knobs"));
    ok = save(faders(), dir, QStringLiteral("faders")) && ok;
    ok = save(sliders(), dir, QStringLiteral("sliders")) && ok;
    ok = save(meters(), dir, QStringLiteral("meters")) && ok;
    ok = save(strip(), dir, QStringLiteral("strip")) && ok;
    ok = save(locked(), dir, QStringLiteral("locked")) && ok;
    return ok ? 0 : 1;
}
