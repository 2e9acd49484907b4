#include "parameter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <cstring>

#include "core/state/unitstate.h"

namespace ShortestFloat {

namespace {

// std::to_chars gives the shortest form that reads back to the same float,
// independent of the C locale.
int write(float value, char (&buffer)[32])
{
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return int(result.ptr - buffer);
}

} // namespace

QString text(float value)
{
    char buffer[32];
    return QString::fromLatin1(buffer, write(value, buffer));
}

double number(float value)
{
    if (!std::isfinite(value))
        return double(value);
    char buffer[32];
    const int length = write(value, buffer);
    double out = 0.0;
    std::from_chars(buffer, buffer + length, out);
    return out;
}

} // namespace ShortestFloat

namespace {

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Fixed decimals when they read back to the same float, else the shortest
// form that does.
QString numberText(double value, int decimals)
{
    const QString fixed = QString::number(value + 0.0, 'f', decimals);
    if (float(fixed.toDouble()) == float(value))
        return fixed;
    return ShortestFloat::text(float(value));
}

QString wholeText(double value)
{
    if (std::trunc(value) == value && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return ShortestFloat::text(float(value));
}

// Arithmetic runs of at least three values: "50 to 250 in steps of 10, 256".
QString runsText(const QVector<double> &values, const QString &unit)
{
    QStringList parts;
    int i = 0;
    while (i < values.size()) {
        int end = i + 1;
        if (i + 2 < values.size()) {
            const double step = values.at(i + 1) - values.at(i);
            while (end < values.size() && values.at(end) - values.at(end - 1) == step)
                ++end;
            if (end - i >= 3) {
                parts.append(QStringLiteral("%1 to %2 in steps of %3")
                                 .arg(wholeText(values.at(i)), wholeText(values.at(end - 1)), wholeText(step)));
                i = end;
                continue;
            }
            end = i + 1;
        }
        parts.append(wholeText(values.at(i)));
        i = end;
    }
    QString text = parts.join(QStringLiteral(", "));
    if (!unit.isEmpty())
        text += QLatin1Char(' ') + unit;
    return text;
}

} // namespace

QJsonValue Parameter::value(const UnitState &state) const
{
    switch (kind) {
    case Kind::Number:
    case Kind::Integer:
        return ShortestFloat::number(float(number(state)));
    case Kind::Bool:
        return number(state) != 0.0;
    case Kind::Choice:
        return choices.value(int(number(state)));
    case Kind::Text:
        return text(state);
    case Kind::Coefficients: {
        const FirChannel &fir = state.dsp.fir[size_t(channel)];
        const int taps = qMin(int(fir.taps), int(FirChannel::MaxTaps));
        float designOrder[FirChannel::MaxTaps];
        fir.designCoefficients(designOrder);
        QJsonArray values;
        for (int i = 0; i < taps; ++i)
            values.append(ShortestFloat::number(designOrder[i]));
        return values;
    }
    }
    return QJsonValue();
}

bool Parameter::same(const UnitState &a, const UnitState &b) const
{
    switch (kind) {
    case Kind::Text:
        return text(a) == text(b);
    case Kind::Coefficients: {
        const auto &x = a.dsp.fir[size_t(channel)].coefficients;
        const auto &y = b.dsp.fir[size_t(channel)].coefficients;
        return std::memcmp(x.data(), y.data(), sizeof(float) * x.size()) == 0;
    }
    default:
        return sameBits(raw(a), raw(b));
    }
}

QString Parameter::format(const QJsonValue &value) const
{
    if (value.isUndefined() || value.isNull())
        return QStringLiteral("-");
    switch (kind) {
    case Kind::Number:
        return numberText(value.toDouble(), decimals);
    case Kind::Integer:
        return wholeText(value.toDouble());
    case Kind::Bool:
        return value.toBool() ? QStringLiteral("on") : QStringLiteral("off");
    case Kind::Choice:
        return value.toString();
    case Kind::Text:
        return QLatin1Char('"') + value.toString() + QLatin1Char('"');
    case Kind::Coefficients:
        return QStringLiteral("%1 values").arg(value.toArray().size());
    }
    return QString();
}

QString Parameter::formatWithUnit(double value) const
{
    const QString text = kind == Kind::Number ? numberText(value, decimals) : wholeText(value);
    return unit.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

QString Parameter::rangeText() const
{
    switch (kind) {
    case Kind::Number:
    case Kind::Integer: {
        if (rounding == Rounding::Listed) {
            const QString runs = runsText(listed, unit);
            if (runs.count(QLatin1Char(',')) < 6)
                return runs;
            return QStringLiteral("%1 to %2, a value of %3")
                .arg(numberText(minimum, decimals), formatWithUnit(maximum), listName);
        }
        QString text = QStringLiteral("%1 to %2").arg(kind == Kind::Number ? numberText(minimum, decimals)
                                                                             : wholeText(minimum),
                                                      formatWithUnit(maximum));
        if (rounding == Rounding::Nearest && step < 1.0)
            text += QStringLiteral(", steps of %1").arg(numberText(step, decimals));
        else if (rounding == Rounding::EvenHundredths)
            text += QStringLiteral(", steps of 0.02");
        return text;
    }
    case Kind::Bool:
        return QStringLiteral("on or off");
    case Kind::Choice:
        return choices.join(QStringLiteral(", "));
    case Kind::Text:
        return QStringLiteral("up to %1 bytes").arg(maxLength);
    case Kind::Coefficients:
        return QStringLiteral("1 to %1 values, each %2 to %3").arg(maxLength).arg(minimum).arg(maximum);
    }
    return QString();
}

QString Parameter::kindName() const
{
    switch (kind) {
    case Kind::Number: return QStringLiteral("number");
    case Kind::Integer: return QStringLiteral("integer");
    case Kind::Bool: return QStringLiteral("on/off");
    case Kind::Choice: return QStringLiteral("choice");
    case Kind::Text: return QStringLiteral("text");
    case Kind::Coefficients: return QStringLiteral("coefficients");
    }
    return QString();
}

QJsonValue Parameter::fromText(const QString &input, QString *error) const
{
    const QString text = input.trimmed();
    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return QJsonValue(QJsonValue::Undefined);
    };
    auto readNumber = [](QString t, double *out) {
        bool ok = false;
        *out = t.toDouble(&ok);
        return ok && std::isfinite(*out);
    };
    switch (kind) {
    case Kind::Number:
    case Kind::Integer: {
        QString digits = text;
        if (!unit.isEmpty() && digits.endsWith(unit, Qt::CaseInsensitive))
            digits = digits.left(digits.size() - unit.size()).trimmed();
        double value = 0.0;
        if (!readNumber(digits, &value))
            return fail(QStringLiteral("\"%1\" is not a number (%2)").arg(input, rangeText()));
        return value;
    }
    case Kind::Bool: {
        const QString word = text.toLower();
        if (word == QLatin1String("on") || word == QLatin1String("true") || word == QLatin1String("yes")
            || word == QLatin1String("1"))
            return true;
        if (word == QLatin1String("off") || word == QLatin1String("false") || word == QLatin1String("no")
            || word == QLatin1String("0"))
            return false;
        return fail(QStringLiteral("\"%1\" is neither on nor off").arg(input));
    }
    case Kind::Choice:
        return text;
    case Kind::Text:
        return input;
    case Kind::Coefficients: {
        if (text.startsWith(QLatin1Char('['))) {
            QJsonParseError parsed;
            const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parsed);
            if (parsed.error != QJsonParseError::NoError || !document.isArray())
                return fail(QStringLiteral("not a JSON array of numbers: %1").arg(parsed.errorString()));
            return document.array();
        }
        QJsonArray values;
        const QStringList words = text.split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts);
        for (const QString &word : words) {
            double value = 0.0;
            if (!readNumber(word, &value))
                return fail(QStringLiteral("value %1, \"%2\", is not a number").arg(values.size() + 1).arg(word));
            values.append(value);
        }
        return values;
    }
    }
    return fail(QString());
}
