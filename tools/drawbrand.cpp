// Draws the application icon and the logo shown above the device list.
// Usage: orvalix-drawbrand OUTPUT_DIR   (writes app.ico and logo.png)

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

static QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QLinearGradient body(0, 0, 0, s);
    body.setColorAt(0, QColor(58, 58, 60));
    body.setColorAt(1, QColor(22, 22, 23));
    p.setPen(QPen(QColor(10, 10, 10), s / 32));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.16, s * 0.16);

    // Eight output bars, like a row of meters.
    const int bars = 8;
    const qreal left = s * 0.18, width = s * 0.64, bottom = s * 0.82;
    const qreal gap = width / bars;
    const qreal heights[bars] = {0.35, 0.55, 0.72, 0.5, 0.62, 0.42, 0.28, 0.18};
    for (int i = 0; i < bars; ++i) {
        const qreal h = s * heights[i] * 0.8;
        QLinearGradient g(0, bottom - h, 0, bottom);
        g.setColorAt(0, QColor(90, 200, 235));
        g.setColorAt(1, QColor(21, 148, 192));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(left + i * gap + gap * 0.15, bottom - h, gap * 0.7, h), gap * 0.2, gap * 0.2);
    }
    return image;
}

static QImage drawLogo()
{
    QImage image(360, 120, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(40, 40, 41));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(QRectF(12, 16, 88, 88), drawIcon(176));
    QFont font(QStringLiteral("DejaVu Sans"), 40, QFont::Bold);
    p.setFont(font);
    p.setPen(QColor(228, 236, 238));
    p.drawText(QRectF(112, 18, 240, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orvalix"));
    QFont small(QStringLiteral("DejaVu Sans"), 13);
    p.setFont(small);
    p.setPen(QColor(21, 148, 192));
    p.drawText(QRectF(114, 74, 240, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("DSP CONTROL"));
    return image;
}

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    bool ok = drawIcon(64).save(dir + QStringLiteral("/app.ico"), "ICO");
    ok = drawIcon(256).save(dir + QStringLiteral("/app.png"), "PNG") && ok;
    ok = drawLogo().save(dir + QStringLiteral("/logo.png"), "PNG") && ok;
    return ok ? 0 : 1;
}
