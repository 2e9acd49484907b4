#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include "core/records/firchannel.h"

class QIODevice;

// The FIR page's files:
// - ".chFIR": a design, exactly the 18-byte FirChannel header;
// - its companion ".txt" beside it: the designed coefficients, first tap
//   first, one per line as "%1.14e" with CR LF;
// - external coefficient files "*.txt" made by other tools: one number per
//   line, read until the end of the file.
class FirFiles
{
public:
    enum class Result { Ok, FormatError, TooManyTaps };

    static constexpr float MaxCoefficient = 100.0f;
    // A coefficient line is a few dozen characters; anything this long is
    // not one, and reading it whole would let a stray binary file eat memory.
    static constexpr int MaxLineLength = 4096;

    // The tap counts offered for designs: 50, 60, .., 250, 256 and, up to
    // 512, 260, .., 510, 512.
    static QVector<int> designTapCounts(int maxTaps);

    // Checks an imported ".chFIR" file. Anything but 18 bytes, or a header
    // the page cannot show as a design (external, a type other than
    // 1..3, a window other than 1..7, a beta other than a whole 0..10, a
    // frequency outside 20..20000 Hz or a tap count the list does not
    // offer), is a format error; a tap count above `maxTaps` is TooManyTaps.
    // On Ok, `out` gets the header with zero coefficients.
    static Result readHeader(const QByteArray &bytes, int maxTaps, FirChannel *out);

    // The companion text of `count` coefficients in design order.
    static QByteArray coefficientText(const float *coefficients, int count);

    // Reads an external coefficient file line by line: each line is cut at
    // its first NUL, loses every CR and LF and its surrounding white space,
    // and must then be a number within +-MaxCoefficient while fewer than
    // `maxTaps` values have been taken. The first line that is not taken ends
    // the reading: Ok only when that is the end of the file (and at least
    // one value was read); otherwise FormatError while fewer than `maxTaps`
    // values were read, TooManyTaps when `maxTaps` were.
    static Result readCoefficients(QIODevice *device, int maxTaps, QVector<float> *values);
    static Result readCoefficients(const QByteArray &text, int maxTaps, QVector<float> *values);

    // The name a design is saved under: the chosen name with ".chFIR" added
    // when it does not end in it (in any case).
    static QString designPath(const QString &chosen);
    // The companion text file of a design path: its "chFIR" suffix becomes
    // "txt". Only the suffix: a folder called "chFIR" stays as it is.
    static QString companionPath(const QString &designPath);

    // Writes the 18-byte header to `path` and the coefficients to its
    // companion file, each replacing an existing file only once it is
    // complete. On failure returns false with the file that could not be
    // written and the system's reason.
    static bool writeDesign(const QString &path, const FirChannel &header, const float *coefficients, int count,
                            QString *failedPath, QString *reason);
};
