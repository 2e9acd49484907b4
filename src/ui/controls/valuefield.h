#pragma once

#include <QDoubleSpinBox>
#include <QLineEdit>

// What every value entry shares. The operator may type any number, also one
// outside the range; when the edit is finished the number is pulled into
// the range, rounded to the shown decimals and written back, so the field
// shows what goes to the unit ("-100" in a gain field becomes "-70.0").
// Text that is no number ("", "-", ".") brings back the last value and
// sends nothing.
namespace ValueEntry {

// Number-like text as typed: a sign, digits and one decimal point or comma.
// Anything else is not a number.
bool parse(const QString &text, double *value);
// `value` pulled into [minimum, maximum] and rounded (halves upward) to
// `decimals`.
double bound(double value, double minimum, double maximum, int decimals);
QString format(double value, int decimals);
// "-70.0 to 12.0 dB": the tooltip line naming range and unit.
QString rangeText(double minimum, double maximum, int decimals, const QString &unit);

} // namespace ValueEntry

class ValueField : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY(ValueField)

public:
    explicit ValueField(QWidget *parent = nullptr);
    explicit ValueField(const QString &text, QWidget *parent = nullptr);
    ~ValueField() override;

    // The range, the shown decimals and the unit named in the tooltip.
    void setRange(double minimum, double maximum, int decimals, const QString &unit = QString());

    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }
    int decimals() const { return m_decimals; }
    QString rangeText() const;
    // For a frequency without a knob: Up and Down, and the wheel while the
    // field has the focus, step the value by 1/24 octave (Shift a tenth,
    // Ctrl ten times, at least one unit of the last shown decimal), and
    // each step is finished at once like a typed value.
    void setLogarithmicSteps(bool on) { m_logarithmicSteps = on; }

signals:
    // The edit finished with a number: the field already shows it in range,
    // ready to be read and sent. Not emitted for unreadable text.
    void edited(double value);

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void finish();
    void stepBy(double notches);
    void updateToolTip();

    double m_minimum = 0.0;
    double m_maximum = 0.0;
    int m_decimals = 0;
    QString m_unit;
    // What the field showed before the operator began typing.
    QString m_lastText;
    // The page's own tooltip, shown above the range line.
    QString m_baseToolTip;
    bool m_settingToolTip = false;
    bool m_logarithmicSteps = false;
};

// The spin-box form of the same rule (the delay pages): any number can be
// typed; finishing pulls it into the range instead of refusing keystrokes.
class ValueSpinBox : public QDoubleSpinBox
{
    Q_OBJECT
    Q_DISABLE_COPY(ValueSpinBox)

public:
    explicit ValueSpinBox(QWidget *parent = nullptr);
    ~ValueSpinBox() override;

    // Sets the range and names it, with the unit, in the tooltip.
    void setValueRange(double minimum, double maximum, const QString &unit);

    QValidator::State validate(QString &text, int &pos) const override;
    void fixup(QString &text) const override;
    double valueFromText(const QString &text) const override;

protected:
    bool event(QEvent *event) override;

private:
    void updateToolTip();

    QString m_unit;
    QString m_baseToolTip;
    bool m_settingToolTip = false;
};
