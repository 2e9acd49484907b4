#pragma once

#include <QStringList>

// The languages offered in the menu, read from "translations/language.dat":
// one line per language, "lang:<translation file>;font:<font family>;".
struct LanguageList
{
    static constexpr int MaxLanguages = 5;

    QStringList files;
    QStringList fonts;

    int count() const { return files.size(); }

    static QString defaultPath() { return QStringLiteral("translations/language.dat"); }
    bool read(const QString &path = defaultPath());
};
