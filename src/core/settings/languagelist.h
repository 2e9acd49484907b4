#pragma once

#include <QStringList>

#include "datapaths.h"

// The languages offered in the menu, read from "translations/language.dat"
// (the run folder's, or the installed one: see DataPaths):
// one line per language, "lang:<translation file>;font:<font family>;".
struct LanguageList
{
    static constexpr int MaxLanguages = 5;

    QStringList files;
    QStringList fonts;

    int count() const { return files.size(); }

    static QString defaultPath() { return DataPaths::translations() + QStringLiteral("language.dat"); }
    bool read(const QString &path = defaultPath());
};
