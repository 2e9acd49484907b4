#pragma once

#include <QString>
#include <QVector>

#include "core/state/parameter.h"
#include "core/state/unitstate.h"

// Writes down every parameter of a UnitState for one unit family, in the
// catalog's order: the unit, each input, the matrix, the generator, each
// output; within a channel in the order of its signal, locks last. The
// limits are the records' constants, which the pages limit by too.
class CatalogBuilder
{
public:
    explicit CatalogBuilder(UnitFamily family);

    QVector<Parameter> build();

    static QString inputName(int input);
    static QString outputName(int output);

private:
    // A path and its table pattern, grown segment by segment.
    struct Name
    {
        QString path;
        QString pattern;
        Name operator/(const QString &segment) const { return {path + QLatin1Char('.') + segment, pattern + QLatin1Char('.') + segment}; }
        Name indexed(const QString &segment, const QString &range) const
        {
            return {path + QLatin1Char('.') + segment, pattern + QLatin1Char('.') + range};
        }
    };

    Parameter &add(const Name &name, Parameter::Kind kind, const QString &description);

    void addUnit();
    void addInput(int input);
    void addMatrix();
    void addGenerator();
    void addOutput(int output);
    void addFilter(const Name &channel, bool inputSide, int index);
    void addLimiter(const Name &channel, bool inputSide, int index);
    void addLevel(const Name &channel, bool inputSide, int index);
    void addFir(const Name &channel, int output);
    void addInputLocks(const Name &channel, int input);
    void addOutputLocks(const Name &channel, int output);
    void addFilterLocks(const Name &locks, bool inputSide, int index);

    UnitFamily m_family;
    QVector<Parameter> m_parameters;
};
