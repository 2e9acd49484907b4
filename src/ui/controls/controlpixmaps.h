#pragma once

// Locked (disabled) controls are painted at this opacity over the dark page,
// so they read as disabled the way the style sheet greys buttons and fields.
constexpr double DisabledOpacity = 0.35;

#include <QHash>
#include <QObject>
#include <QPixmap>

// The images of the knobs and the fader handle, loaded once per size and
// shared by every control: a page holds dozens of knobs and a dozen faders,
// and meters and faders repaint many times a second. The cache belongs to
// the application object, so the pixmaps go away with it.
class ControlPixmaps : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(ControlPixmaps)

public:
    static ControlPixmaps &instance();

    // sizeIndex: 0 small, 1 medium, 2 large.
    const QPixmap &knobBase(int sizeIndex);
    const QPixmap &knobIndicator(int sizeIndex);
    // The handle image stretched (smoothly) to the given size in device
    // independent pixels, for the given device pixel ratio.
    const QPixmap &faderHandle(QSize size, qreal devicePixelRatio);

private:
    explicit ControlPixmaps(QObject *parent);
    void loadKnob(int sizeIndex);

    static constexpr int knobSizes = 3;
    QPixmap m_knobBase[knobSizes];
    QPixmap m_knobIndicator[knobSizes];
    bool m_knobLoaded[knobSizes] = {};
    QPixmap m_faderSource;
    QHash<quint64, QPixmap> m_faderScaled;
};
