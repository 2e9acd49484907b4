#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

// Describes the self-painted controls to screen readers and GUI automation:
// the knob as a dial, fader and slider as sliders, the meter as a progress
// bar, each with its value and range. The name is the widget's accessible
// name, set by the page that owns the control.
class ControlAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    ControlAccessible(QWidget *widget, QAccessible::Role role);

    // Registers the factory once; every control calls it when created.
    static void install();
    // Tells assistive tools about a new value (only while one is listening).
    static void notifyValue(QWidget *widget, const QVariant &value);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    // A screen reader sets a value as the operator would with the keys: the
    // page hears the control's valueChanged and sends it to the unit. A
    // control that is read-only (disabled) or hidden by a lock, or not on
    // screen, is not changed.
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;
};
