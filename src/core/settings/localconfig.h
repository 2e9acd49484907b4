#pragma once

#include <QString>

// The application's preferences kept in "cfg.dat" in the working directory.
struct LocalConfig
{
    int currentLanguage = 0;
    quint16 code = 1;
    QString englishTitle;
    QString chineseTitle;
    bool highDpiScaling = true;

    static QString defaultPath() { return QStringLiteral("cfg.dat"); }

    // Reads the high-DPI flag only; meant for before the application exists.
    static bool readHighDpiScaling(const QString &path = defaultPath());

    // Reads language, code and titles (the high-DPI flag is read separately).
    // A missing file is created empty; returns false when it cannot be opened.
    bool read(const QString &path = defaultPath());

    // Writes the whole file from the current values.
    bool write(const QString &path = defaultPath()) const;

    QByteArray serialize() const;
};
