#pragma once

#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class UnitState;

// One named setting of a UnitState: its stable path, what kind of value it
// takes, the range, step and unit the page shows it with, and how to read
// and write it. ParameterCatalog makes them; nothing else should.
//
// Values travel as QJsonValue: numbers as doubles, flags as bools, choices
// and texts as strings, FIR coefficients as an array of numbers. A number
// read from a state is the shortest decimal that reads back to the same
// single-precision float, so "-6.1" rather than -6.099999904632568.
struct Parameter
{
    enum class Kind : quint8 { Number, Integer, Bool, Choice, Text, Coefficients };
    // How a number between the steps is brought onto one, as the page's
    // field, knob or fader does it.
    enum class Rounding : quint8 {
        None,
        Nearest,        // to the nearest step, halves upward
        Truncate,       // whole part, toward zero
        EvenHundredths, // to hundredths, then up to the next even one (48 kHz output delays)
        Listed,         // to the nearest value in `listed`
    };
    // What a set does beyond storing the value, the way the unit or the page does it.
    enum class Effect : quint8 {
        None,
        LevelGroup,      // gain, mute and invert of a grouped channel apply to its whole link group
        GeneratorSource, // the sine starts at 1000 Hz
        FirDesign,       // a designed FIR is designed anew
        FirType,
        FirTaps,
        FirCoefficients,
    };

    QString path;
    QStringList segments; // the path split at its dots
    // The path with its channel and band segments as ranges, e.g.
    // "in.<A-D>.peq.<1-16>.gain_db": one row of the parameter table.
    QString pattern;
    QString description;
    Kind kind = Kind::Number;
    QString unit; // "dB", "Hz", "ms" or empty
    double minimum = 0.0;
    double maximum = 0.0;
    double step = 0.0; // Nearest: the step; Truncate: 1
    int decimals = 0;  // as the page shows the value
    Rounding rounding = Rounding::None;
    QStringList choices;    // Choice: the names, lower case; the value's index is its place
    QVector<double> listed; // Rounding::Listed: the values on offer, ascending
    QString listName;       // how messages name `listed` ("the Q table")
    int maxLength = 0;      // Text: bytes in the unit's encoding; Coefficients: values
    bool readOnly = false;
    Effect effect = Effect::None;
    int channel = -1; // the channel the effect concerns
    bool inputSide = false;

    // The field as stored, as a number whose bits change exactly when the
    // stored field does (change detection and diff).
    std::function<double(const UnitState &)> raw;
    // The value as offered: the number, 0 or 1 for a flag, the index of a choice.
    std::function<double(const UnitState &)> number;
    std::function<void(UnitState &, double)> setNumber;
    // Kind::Text.
    std::function<QString(const UnitState &)> text;
    std::function<void(UnitState &, const QString &)> setText;

    bool isNumeric() const { return kind == Kind::Number || kind == Kind::Integer; }

    // The value in `state`.
    QJsonValue value(const UnitState &state) const;
    // Whether the parameter holds the same in both states (stored bits, as
    // UnitState compares them).
    bool same(const UnitState &a, const UnitState &b) const;

    // The value as the command line prints it: numbers with the page's
    // decimals (or more when those would not read back to the same value),
    // "on"/"off", choice names, texts in double quotes, "256 values" for
    // coefficients.
    QString format(const QJsonValue &value) const;
    // A number with the page's decimals and the unit: "12.0 dB".
    QString formatWithUnit(double number) const;
    // What the parameter takes, for the parameter table and error messages:
    // "-70.0 to 12.0 dB, steps of 0.1", "bessel, butterworth, link-riley".
    QString rangeText() const;
    QString kindName() const;

    // Command-line text to the value it stands for: numbers (a trailing unit
    // such as "dB" is allowed), on/off/true/false/yes/no/1/0, choice names,
    // texts as they are, coefficients as a JSON array or numbers separated
    // by commas or white space. Undefined with `error` set when unreadable.
    QJsonValue fromText(const QString &text, QString *error) const;
};

namespace ShortestFloat {

// The shortest decimal text that reads back to `value` as a float.
QString text(float value);
// That decimal as a double, so that JSON writes it as the short text.
double number(float value);

} // namespace ShortestFloat
