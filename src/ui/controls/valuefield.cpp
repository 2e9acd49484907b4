#include "valuefield.h"

#include <QEvent>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QWheelEvent>

#include <cmath>

#include "stepmodifiers.h"
#include "wheeldelta.h"

namespace {

// Long enough for any value a page holds, short enough to stay readable.
constexpr int MaxLength = 12;

QValidator *numberValidator(QObject *parent)
{
    static const QRegularExpression pattern(QStringLiteral("\\s*[-+]?[0-9]*([.,][0-9]*)?\\s*"));
    return new QRegularExpressionValidator(pattern, parent);
}

QString composedToolTip(const QString &base, const QString &range)
{
    if (range.isEmpty())
        return base;
    return base.isEmpty() ? range : base + QLatin1Char('\n') + range;
}

} // namespace

namespace ValueEntry {

bool parse(const QString &text, double *value)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (t.isEmpty() || t.size() > MaxLength)
        return false;
    static const QRegularExpression number(QStringLiteral("^[-+]?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    if (!number.match(t).hasMatch())
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

double bound(double value, double minimum, double maximum, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    // Halves upward, as the controls round.
    double v = std::floor(qBound(minimum, value, maximum) * scale + 0.5) / scale;
    v = qBound(minimum, v, maximum);
    // No "-0.0" in a field.
    return v == 0.0 ? 0.0 : v;
}

QString format(double value, int decimals)
{
    return QString::number(value == 0.0 ? 0.0 : value, 'f', decimals);
}

QString rangeText(double minimum, double maximum, int decimals, const QString &unit)
{
    const QString text = ValueField::tr("%1 to %2").arg(format(minimum, decimals), format(maximum, decimals));
    return unit.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

} // namespace ValueEntry

ValueField::ValueField(QWidget *parent)
    : ValueField(QString(), parent)
{
}

ValueField::ValueField(const QString &text, QWidget *parent)
    : QLineEdit(text, parent)
    , m_lastText(text)
{
    setValidator(numberValidator(this));
    setMaxLength(MaxLength);
    // First in line: the owner's handlers see the finished value.
    connect(this, &QLineEdit::editingFinished, this, &ValueField::finish);
}

ValueField::~ValueField() = default;

void ValueField::setRange(double minimum, double maximum, int decimals, const QString &unit)
{
    m_minimum = minimum;
    m_maximum = maximum;
    m_decimals = decimals;
    m_unit = unit;
    updateToolTip();
}

QString ValueField::rangeText() const
{
    return ValueEntry::rangeText(m_minimum, m_maximum, m_decimals, m_unit);
}

void ValueField::finish()
{
    double value = 0.0;
    if (!ValueEntry::parse(text(), &value)) {
        setText(m_lastText);
        setModified(false);
        return;
    }
    value = ValueEntry::bound(value, m_minimum, m_maximum, m_decimals);
    const QString shown = ValueEntry::format(value, m_decimals);
    if (text() != shown)
        setText(shown);
    setModified(false);
    m_lastText = shown;
    emit edited(value);
}

void ValueField::focusInEvent(QFocusEvent *event)
{
    m_lastText = text();
    QLineEdit::focusInEvent(event);
}

void ValueField::keyPressEvent(QKeyEvent *event)
{
    // The page may have rewritten the field since the focus came in.
    if (!isModified())
        m_lastText = text();
    if (m_logarithmicSteps && !isReadOnly() && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        const double factor = stepFactor(event->modifiers());
        stepBy(event->key() == Qt::Key_Up ? factor : -factor);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ValueField::wheelEvent(QWheelEvent *event)
{
    const int notches = wheelDelta(event) / 120;
    if (!m_logarithmicSteps || !hasFocus() || isReadOnly()) {
        QLineEdit::wheelEvent(event);
        return;
    }
    event->accept();
    if (notches != 0)
        stepBy(notches * stepFactor(event->modifiers()));
}

void ValueField::stepBy(double notches)
{
    double value = 0.0;
    // A half-typed number counts as typed; an unreadable one steps from
    // what the field showed before.
    if (!ValueEntry::parse(text(), &value) && !ValueEntry::parse(m_lastText, &value))
        return;
    const double unit = std::pow(10.0, -m_decimals);
    double stepped = value * std::exp2(notches / 24.0);
    if (std::abs(stepped - value) < unit)
        stepped = value + (notches > 0 ? unit : -unit);
    setText(ValueEntry::format(ValueEntry::bound(stepped, m_minimum, m_maximum, m_decimals), m_decimals));
    finish();
}

bool ValueField::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTipChange && !m_settingToolTip) {
        m_baseToolTip = toolTip();
        updateToolTip();
    } else if (event->type() == QEvent::LanguageChange) {
        updateToolTip();
    }
    return QLineEdit::event(event);
}

void ValueField::updateToolTip()
{
    if (m_maximum <= m_minimum)
        return;
    m_settingToolTip = true;
    setToolTip(composedToolTip(m_baseToolTip, rangeText()));
    m_settingToolTip = false;
}

ValueSpinBox::ValueSpinBox(QWidget *parent)
    : QDoubleSpinBox(parent)
{
}

ValueSpinBox::~ValueSpinBox() = default;

void ValueSpinBox::setValueRange(double minimum, double maximum, const QString &unit)
{
    setRange(minimum, maximum);
    m_unit = unit;
    updateToolTip();
}

QValidator::State ValueSpinBox::validate(QString &text, int &) const
{
    static const QRegularExpression typing(QStringLiteral("^\\s*[-+]?[0-9]*([.,][0-9]*)?\\s*$"));
    if (text.size() > MaxLength || !typing.match(text).hasMatch())
        return QValidator::Invalid;
    double value = 0.0;
    if (!ValueEntry::parse(text, &value))
        return QValidator::Intermediate;
    return value >= minimum() && value <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void ValueSpinBox::fixup(QString &text) const
{
    double value = 0.0;
    if (ValueEntry::parse(text, &value))
        text = ValueEntry::format(ValueEntry::bound(value, minimum(), maximum(), decimals()), decimals());
}

double ValueSpinBox::valueFromText(const QString &text) const
{
    double value = 0.0;
    return ValueEntry::parse(text, &value) ? value : this->value();
}

bool ValueSpinBox::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTipChange && !m_settingToolTip) {
        m_baseToolTip = toolTip();
        updateToolTip();
    } else if (event->type() == QEvent::LanguageChange) {
        updateToolTip();
    }
    return QDoubleSpinBox::event(event);
}

void ValueSpinBox::updateToolTip()
{
    m_settingToolTip = true;
    setToolTip(composedToolTip(m_baseToolTip, ValueEntry::rangeText(minimum(), maximum(), decimals(), m_unit)));
    m_settingToolTip = false;
}
