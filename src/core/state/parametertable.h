#pragma once

#include <QString>

// The reference table of every parameter path, made from the catalogs of
// both unit families: one row per pattern ("in.<A-D>.gain_db"), with the
// kind, the range and unit (by family and channel where they differ) and the
// description. docs/cli.md carries it between two marker lines; the
// parameter test fails when that copy is out of date.
class ParameterTable
{
public:
    static const char *const BeginMarker;
    static const char *const EndMarker;

    static QString markdown();
    // `document` with the text between the markers replaced by the table;
    // false (and `document` unchanged) when a marker is missing.
    static bool replaceIn(QString *document);
    // The text between the markers, or a null string.
    static QString extract(const QString &document);
};
