// Draws the images of the custom controls: the knob base and indicator in
// three sizes, the fader handle and the combo-box arrow.
// Usage: orvalix-drawcontrols OUTPUT_DIR   (run with QT_QPA_PLATFORM=offscreen)
//
// The knob is drawn in two layers of the same size: the base (shadow, scale
// dots, knurled skirt, brushed cap, fixed highlight) stays still, and only
// the indicator layer is rotated by the widget, so the light keeps falling
// from the top while the knob turns.

#include <QConicalGradient>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <cstdio>

namespace {

// The indicator sweeps 240 degrees, from 120 left of top to 120 right of top.
constexpr qreal sweepStart = -120.0;
constexpr qreal sweep = 240.0;
constexpr int scaleDots = 11;

QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Radius of the turning cap relative to the image; the rest carries the scale.
qreal capRadius(int size)
{
    return size * 0.355;
}

QPointF polar(QPointF centre, qreal radius, qreal degreesFromTop)
{
    const qreal a = qDegreesToRadians(degreesFromTop);
    return centre + QPointF(radius * qSin(a), -radius * qCos(a));
}

QImage drawKnobBase(int size)
{
    QImage image = blankImage(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QPointF c(s / 2, s / 2);
    const qreal r = capRadius(size);

    // Scale: dots along the sweep, the end points slightly larger.
    p.setPen(Qt::NoPen);
    const qreal dotRadius = s * 0.455;
    for (int i = 0; i < scaleDots; ++i) {
        const bool end = i == 0 || i == scaleDots - 1;
        const qreal angle = sweepStart + sweep * i / (scaleDots - 1);
        const qreal d = qMax<qreal>(1.3, s * (end ? 0.034 : 0.024));
        p.setBrush(end ? QColor(150, 150, 152) : QColor(108, 108, 110));
        p.drawEllipse(polar(c, dotRadius, angle), d, d);
    }

    // Soft drop shadow below the knob.
    QRadialGradient shadow(c + QPointF(0, s * 0.035), r * 1.16);
    shadow.setColorAt(0.0, QColor(0, 0, 0, 190));
    shadow.setColorAt(0.80, QColor(0, 0, 0, 150));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setBrush(shadow);
    p.drawEllipse(c + QPointF(0, s * 0.035), r * 1.16, r * 1.16);

    // Skirt: a dark ring with fine knurling, lit from the top.
    QLinearGradient skirt(0, c.y() - r, 0, c.y() + r);
    skirt.setColorAt(0.0, QColor(78, 78, 80));
    skirt.setColorAt(0.5, QColor(38, 38, 40));
    skirt.setColorAt(1.0, QColor(18, 18, 19));
    p.setBrush(skirt);
    p.setPen(QPen(QColor(8, 8, 8), qMax<qreal>(1.0, s / 70)));
    p.drawEllipse(c, r, r);

    const int grooves = size >= 70 ? 60 : 40;
    const qreal inner = r * 0.86;
    for (int i = 0; i < grooves; ++i) {
        const qreal angle = 360.0 * i / grooves;
        // Grooves facing the light read brighter than those facing away.
        const qreal lit = (qCos(qDegreesToRadians(angle)) + 1) / 2;
        p.setPen(QPen(QColor(0, 0, 0, 70 + int(60 * (1 - lit))), qMax<qreal>(0.7, s / 110)));
        p.drawLine(polar(c, inner + 0.6, angle), polar(c, r - 0.8, angle));
    }

    // Cap: brushed metal (conical sheen) with a dome shade on top.
    const qreal capR = r * 0.80;
    QConicalGradient brushed(c, 90);
    const QColor dark(44, 44, 46), mid(62, 62, 65), light(92, 92, 96);
    brushed.setColorAt(0.00, mid);
    brushed.setColorAt(0.10, light);
    brushed.setColorAt(0.22, dark);
    brushed.setColorAt(0.38, mid);
    brushed.setColorAt(0.50, QColor(86, 86, 90));
    brushed.setColorAt(0.62, dark);
    brushed.setColorAt(0.78, mid);
    brushed.setColorAt(0.90, light);
    brushed.setColorAt(1.00, mid);
    p.setPen(QPen(QColor(14, 14, 15), qMax<qreal>(1.0, s / 90)));
    p.setBrush(brushed);
    p.drawEllipse(c, capR, capR);

    QRadialGradient dome(c + QPointF(0, -capR * 0.55), capR * 1.7);
    dome.setColorAt(0.0, QColor(255, 255, 255, 34));
    dome.setColorAt(0.45, QColor(255, 255, 255, 6));
    dome.setColorAt(0.75, QColor(0, 0, 0, 40));
    dome.setColorAt(1.0, QColor(0, 0, 0, 110));
    p.setPen(Qt::NoPen);
    p.setBrush(dome);
    p.drawEllipse(c, capR, capR);

    // Thin rim light along the top edge of the cap.
    QLinearGradient rim(0, c.y() - capR, 0, c.y() + capR);
    rim.setColorAt(0.0, QColor(190, 190, 195, 150));
    rim.setColorAt(0.5, QColor(190, 190, 195, 0));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(rim), qMax<qreal>(0.8, s / 100)));
    p.drawEllipse(c, capR - 0.5, capR - 0.5);
    return image;
}

QImage drawKnobIndicator(int size)
{
    QImage image = blankImage(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QPointF c(s / 2, s / 2);
    const qreal r = capRadius(size);
    const qreal width = qMax<qreal>(2.2, s * 0.05);
    const QPointF from(c.x(), c.y() - r * 0.30);
    const QPointF to(c.x(), c.y() - r * 0.93);

    // A dark bed under the line keeps it legible on the bright sheen.
    p.setPen(QPen(QColor(0, 0, 0, 150), width + 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    p.setPen(QPen(QColor(240, 243, 245), width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    return image;
}

// Fader cap, drawn at the handle's own size (20 x 43) so it stays crisp; the
// value is read at its centre line (row 21), which the scale ticks point at.
QImage drawFaderHandle()
{
    const int w = 20, h = 43, mid = h / 2;
    QImage image = blankImage(w, h);
    QPainter p(&image);

    // Body: the upper half slopes towards the light, the lower half away.
    QLinearGradient body(0, 0, 0, h);
    body.setColorAt(0.00, QColor(118, 118, 122));
    body.setColorAt(0.46, QColor(58, 58, 61));
    body.setColorAt(0.54, QColor(40, 40, 42));
    body.setColorAt(1.00, QColor(82, 82, 86));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(6, 6, 6), 1));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 2.5, 2.5);
    p.setRenderHint(QPainter::Antialiasing, false);

    // Grip ridges: a light and a dark row every three pixels.
    for (int y = 4; y < h - 3; y += 3) {
        if (qAbs(y - mid) < 4)
            continue;
        const bool upper = y < mid;
        p.setPen(QColor(255, 255, 255, upper ? 44 : 26));
        p.drawLine(2, y, w - 3, y);
        p.setPen(QColor(0, 0, 0, upper ? 70 : 90));
        p.drawLine(2, y + 1, w - 3, y + 1);
    }

    // Side bevels.
    p.setPen(QColor(255, 255, 255, 38));
    p.drawLine(1, 2, 1, h - 3);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawLine(w - 2, 2, w - 2, h - 3);

    // Centre line.
    p.setPen(QColor(12, 12, 12));
    p.drawLine(1, mid - 1, w - 2, mid - 1);
    p.drawLine(1, mid + 1, w - 2, mid + 1);
    p.setPen(QColor(245, 247, 248));
    p.drawLine(1, mid, w - 2, mid);
    return image;
}

QImage drawComboArrow()
{
    QImage image = blankImage(10, 6);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(171, 171, 171));
    QPainterPath path;
    path.moveTo(0.5, 0.5);
    path.lineTo(9.5, 0.5);
    path.lineTo(5.0, 5.5);
    path.closeSubpath();
    p.drawPath(path);
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    struct KnobSize
    {
        int pixels;
        const char *suffix;
    };
    const KnobSize sizes[] = {{50, "Small"}, {70, ""}, {100, "Large"}};
    bool ok = true;
    for (const KnobSize &k : sizes) {
        const QString suffix = *k.suffix ? QLatin1Char('-') + QString::fromLatin1(k.suffix).toLower() : QString();
        ok = drawKnobBase(k.pixels).save(dir + QStringLiteral("knob-base") + suffix + QStringLiteral(".png"), "PNG") && ok;
        ok = drawKnobIndicator(k.pixels).save(dir + QStringLiteral("knob-indicator") + suffix + QStringLiteral(".png"), "PNG") && ok;
    }
    ok = drawFaderHandle().save(dir + QStringLiteral("fader-handle.png"), "PNG") && ok;
    ok = drawComboArrow().save(dir + QStringLiteral("combo-arrow.png"), "PNG") && ok;
    return ok ? 0 : 1;
}
