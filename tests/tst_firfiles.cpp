// The FIR record and the FIR page's files: the ".chFIR" header, the
// companion coefficient text, and external coefficient files.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

#include "core/files/firfiles.h"
#include "core/records/firchannel.h"

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray f32(float value)
{
    QByteArray bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

// The record's defaults: designed band pass 500..5000 Hz, 256 taps,
// "Rectangle", beta 10, off.
const char *const DefaultHeader = "00 0001 03 0000fa43 00409c45 01 00002041 00";

QByteArray header(int offset, const QByteArray &field)
{
    QByteArray bytes = hex(DefaultHeader);
    bytes.replace(offset, field.size(), field);
    return bytes;
}

QByteArray lines(int count, const char *value = "1.0e-02")
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += QByteArray(value) + "\r\n";
    return out;
}

} // namespace

Q_DECLARE_METATYPE(FirFiles::Result)

class TestFirFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recordLayout()
    {
        FirChannel r;
        QCOMPARE(r.toBytes().size(), 2066);
        QCOMPARE(r.headerBytes().toHex(), hex(DefaultHeader).toHex());
        // The unit runs the taps backwards: the last tap comes first.
        const float designOrder[3] = {1.0f, 2.0f, 3.0f};
        r.taps = 3;
        r.setDesignCoefficients(designOrder, 3);
        const QByteArray bytes = r.toBytes();
        QCOMPARE(bytes.mid(18, 16).toHex(), hex("00004040 00000040 0000803f 00000000").toHex());
        QCOMPARE(bytes.mid(1, 2).toHex(), hex("0300").toHex());
        float back[3] = {};
        FirChannel::decode(reinterpret_cast<const uchar *>(bytes.constData())).designCoefficients(back);
        QCOMPARE(back[0], 1.0f);
        QCOMPARE(back[2], 3.0f);
        QVERIFY(FirChannel::decode(reinterpret_cast<const uchar *>(bytes.constData())) == r);
    }

    void recordsCompareByteForByte()
    {
        FirChannel a;
        FirChannel b;
        b.coefficients[511] = -0.0f;
        QVERIFY(a != b);
        b.coefficients[511] = 0.0f;
        QVERIFY(a == b);
        b.coefficients[0] = std::numeric_limits<float>::quiet_NaN();
        a.coefficients[0] = b.coefficients[0];
        QVERIFY(a == b);
    }

    void normalisedRecords_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected");
        const float nan = std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("defaults stay") << hex(DefaultHeader) << hex(DefaultHeader);
        QTest::newRow("type 0 is band pass") << header(3, hex("00")) << hex(DefaultHeader);
        QTest::newRow("type 9 is band pass") << header(3, hex("09")) << hex(DefaultHeader);
        QTest::newRow("external flag makes type 4")
            << header(0, hex("05")) << hex("01 0001 04 0000fa43 00409c45 01 00002041 00");
        QTest::newRow("600 taps is 512") << header(1, hex("5802")) << header(1, hex("0002"));
        QTest::newRow("window 8 is Rectangle") << header(12, hex("08")) << hex(DefaultHeader);
        QTest::newRow("NaN beta is 10") << header(13, f32(nan)) << hex(DefaultHeader);
        QTest::newRow("beta 3.7 is 3") << header(13, f32(3.7f)) << header(13, f32(3.0f));
        QTest::newRow("NaN low frequency is 500") << header(4, f32(nan)) << hex(DefaultHeader);
        QTest::newRow("30 kHz high frequency is 20 kHz") << header(8, f32(30000.0f)) << header(8, f32(20000.0f));
        QTest::newRow("enable 9 is on") << header(17, hex("09")) << header(17, hex("01"));
    }
    void normalisedRecords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, expected);
        bytes.append(QByteArray(FirChannel::Size - FirChannel::HeaderSize, '\0'));
        const FirChannel r = FirChannel::decode(reinterpret_cast<const uchar *>(bytes.constData())).normalised();
        QCOMPARE(r.headerBytes().toHex(), expected.toHex());
    }

    void tapLists()
    {
        const QVector<int> small = FirFiles::designTapCounts(256);
        QCOMPARE(small.size(), 22);
        QCOMPARE(small.first(), 50);
        QCOMPARE(small.at(20), 250);
        QCOMPARE(small.last(), 256);
        const QVector<int> large = FirFiles::designTapCounts(512);
        QCOMPARE(large.size(), 22 + 26 + 1);
        QCOMPARE(large.at(21), 256);
        QCOMPARE(large.at(22), 260);
        QCOMPARE(large.at(large.size() - 2), 510);
        QCOMPARE(large.last(), 512);
    }

    void designHeaders_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("maxTaps");
        QTest::addColumn<FirFiles::Result>("result");
        using R = FirFiles::Result;
        QTest::newRow("defaults") << hex(DefaultHeader) << 256 << R::Ok;
        QTest::newRow("17 bytes") << hex(DefaultHeader).left(17) << 256 << R::FormatError;
        QTest::newRow("19 bytes") << hex(DefaultHeader) + '\0' << 256 << R::FormatError;
        QTest::newRow("empty") << QByteArray() << 512 << R::FormatError;
        QTest::newRow("512 taps on a 256-tap unit") << header(1, hex("0002")) << 256 << R::TooManyTaps;
        QTest::newRow("512 taps on a 512-tap unit") << header(1, hex("0002")) << 512 << R::Ok;
        QTest::newRow("300 taps on a 512-tap unit") << header(1, hex("2c01")) << 512 << R::Ok;
        QTest::newRow("255 taps are not offered") << header(1, hex("ff00")) << 256 << R::FormatError;
        QTest::newRow("0 taps") << header(1, hex("0000")) << 256 << R::FormatError;
        QTest::newRow("low pass") << header(3, hex("01")) << 256 << R::Ok;
        QTest::newRow("type 0") << header(3, hex("00")) << 256 << R::FormatError;
        QTest::newRow("external type") << header(3, hex("04")) << 256 << R::FormatError;
        QTest::newRow("external flag") << header(0, hex("01")) << 256 << R::FormatError;
        QTest::newRow("Kaiser") << header(12, hex("07")) << 256 << R::Ok;
        QTest::newRow("window 0") << header(12, hex("00")) << 256 << R::FormatError;
        QTest::newRow("window 8") << header(12, hex("08")) << 256 << R::FormatError;
        QTest::newRow("beta 2.5") << header(13, f32(2.5f)) << 256 << R::FormatError;
        QTest::newRow("beta 11") << header(13, f32(11.0f)) << 256 << R::FormatError;
        QTest::newRow("beta NaN") << header(13, f32(std::numeric_limits<float>::quiet_NaN())) << 256
                                  << R::FormatError;
        QTest::newRow("low frequency 10 Hz") << header(4, f32(10.0f)) << 256 << R::FormatError;
        QTest::newRow("high frequency infinite") << header(8, f32(std::numeric_limits<float>::infinity())) << 256
                                                 << R::FormatError;
    }
    void designHeaders()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, maxTaps);
        QFETCH(FirFiles::Result, result);
        FirChannel out;
        out.coefficients[0] = 1.0f;
        QCOMPARE(FirFiles::readHeader(bytes, maxTaps, &out), result);
        if (result == FirFiles::Result::Ok) {
            QCOMPARE(out.headerBytes().toHex(), bytes.toHex());
            QCOMPARE(out.coefficients[0], 0.0f);
        }
    }

    void negativeZeroBetaReadsAsZero()
    {
        // Another tool may write the sign bit on a zero beta; the design is
        // the same, and what the page keeps must be the plain zero it writes.
        FirChannel out;
        QCOMPARE(FirFiles::readHeader(header(13, f32(-0.0f)), 512, &out), FirFiles::Result::Ok);
        QVERIFY(!std::signbit(out.kaiserBeta));
        QCOMPARE(out.headerBytes().toHex(), header(13, f32(0.0f)).toHex());
        QCOMPARE(out.normalised().headerBytes().toHex(), out.headerBytes().toHex());
    }

    void coefficientText()
    {
        const float values[] = {0.5f, -0.25f, 0.0f, 100.0f, 3.0517578125e-05f};
        QCOMPARE(FirFiles::coefficientText(values, 5),
                 QByteArray("5.00000000000000e-01\r\n-2.50000000000000e-01\r\n0.00000000000000e+00\r\n"
                            "1.00000000000000e+02\r\n3.05175781250000e-05\r\n"));
    }

    void externalFiles_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("maxTaps");
        QTest::addColumn<FirFiles::Result>("result");
        QTest::addColumn<int>("values");
        using R = FirFiles::Result;
        QTest::newRow("256 lines") << lines(256) << 512 << R::Ok << 256;
        QTest::newRow("512 lines on a 512-tap unit") << lines(512) << 512 << R::Ok << 512;
        QTest::newRow("513 lines on a 512-tap unit") << lines(513) << 512 << R::TooManyTaps << 512;
        QTest::newRow("257 lines on a 256-tap unit") << lines(257) << 256 << R::TooManyTaps << 256;
        QTest::newRow("150 on line 10") << lines(9) + "150\r\n" + lines(5) << 512 << R::FormatError << 9;
        QTest::newRow("-100 and 100 are taken") << QByteArray("-100\n100\n") << 512 << R::Ok << 2;
        QTest::newRow("an extra empty line") << lines(20) + "\r\n" << 512 << R::FormatError << 20;
        QTest::newRow("512 values and an empty line") << lines(512) + "\n" << 512 << R::TooManyTaps << 512;
        QTest::newRow("no line break at the end") << lines(3) + "0.5" << 512 << R::Ok << 4;
        QTest::newRow("LF only, blanks, tabs") << QByteArray("  0.5 \n\t-1e-3\t\n") << 512 << R::Ok << 2;
        QTest::newRow("text after a NUL is ignored") << QByteArray("0.5\0junk\n0.25\n", 14) << 512 << R::Ok << 2;
        QTest::newRow("a word") << QByteArray("0.5\nabc\n") << 512 << R::FormatError << 1;
        QTest::newRow("nan") << QByteArray("0.5\nnan\n") << 512 << R::FormatError << 1;
        QTest::newRow("two numbers on a line") << QByteArray("0.5 0.5\n") << 512 << R::FormatError << 0;
        QTest::newRow("empty file") << QByteArray() << 512 << R::FormatError << 0;
        QTest::newRow("an endless line") << QByteArray(100000, '1') << 512 << R::FormatError << 0;
    }
    void externalFiles()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, maxTaps);
        QFETCH(FirFiles::Result, result);
        QFETCH(int, values);
        QVector<float> read;
        QCOMPARE(FirFiles::readCoefficients(text, maxTaps, &read), result);
        QCOMPARE(read.size(), values);
    }

    void paths_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("companion");
        QTest::newRow("plain") << "/d/hp.chFIR" << "/d/hp.chFIR" << "/d/hp.txt";
        QTest::newRow("folder named chFIR") << "/chFIR/a.chFIR" << "/chFIR/a.chFIR" << "/chFIR/a.txt";
        QTest::newRow("no suffix typed") << "/d/hp" << "/d/hp.chFIR" << "/d/hp.txt";
        QTest::newRow("other case") << "/d/hp.CHFIR" << "/d/hp.CHFIR" << "/d/hp.txt";
    }
    void paths()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, design);
        QFETCH(QString, companion);
        QCOMPARE(FirFiles::designPath(chosen), design);
        QCOMPARE(FirFiles::companionPath(design), companion);
    }

    void designFilesRoundTrip()
    {
        QTemporaryDir dir;
        FirChannel r;
        r.taps = 4;
        const float coefficients[4] = {-0.0123456789f, 0.987654321f, 1.0e-20f, 99.5f};
        const QString path = dir.filePath(QStringLiteral("bp.chFIR"));
        QString failed;
        QString reason;
        QVERIFY(FirFiles::writeDesign(path, r, coefficients, 4, &failed, &reason));
        QFile design(path);
        QVERIFY(design.open(QIODevice::ReadOnly));
        QCOMPARE(design.readAll().toHex(), hex("00 0400 03 0000fa43 00409c45 01 00002041 00").toHex());
        QFile text(dir.filePath(QStringLiteral("bp.txt")));
        QVERIFY(text.open(QIODevice::ReadOnly));
        const QByteArray content = text.readAll();
        QCOMPARE(content.count("\r\n"), 4);
        QVector<float> back;
        QCOMPARE(FirFiles::readCoefficients(content, 512, &back), FirFiles::Result::Ok);
        QCOMPARE(back.size(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(back.at(i), coefficients[i]);
    }

    void unwritableDesignSaysWhere()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing/bp.chFIR"));
        QString failed;
        QString reason;
        const float c[1] = {0.0f};
        QVERIFY(!FirFiles::writeDesign(path, FirChannel(), c, 1, &failed, &reason));
        QCOMPARE(failed, path);
        QVERIFY(!reason.isEmpty());
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(TestFirFiles)
#include "tst_firfiles.moc"
