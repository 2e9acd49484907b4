#include "firfiles.h"

#include <QBuffer>
#include <QSaveFile>

#include <cmath>

namespace {

const QLatin1String DesignSuffix(".chFIR");
const QLatin1String CompanionSuffix("txt");

bool frequencyOffered(float value)
{
    return std::isfinite(value) && value >= FirChannel::MinFreq && value <= FirChannel::MaxFreq;
}

bool writeWhole(const QString &path, const QByteArray &bytes, QString *reason)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}

// One line as the reader sees it: up to the first NUL, without CR and LF,
// trimmed.
QByteArray cleanLine(QByteArray line)
{
    const int nul = line.indexOf('\0');
    if (nul >= 0)
        line.truncate(nul);
    line.replace('\r', QByteArray());
    line.replace('\n', QByteArray());
    return line.trimmed();
}

} // namespace

QVector<int> FirFiles::designTapCounts(int maxTaps)
{
    QVector<int> out;
    for (int n = 50; n <= 250; n += 10)
        out.append(n);
    if (maxTaps >= 256)
        out.append(256);
    for (int n = 260; n <= qMin(maxTaps, 510); n += 10)
        out.append(n);
    if (maxTaps >= 512)
        out.append(512);
    return out;
}

FirFiles::Result FirFiles::readHeader(const QByteArray &bytes, int maxTaps, FirChannel *out)
{
    if (bytes.size() != FirChannel::HeaderSize)
        return Result::FormatError;
    const FirChannel header = FirChannel::decodeHeader(reinterpret_cast<const uchar *>(bytes.constData()));
    if (header.taps > maxTaps)
        return Result::TooManyTaps;
    const float beta = header.kaiserBeta;
    const bool designable = header.external == 0 && header.firType >= FirChannel::LowPass
        && header.firType <= FirChannel::BandPass && header.window >= FirChannel::MinWindow
        && header.window <= FirChannel::MaxWindow && std::isfinite(beta) && beta >= 0.0f
        && beta <= float(FirChannel::MaxKaiserBeta) && beta == std::floor(beta) && frequencyOffered(header.lowFreq)
        && frequencyOffered(header.highFreq) && designTapCounts(maxTaps).contains(header.taps);
    if (!designable)
        return Result::FormatError;
    if (out) {
        *out = header;
        out->enable = header.enable ? 1 : 0;
        // -0 passes every check above; the design and the page know it as 0.
        out->kaiserBeta = beta + 0.0f;
    }
    return Result::Ok;
}

QByteArray FirFiles::coefficientText(const float *coefficients, int count)
{
    QByteArray out;
    out.reserve(count * 24);
    for (int i = 0; i < count; ++i)
        out += QString::asprintf("%1.14e\r\n", double(coefficients[i])).toLocal8Bit();
    return out;
}

FirFiles::Result FirFiles::readCoefficients(QIODevice *device, int maxTaps, QVector<float> *values)
{
    QVector<float> read;
    bool reachedEnd = true;
    while (!device->atEnd()) {
        const QByteArray raw = device->readLine(MaxLineLength);
        const bool wholeLine = raw.endsWith('\n') || device->atEnd();
        bool ok = false;
        const float value = cleanLine(raw).toFloat(&ok);
        if (!wholeLine || !ok || read.size() >= maxTaps || !(value >= -MaxCoefficient && value <= MaxCoefficient)) {
            reachedEnd = false;
            break;
        }
        read.append(value);
    }
    if (values)
        *values = read;
    if (reachedEnd)
        // An empty file holds no filter: taking it would send zero taps.
        return read.isEmpty() ? Result::FormatError : Result::Ok;
    return read.size() < maxTaps ? Result::FormatError : Result::TooManyTaps;
}

FirFiles::Result FirFiles::readCoefficients(const QByteArray &text, int maxTaps, QVector<float> *values)
{
    QByteArray copy = text;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return readCoefficients(&buffer, maxTaps, values);
}

QString FirFiles::designPath(const QString &chosen)
{
    if (chosen.endsWith(DesignSuffix, Qt::CaseInsensitive))
        return chosen;
    return chosen + DesignSuffix;
}

QString FirFiles::companionPath(const QString &designPath)
{
    const QString path = FirFiles::designPath(designPath);
    return path.left(path.size() - (DesignSuffix.size() - 1)) + CompanionSuffix;
}

bool FirFiles::writeDesign(const QString &path, const FirChannel &header, const float *coefficients, int count,
                           QString *failedPath, QString *reason)
{
    const QString design = designPath(path);
    const QString companion = companionPath(design);
    if (!writeWhole(design, header.headerBytes(), reason)) {
        if (failedPath)
            *failedPath = design;
        return false;
    }
    if (!writeWhole(companion, coefficientText(coefficients, count), reason)) {
        if (failedPath)
            *failedPath = companion;
        return false;
    }
    return true;
}
