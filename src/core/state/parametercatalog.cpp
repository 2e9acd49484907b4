#include "parametercatalog.h"

#include <QJsonArray>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "core/dsp/firdesign.h"
#include "core/records/delayrecord.h"
#include "core/records/systemtext.h"
#include "core/state/catalogbuilder.h"

namespace {

using Kind = Parameter::Kind;
using Rounding = Parameter::Rounding;
using Effect = Parameter::Effect;
using Limit = SetResult::Limit;

// Longer than any path by far.
constexpr int MaxSuggestedLength = 80;
// A file full of unknown names gets suggestions for the first few only.
constexpr int MaxSuggestedPaths = 10;

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

QString familyText(UnitFamily family)
{
    return family == UnitFamily::Sharc96k ? QStringLiteral("96 kHz") : QStringLiteral("48 kHz");
}

// A value as the message about it shows it.
QString describe(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Double:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QJsonValue::String:
        return QLatin1Char('"') + value.toString() + QLatin1Char('"');
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

int levenshtein(const QString &a, const QString &b)
{
    QVector<int> previous(b.size() + 1);
    QVector<int> current(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int substitute = previous[j - 1] + (a.at(i - 1) == b.at(j - 1) ? 0 : 1);
            current[j] = qMin(substitute, qMin(previous[j] + 1, current[j - 1] + 1));
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

// What a number may be set to in this state: a FIR holding external
// coefficients uses any count up to the unit's taps, not the design list.
struct Range
{
    double minimum;
    double maximum;
    Rounding rounding;
    double step;
};

Range rangeOf(const Parameter &p, const UnitState &state)
{
    if (p.effect == Effect::FirTaps && state.dsp.fir[size_t(p.channel)].external)
        return {1.0, double(p.maxLength), Rounding::Truncate, 1.0};
    return {p.minimum, p.maximum, p.rounding, p.step};
}

double onStep(const Parameter &p, const Range &range, double value)
{
    switch (range.rounding) {
    case Rounding::None:
        return value;
    case Rounding::Nearest:
        if (range.step < 1.0) {
            // Whole units of the step, as the knobs and faders count them, so
            // that 0.1 steps give -6.1 and not -6.1000000000000005.
            const double scale = std::round(1.0 / range.step);
            return std::floor(value * scale + 0.5) / scale;
        }
        return std::floor(value / range.step + 0.5) * range.step;
    case Rounding::Truncate:
        return std::trunc(value);
    case Rounding::EvenHundredths:
        return DelayRecord::snapToEvenHundredths(value);
    case Rounding::Listed: {
        double best = p.listed.value(0);
        for (double listed : p.listed) {
            if (std::fabs(listed - value) < std::fabs(best - value))
                best = listed;
        }
        return best;
    }
    }
    return value;
}

QString stepMessage(const Parameter &p, const Range &range, const QString &requested, const QString &result)
{
    switch (range.rounding) {
    case Rounding::Nearest:
        if (range.step < 1.0)
            return QStringLiteral("%1 is between the steps of %2; set to %3")
                .arg(requested, p.formatWithUnit(range.step), result);
        break;
    case Rounding::EvenHundredths:
        return QStringLiteral("%1 is not on the 0.02 ms steps of a 48 kHz unit; set to %2").arg(requested, result);
    case Rounding::Listed:
        return QStringLiteral("%1 is not one of %2; set to %3").arg(requested, p.listName, result);
    case Rounding::None:
    case Rounding::Truncate:
        break;
    }
    return QStringLiteral("%1 is not a whole number; set to %2").arg(requested, result);
}

QString channelPath(bool inputSide, int channel, const QString &leaf)
{
    return (inputSide ? QStringLiteral("in.") + CatalogBuilder::inputName(channel)
                      : QStringLiteral("out.") + CatalogBuilder::outputName(channel))
        + QLatin1Char('.') + leaf;
}

QString firPath(int output, const char *leaf)
{
    return QStringLiteral("out.%1.fir.%2").arg(CatalogBuilder::outputName(output), QLatin1String(leaf));
}

// The coefficients the FIR page designs from the record's parameters; true
// when they differ from what the record held.
bool redesign(FirChannel &fir, double sampleRate)
{
    const std::array<float, FirChannel::MaxTaps> previous = fir.coefficients;
    FirDesignParams params;
    params.taps = fir.taps;
    params.firType = fir.firType;
    params.lowFreq = double(fir.lowFreq);
    params.highFreq = double(fir.highFreq);
    params.window = fir.window;
    params.kaiserBeta = double(fir.kaiserBeta);
    params.sampleRate = sampleRate;
    std::array<double, FirChannel::MaxTaps> designed{};
    const int count = FirDesign::design(params, designed.data());
    // No -0 in a state: JSON has no way to write it.
    std::array<float, FirChannel::MaxTaps> single{};
    for (int i = 0; i < count; ++i)
        single[size_t(i)] = float(designed[size_t(i)]) + 0.0f;
    fir.setDesignCoefficients(single.data(), count);
    return std::memcmp(previous.data(), fir.coefficients.data(), sizeof previous) != 0;
}

} // namespace

ParameterCatalog::ParameterCatalog(UnitFamily family)
    : m_family(family)
    , m_parameters(CatalogBuilder(family).build())
{
    m_index.reserve(m_parameters.size());
    for (int i = 0; i < m_parameters.size(); ++i)
        m_index.insert(m_parameters.at(i).path, i);
}

const ParameterCatalog &ParameterCatalog::of(UnitFamily family)
{
    if (family == UnitFamily::Sharc96k) {
        static const ParameterCatalog catalog(UnitFamily::Sharc96k);
        return catalog;
    }
    static const ParameterCatalog catalog(UnitFamily::Sharc48k);
    return catalog;
}

const Parameter *ParameterCatalog::find(const QString &path) const
{
    const int index = indexOf(path);
    return index < 0 ? nullptr : &m_parameters.at(index);
}

QVector<int> ParameterCatalog::under(const QString &prefix) const
{
    QVector<int> found;
    for (int i = 0; i < m_parameters.size(); ++i) {
        const QString &path = m_parameters.at(i).path;
        if (prefix.isEmpty() || path == prefix
            || (path.startsWith(prefix) && path.at(prefix.size()) == QLatin1Char('.')))
            found.append(i);
    }
    return found;
}

QStringList ParameterCatalog::suggestions(const QString &path, int count) const
{
    QStringList out;
    const QString typed = path.trimmed();
    if (typed.isEmpty() || count <= 0)
        return out;
    auto offer = [&](const QString &candidate) {
        if (out.size() < count && !out.contains(candidate))
            out.append(candidate);
    };
    for (const Parameter &p : m_parameters) {
        if (p.path.compare(typed, Qt::CaseInsensitive) == 0)
            offer(p.path);
    }
    // A leaf without its unit ("in.A.gain") or a group ("in.A.gate").
    for (const Parameter &p : m_parameters) {
        if (p.path.startsWith(typed, Qt::CaseInsensitive))
            offer(p.path);
    }
    // Edit distances only for what could be a mistyped path: a long text is
    // no near miss, and comparing it with every path would take long.
    if (typed.size() > MaxSuggestedLength)
        return out;
    const QString lower = typed.toLower();
    const int tolerance = qMax(2, typed.size() / 3);
    QVector<QPair<int, int>> near; // distance, catalog index
    for (int i = 0; i < m_parameters.size(); ++i) {
        const int distance = levenshtein(lower, m_parameters.at(i).path.toLower());
        if (distance <= tolerance)
            near.append({distance, i});
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const QPair<int, int> &a, const QPair<int, int> &b) { return a.first < b.first; });
    for (const auto &n : qAsConst(near))
        offer(m_parameters.at(n.second).path);
    return out;
}

QString ParameterCatalog::unknownPathMessage(const QString &path, QStringList *suggested, bool suggest) const
{
    const UnitFamily other = m_family == UnitFamily::Sharc96k ? UnitFamily::Sharc48k : UnitFamily::Sharc96k;
    if (of(other).find(path))
        return QStringLiteral("%1: %2 units have no such setting; it is one of %3 units")
            .arg(path, familyText(m_family), familyText(other));
    const QStringList near = suggest ? suggestions(path) : QStringList();
    if (suggested)
        *suggested = near;
    if (near.isEmpty())
        return QStringLiteral("unknown parameter \"%1\"").arg(path);
    return QStringLiteral("unknown parameter \"%1\"; did you mean %2?").arg(path, near.join(QStringLiteral(", ")));
}

QJsonValue ParameterCatalog::get(const UnitState &state, const QString &path, QString *error)
{
    const ParameterCatalog &catalog = of(state);
    const Parameter *p = catalog.find(path);
    if (!p) {
        if (error)
            *error = catalog.unknownPathMessage(path);
        return QJsonValue(QJsonValue::Undefined);
    }
    return p->value(state);
}

SetResult ParameterCatalog::set(UnitState &state, const QString &path, const QJsonValue &value)
{
    const ParameterCatalog &catalog = of(state);
    const Parameter *p = catalog.find(path);
    if (!p) {
        SetResult r;
        r.path = path;
        r.outcome = SetResult::Outcome::Failed;
        r.message = catalog.unknownPathMessage(path, &r.suggestions);
        return r;
    }
    // A set checks everything before it stores anything, so a failed one
    // leaves the state as it was.
    return catalog.setOne(state, *p, value, {path});
}

SetResult ParameterCatalog::setFromText(UnitState &state, const QString &path, const QString &text)
{
    const Parameter *p = of(state).find(path);
    if (p) {
        QString error;
        const QJsonValue value = p->fromText(text, &error);
        if (value.isUndefined()) {
            SetResult result;
            result.path = path;
            result.outcome = SetResult::Outcome::Failed;
            result.message = path + QStringLiteral(": ") + error;
            result.value = p->value(state);
            return result;
        }
        return set(state, path, value);
    }
    return set(state, path, QJsonValue(text));
}

bool ParameterCatalog::allOk(const QVector<SetResult> &results)
{
    return std::all_of(results.begin(), results.end(), [](const SetResult &r) { return r.ok(); });
}

QVector<SetResult> ParameterCatalog::apply(UnitState &state, const QVector<PathValue> &values)
{
    const ParameterCatalog &catalog = of(state);
    QVector<SetResult> results(values.size());
    QVector<QPair<int, int>> order; // catalog index, place in `values`
    QSet<QString> batch;
    int unknown = 0;
    for (int i = 0; i < values.size(); ++i) {
        const QString &path = values.at(i).path;
        const int index = catalog.indexOf(path);
        if (index < 0) {
            SetResult &r = results[i];
            r.path = path;
            r.outcome = SetResult::Outcome::Failed;
            r.message = catalog.unknownPathMessage(path, &r.suggestions, ++unknown <= MaxSuggestedPaths);
            continue;
        }
        order.append({index, i});
        batch.insert(path);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const QPair<int, int> &a, const QPair<int, int> &b) { return a.first < b.first; });

    // Worked on a copy so that a failure anywhere leaves the state whole.
    UnitState work = state;
    for (const auto &entry : qAsConst(order))
        results[entry.second] =
            catalog.setOne(work, catalog.m_parameters.at(entry.first), values.at(entry.second).value, batch);
    if (allOk(results))
        state = std::move(work);
    else {
        for (SetResult &r : results) {
            r.changed = false;
            r.followers.clear();
        }
    }
    return results;
}

SetResult ParameterCatalog::setOne(UnitState &state, const Parameter &p, const QJsonValue &value,
                                   const QSet<QString> &batch) const
{
    SetResult r;
    r.path = p.path;
    auto fail = [&](const QString &why) {
        r.outcome = SetResult::Outcome::Failed;
        r.message = p.path + QStringLiteral(": ") + why;
        r.value = p.value(state);
        return r;
    };
    auto adjusted = [&](Limit limit, const QString &how) {
        r.outcome = SetResult::Outcome::Adjusted;
        r.limit = limit;
        r.message = p.path + QStringLiteral(": ") + how;
    };

    if (p.readOnly) {
        if (value == p.value(state)) {
            r.value = value;
            return r;
        }
        return fail(QStringLiteral("%1 cannot be set; a state is made for one unit family").arg(describe(value)));
    }

    const double before = p.kind == Kind::Text || p.kind == Kind::Coefficients ? 0.0 : p.raw(state);
    switch (p.kind) {
    case Kind::Number:
    case Kind::Integer: {
        if (!value.isDouble() || !std::isfinite(value.toDouble()))
            return fail(QStringLiteral("%1 is not a number (%2)").arg(describe(value), p.rangeText()));
        const double requested = value.toDouble();
        const Range range = rangeOf(p, state);
        double number = 0.0;
        Limit limit = Limit::None;
        if (requested < range.minimum) {
            number = range.minimum;
            limit = Limit::Minimum;
        } else if (requested > range.maximum) {
            number = range.maximum;
            limit = Limit::Maximum;
        } else {
            number = qBound(range.minimum, onStep(p, range, requested), range.maximum);
            if (float(number) != float(requested))
                limit = Limit::Step;
        }
        number += 0.0; // no -0 in a state
        const QString shown = p.format(ShortestFloat::number(float(number)));
        if (limit == Limit::Minimum)
            adjusted(limit, QStringLiteral("%1 is below the minimum %2; set to %3")
                                .arg(describe(value), p.formatWithUnit(range.minimum), shown));
        else if (limit == Limit::Maximum)
            adjusted(limit, QStringLiteral("%1 is above the maximum %2; set to %3")
                                .arg(describe(value), p.formatWithUnit(range.maximum), shown));
        else if (limit == Limit::Step)
            adjusted(limit, stepMessage(p, range, describe(value), shown));
        p.setNumber(state, number);
        break;
    }
    case Kind::Bool: {
        bool on = false;
        if (value.isBool())
            on = value.toBool();
        else if (value.isDouble() && (value.toDouble() == 0.0 || value.toDouble() == 1.0))
            on = value.toDouble() != 0.0;
        else
            return fail(QStringLiteral("%1 is neither on nor off").arg(describe(value)));
        p.setNumber(state, on ? 1.0 : 0.0);
        break;
    }
    case Kind::Choice: {
        const QString name = value.toString().trimmed();
        int index = value.isString() ? p.choices.indexOf(name) : -1;
        for (int i = 0; index < 0 && value.isString() && i < p.choices.size(); ++i) {
            if (p.choices.at(i).compare(name, Qt::CaseInsensitive) == 0)
                index = i;
        }
        if (index < 0)
            return fail(QStringLiteral("%1 is not one of %2").arg(describe(value), p.choices.join(QStringLiteral(", "))));
        p.setNumber(state, double(index));
        break;
    }
    case Kind::Text: {
        if (!value.isString())
            return fail(QStringLiteral("%1 is not a text").arg(describe(value)));
        const QString text = value.toString();
        for (const QChar ch : text) {
            if (ch.category() == QChar::Other_Control)
                return fail(QStringLiteral("takes printable text only"));
        }
        // What the unit gets: the text in its 8-bit encoding, cut to the
        // field by whole characters. The page's field takes as many
        // characters as the unit takes bytes; cutting to that first keeps a
        // huge text from being encoded again and again.
        QString typed = text.left(p.maxLength);
        if (!typed.isEmpty() && typed.at(typed.size() - 1).isHighSurrogate())
            typed.chop(1);
        const QString stored = QString::fromLocal8Bit(SystemText::encode(typed, p.maxLength));
        if (stored != text) {
            if (text.startsWith(stored))
                adjusted(Limit::Length, QStringLiteral("longer than %1 bytes; cut to \"%2\"").arg(p.maxLength).arg(stored));
            else
                adjusted(Limit::Length,
                         QStringLiteral("holds characters the unit cannot store; set to \"%1\"").arg(stored));
        }
        r.changed = p.text(state) != stored;
        p.setText(state, stored);
        r.value = stored;
        return r;
    }
    case Kind::Coefficients: {
        if (!value.isArray())
            return fail(QStringLiteral("%1 is not a list of coefficients").arg(describe(value)));
        const QJsonArray array = value.toArray();
        FirChannel &fir = state.dsp.fir[size_t(p.channel)];
        if (array.isEmpty())
            return fail(QStringLiteral("no coefficients"));
        if (array.size() > p.maxLength)
            return fail(QStringLiteral("%1 coefficients; a %2 unit takes at most %3")
                            .arg(array.size())
                            .arg(familyText(m_family))
                            .arg(p.maxLength));
        if (!fir.external && array.size() != fir.taps)
            return fail(QStringLiteral("a designed FIR has %1 taps; set %2 to external to load %3 coefficients")
                            .arg(fir.taps)
                            .arg(firPath(p.channel, "type"))
                            .arg(array.size()));
        std::array<float, FirChannel::MaxTaps> values{};
        int outside = 0;
        for (int i = 0; i < array.size(); ++i) {
            const QJsonValue v = array.at(i);
            if (!v.isDouble() || !std::isfinite(v.toDouble()))
                return fail(QStringLiteral("value %1, %2, is not a number").arg(i + 1).arg(describe(v)));
            const double bounded = qBound(p.minimum, v.toDouble(), p.maximum);
            outside += bounded != v.toDouble() ? 1 : 0;
            values[size_t(i)] = float(bounded) + 0.0f;
        }
        if (outside)
            adjusted(Limit::Maximum, QStringLiteral("%1 values beyond %2 to %3; set to the limit")
                                         .arg(outside)
                                         .arg(p.minimum)
                                         .arg(p.maximum));
        const FirChannel old = fir;
        fir.setDesignCoefficients(values.data(), array.size());
        if (fir.external)
            fir.taps = quint16(array.size());
        r.changed = !(old == fir);
        r.value = p.value(state);
        if (r.changed && fir.taps != old.taps)
            r.followers.append(firPath(p.channel, "taps"));
        return r;
    }
    }

    r.changed = !sameBits(before, p.raw(state));
    r.value = p.value(state);
    if (!r.changed)
        return r;

    switch (p.effect) {
    case Effect::None:
        break;
    case Effect::LevelGroup: {
        auto groupOf = [&](int c) {
            return (p.inputSide ? state.dsp.inputLevels[size_t(c)] : state.dsp.outputLevels[size_t(c)]).group;
        };
        const quint8 group = groupOf(p.channel);
        if (group == 0)
            break;
        const QString leaf = p.path.section(QLatin1Char('.'), 2);
        const int channels = p.inputSide ? UnitState::Inputs : UnitState::Outputs;
        for (int c = 0; c < channels; ++c) {
            const QString path = channelPath(p.inputSide, c, leaf);
            if (c == p.channel || groupOf(c) != group || batch.contains(path))
                continue;
            const Parameter *member = find(path);
            const double was = member->raw(state);
            member->setNumber(state, p.number(state));
            if (!sameBits(was, member->raw(state)))
                r.followers.append(path);
        }
        break;
    }
    case Effect::GeneratorSource: {
        GeneratorRecord &g = state.dsp.generator;
        const QString freqPath = QStringLiteral("generator.freq_hz");
        if (g.source == GeneratorRecord::Sine && g.frequency != GeneratorRecord::DefaultFrequency
            && !batch.contains(freqPath)) {
            g.frequency = GeneratorRecord::DefaultFrequency;
            r.followers.append(freqPath);
        }
        break;
    }
    case Effect::FirType: {
        FirChannel &fir = state.dsp.fir[size_t(p.channel)];
        if (fir.external)
            break;
        // Back from external coefficients: a design takes one of the offered
        // tap counts.
        const Parameter *taps = find(firPath(p.channel, "taps"));
        if (!taps->listed.contains(double(fir.taps))) {
            fir.taps = quint16(onStep(*taps, rangeOf(*taps, state), double(fir.taps)));
            r.followers.append(taps->path);
        }
        if (redesign(fir, UnitState::sampleRate(m_family)))
            r.followers.append(firPath(p.channel, "coefficients"));
        break;
    }
    case Effect::FirTaps:
    case Effect::FirDesign: {
        FirChannel &fir = state.dsp.fir[size_t(p.channel)];
        if (fir.external) {
            if (p.effect == Effect::FirTaps) {
                // Fewer or more of the external coefficients in use: the first
                // ones stay, new ones are zero.
                std::array<float, FirChannel::MaxTaps> designOrder{};
                FirChannel previous = fir;
                previous.taps = quint16(before);
                previous.designCoefficients(designOrder.data());
                fir.setDesignCoefficients(designOrder.data(), fir.taps);
                r.followers.append(firPath(p.channel, "coefficients"));
            }
            break;
        }
        // The high corner of a low pass, say, changes nothing the unit runs.
        if (redesign(fir, UnitState::sampleRate(m_family)))
            r.followers.append(firPath(p.channel, "coefficients"));
        break;
    }
    case Effect::FirCoefficients:
        break;
    }
    return r;
}
