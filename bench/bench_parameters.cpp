// What the parameter catalog costs: building it, looking paths up, and the
// diff that undo history and "send to unit" run on every edit, against
// copying a state and packing it as a preset image in the same process.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTextStream>

#include "core/state/parametercatalog.h"
#include "core/state/statediff.h"
#include "core/state/statejson.h"

namespace {

// Every parameter at a random value, half the FIRs external.
UnitState randomState(quint32 seed)
{
    QRandomGenerator random(seed);
    UnitState state(UnitFamily::Sharc96k);
    for (const Parameter &p : ParameterCatalog::of(state).parameters()) {
        QJsonValue value;
        if (p.isNumeric())
            value = p.rounding == Parameter::Rounding::Listed ? p.listed.at(random.bounded(p.listed.size()))
                                                              : p.minimum + random.generateDouble() * (p.maximum - p.minimum);
        else if (p.kind == Parameter::Kind::Bool)
            value = random.bounded(2) == 1;
        else if (p.kind == Parameter::Kind::Choice && !p.readOnly)
            value = p.choices.at(random.bounded(p.choices.size()));
        else if (p.kind == Parameter::Kind::Coefficients && p.channel % 2 == 0) {
            ParameterCatalog::set(state, p.path.section(QLatin1Char('.'), 0, 2) + QStringLiteral(".type"),
                                  QStringLiteral("external"));
            QJsonArray values;
            for (int i = 0; i < p.maxLength; ++i)
                values.append(random.generateDouble() - 0.5);
            value = values;
        } else
            continue;
        ParameterCatalog::set(state, p.path, value);
    }
    return state;
}

// Nanoseconds per run of `work`, over at least `minimumMs`.
template <typename Work>
double timeEach(Work work, int minimumMs = 300)
{
    QElapsedTimer timer;
    timer.start();
    qint64 runs = 0;
    do {
        work();
        ++runs;
    } while (timer.elapsed() < minimumMs);
    return double(timer.nsecsElapsed()) / double(runs);
}

volatile qint64 sink = 0;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);

    QElapsedTimer build;
    build.start();
    const ParameterCatalog &catalog = ParameterCatalog::of(UnitFamily::Sharc96k);
    const double buildMs = double(build.nsecsElapsed()) / 1e6;
    out << "catalog (96 kHz): " << catalog.size() << " parameters, built once in " << QString::number(buildMs, 'f', 2)
        << " ms\n";

    QStringList paths;
    for (const Parameter &p : catalog.parameters())
        paths.append(p.path);
    const double lookup = timeEach([&] {
                              for (const QString &path : qAsConst(paths))
                                  sink = sink + catalog.indexOf(path);
                          })
        / paths.size();
    out << "lookup by path: " << QString::number(lookup, 'f', 0) << " ns\n";

    const UnitState a = randomState(1);
    const UnitState b = randomState(2);
    UnitState edited = a;
    ParameterCatalog::set(edited, QStringLiteral("out.3.gain_db"), -6);

    // References: what any edit already costs the application.
    const double copy = timeEach([&] {
        UnitState c = a;
        sink = sink + c.dsp.outputLevels[0].group;
    });
    const double pack = timeEach([&] { sink = sink + a.dsp.pack96k().size(); });
    out << "reference: copy a state " << QString::number(copy / 1000.0, 'f', 1) << " us, pack its 96 kHz preset image "
        << QString::number(pack / 1000.0, 'f', 1) << " us\n";

    const double equalDiff = timeEach([&] { sink = sink + StateDiff::between(a, a).size(); });
    const double oneDiff = timeEach([&] { sink = sink + StateDiff::between(a, edited).size(); });
    const int differing = StateDiff::between(a, b).size();
    const double fullDiff = timeEach([&] { sink = sink + StateDiff::between(a, b).size(); });
    auto row = [&](const char *what, double ns) {
        out << what << QString::number(ns / 1000.0, 'f', 1) << " us (" << QString::number(ns / copy, 'f', 1)
            << " x copy, " << QString::number(ns / pack, 'f', 2) << " x pack)\n";
    };
    row("diff, equal states: ", equalDiff);
    row("diff, one edit: ", oneDiff);
    out << "diff, " << differing << " differing parameters: " << QString::number(fullDiff / 1000.0, 'f', 1) << " us\n";

    const double set = timeEach([&] {
        UnitState c = a;
        ParameterCatalog::set(c, QStringLiteral("in.B.peq.7.gain_db"), 3.5);
    });
    row("copy and set one parameter: ", set);
    QByteArray json;
    const double write = timeEach([&] { json = QJsonDocument(StateJson::write(a)).toJson(QJsonDocument::Compact); });
    row("whole state to JSON text: ", write);
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    const double read = timeEach([&] {
        UnitState c(UnitFamily::Sharc96k);
        sink = sink + StateJson::read(object, &c).size();
    });
    row("JSON object into a fresh state: ", read);
    out << "JSON text: " << json.size() << " bytes\n";
    return 0;
}
