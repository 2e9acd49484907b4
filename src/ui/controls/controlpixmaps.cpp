#include "controlpixmaps.h"

#include <QCoreApplication>
#include <QPointer>

#include "ui/resources/resources.h"

namespace {

// A handle takes only a few heights (its rectangle is rounded to whole
// pixels), so the scaled copies stay few; the bound guards odd callers.
constexpr int maxScaledHandles = 16;

} // namespace

ControlPixmaps &ControlPixmaps::instance()
{
    static QPointer<ControlPixmaps> cache;
    if (!cache)
        cache = new ControlPixmaps(QCoreApplication::instance());
    return *cache;
}

ControlPixmaps::ControlPixmaps(QObject *parent)
    : QObject(parent)
{
    Resources::init();
}

void ControlPixmaps::loadKnob(int sizeIndex)
{
    static const char *const bases[knobSizes] = {
        ":/resource/KnobBaseSmall", ":/resource/KnobBase", ":/resource/KnobBaseLarge"};
    static const char *const indicators[knobSizes] = {
        ":/resource/KnobIndicatorSmall", ":/resource/KnobIndicator", ":/resource/KnobIndicatorLarge"};
    m_knobBase[sizeIndex].load(QLatin1String(bases[sizeIndex]));
    m_knobIndicator[sizeIndex].load(QLatin1String(indicators[sizeIndex]));
    m_knobLoaded[sizeIndex] = true;
}

const QPixmap &ControlPixmaps::knobBase(int sizeIndex)
{
    sizeIndex = qBound(0, sizeIndex, knobSizes - 1);
    if (!m_knobLoaded[sizeIndex])
        loadKnob(sizeIndex);
    return m_knobBase[sizeIndex];
}

const QPixmap &ControlPixmaps::knobIndicator(int sizeIndex)
{
    sizeIndex = qBound(0, sizeIndex, knobSizes - 1);
    if (!m_knobLoaded[sizeIndex])
        loadKnob(sizeIndex);
    return m_knobIndicator[sizeIndex];
}

const QPixmap &ControlPixmaps::faderHandle(QSize size, qreal devicePixelRatio)
{
    const quint64 key = (quint64(quint16(size.width())) << 48) | (quint64(quint16(size.height())) << 32)
        | quint32(qRound(devicePixelRatio * 1000));
    auto it = m_faderScaled.constFind(key);
    if (it != m_faderScaled.constEnd())
        return *it;

    if (m_faderSource.isNull())
        m_faderSource.load(QStringLiteral(":/resource/Fader_Q2"));
    if (m_faderScaled.size() >= maxScaledHandles)
        m_faderScaled.clear();
    QPixmap scaled;
    if (!m_faderSource.isNull() && !size.isEmpty()) {
        scaled = m_faderSource.scaled(size * devicePixelRatio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(devicePixelRatio);
    }
    return *m_faderScaled.insert(key, scaled);
}
