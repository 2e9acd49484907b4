#include "controlaccessible.h"

#include <QAccessible>

#include "knob.h"
#include "qfader.h"
#include "qhslider.h"
#include "qmeterwidget.h"

namespace {

QAccessibleInterface *controlFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("Knob"))
        return new ControlAccessible(widget, QAccessible::Dial);
    if (className == QLatin1String("QFader") || className == QLatin1String("QHSlider"))
        return new ControlAccessible(widget, QAccessible::Slider);
    if (className == QLatin1String("QMeterWidget"))
        return new ControlAccessible(widget, QAccessible::ProgressBar);
    return nullptr;
}

} // namespace

ControlAccessible::ControlAccessible(QWidget *widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{
}

void ControlAccessible::install()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(controlFactory);
        installed = true;
    }
}

void ControlAccessible::notifyValue(QWidget *widget, const QVariant &value)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(widget, value);
    QAccessible::updateAccessibility(&event);
}

void *ControlAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString ControlAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return QString::number(currentValue().toDouble(), 'g', 6);
    return QAccessibleWidget::text(t);
}

QVariant ControlAccessible::currentValue() const
{
    if (auto *knob = qobject_cast<Knob *>(widget()))
        return knob->value();
    if (auto *fader = qobject_cast<QFader *>(widget()))
        return fader->valueInUnits();
    if (auto *slider = qobject_cast<QHSlider *>(widget()))
        return slider->valueInUnits();
    if (auto *meter = qobject_cast<QMeterWidget *>(widget()))
        return meter->value();
    return QVariant();
}

void ControlAccessible::setCurrentValue(const QVariant &value)
{
    QWidget *w = widget();
    bool ok = false;
    const float number = value.toFloat(&ok);
    if (!ok || !w->isEnabled() || !w->isVisible())
        return;
    if (auto *knob = qobject_cast<Knob *>(w))
        knob->setOperatorValue(number);
    else if (auto *slider = qobject_cast<ScaledSlider *>(w))
        slider->setOperatorValue(number);
}

QVariant ControlAccessible::maximumValue() const
{
    if (auto *knob = qobject_cast<Knob *>(widget()))
        return knob->maximum();
    if (auto *fader = qobject_cast<QFader *>(widget()))
        return float(double(fader->maximum()) / fader->scale());
    if (auto *slider = qobject_cast<QHSlider *>(widget()))
        return float(double(slider->maximum()) / slider->scale());
    if (auto *meter = qobject_cast<QMeterWidget *>(widget()))
        return meter->maximum();
    return QVariant();
}

QVariant ControlAccessible::minimumValue() const
{
    if (auto *knob = qobject_cast<Knob *>(widget()))
        return knob->minimum();
    if (auto *fader = qobject_cast<QFader *>(widget()))
        return float(double(fader->minimum()) / fader->scale());
    if (auto *slider = qobject_cast<QHSlider *>(widget()))
        return float(double(slider->minimum()) / slider->scale());
    if (auto *meter = qobject_cast<QMeterWidget *>(widget()))
        return meter->minimum();
    return QVariant();
}

QVariant ControlAccessible::minimumStepSize() const
{
    if (auto *knob = qobject_cast<Knob *>(widget()))
        return knob->step();
    if (auto *fader = qobject_cast<QFader *>(widget()))
        return float(fader->step() / fader->scale());
    if (auto *slider = qobject_cast<QHSlider *>(widget()))
        return float(slider->step() / slider->scale());
    return QVariant();
}
