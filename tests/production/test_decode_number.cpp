// The fast number text of the decoded files against QTextStream itself.
#include <QTest>
#include <QTextStream>

#include <cmath>
#include <cstring>
#include <random>

#include "production/DecodeNumber.h"

namespace {
QByteArray viaStream(double v, bool fixed3)
{
    QString s;
    QTextStream ts(&s);
    if (fixed3) {
        ts.setRealNumberNotation(QTextStream::FixedNotation);
        ts.setRealNumberPrecision(3);
    }
    ts << v;
    ts.flush();
    return s.toLatin1();
}
QByteArray real(double v)
{
    char buf[DecodeNumber::kMaxChars];
    return QByteArray(buf, int(DecodeNumber::appendReal(buf, v) - buf));
}
QByteArray flt(float v)
{
    char buf[DecodeNumber::kMaxChars];
    return QByteArray(buf, int(DecodeNumber::appendFloat(buf, v) - buf));
}
QByteArray fixed3(float v)
{
    char buf[DecodeNumber::kMaxChars];
    return QByteArray(buf, int(DecodeNumber::appendFixed3(buf, v) - buf));
}
float floatFromBits(uint32_t bits)
{
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}
} // namespace

class TestDecodeNumber : public QObject {
    Q_OBJECT
private slots:
    void halfwayValuesRoundAwayFromZero()
    {
        QCOMPARE(real(413.5625), QByteArray("413.563"));
        QCOMPARE(flt(413.5625f), QByteArray("413.563"));
        QCOMPARE(flt(-0.0001234565f), viaStream(double(-0.0001234565f), false));
        QCOMPARE(real(-413.5625), QByteArray("-413.563"));
        QCOMPARE(fixed3(0.0625f), QByteArray("0.063"));
        QCOMPARE(fixed3(-0.0625f), QByteArray("-0.063"));
        QCOMPARE(real(0.0625), viaStream(0.0625, false));
    }

    void formsMatchTheStreamAtTheirBorders()
    {
        const double values[] = {0,      -0.0,    1,        -1,       100000,  999999,   1000000,
                                 999999.5, 999999.4, 1e6 + 1, 123456,   1234567, 0.0001,   0.00001,
                                 0.000099999, 9.99999e-5, 1e-5,  1e21,  1e-300,  5e-324,   1.7e308,
                                 0.1,    0.5,     2.5,      1e15,     65536.0,  -2.5e-7, 3.0e38,
                                 1.0 / 3, 2.0 / 3, 123.4565, 99999.95, 9999995, 0.0009999995};
        for (double v : values) {
            QCOMPARE(real(v), viaStream(v, false));
            const float f = float(v);
            QCOMPARE(flt(f), viaStream(double(f), false));
            QCOMPARE(fixed3(f), viaStream(double(f), true));
        }
    }

    void specialValuesMatchTheStream()
    {
        const double values[] = {std::nan(""), -std::nan(""), HUGE_VAL, -HUGE_VAL};
        for (double v : values) {
            QCOMPARE(real(v), viaStream(v, false));
            QCOMPARE(fixed3(float(v)), viaStream(double(float(v)), true));
        }
    }

    void everyFloatBitPatternSampledMatchesTheStream()
    {
        std::mt19937 rng(20261207);
        for (int i = 0; i < 300000; ++i) {
            const float f = floatFromBits(uint32_t(rng()));
            QCOMPARE(real(double(f)), viaStream(double(f), false));
            QCOMPARE(flt(f), viaStream(double(f), false));
            QCOMPARE(fixed3(f), viaStream(double(f), true));
        }
    }

    void sensorRangeFloatsAndTiesMatchTheStream()
    {
        std::mt19937 rng(7);
        std::uniform_real_distribution<float> wide(-20000.0f, 20000.0f);
        std::uniform_int_distribution<int> scale(-12, 12);
        for (int i = 0; i < 300000; ++i) {
            const float f = wide(rng) * std::pow(10.0f, float(scale(rng)));
            QCOMPARE(real(double(f)), viaStream(double(f), false));
            QCOMPARE(flt(f), viaStream(double(f), false));
            QCOMPARE(fixed3(f), viaStream(double(f), true));
        }
        // Exact binary halves and quarters at every place: halfway cases for both forms.
        for (int n = -200000; n <= 200000; n += 7) {
            for (float d : {2.0f, 4.0f, 16.0f, 1024.0f, 65536.0f}) {
                const float f = float(n) / d;
                QCOMPARE(real(double(f)), viaStream(double(f), false));
                QCOMPARE(flt(f), viaStream(double(f), false));
                QCOMPARE(fixed3(f), viaStream(double(f), true));
                const float g = float(n) * 8.0f + 0.5f;
                QCOMPARE(flt(g), viaStream(double(g), false));
            }
        }
    }

    void doublesOfIntegerThousandthsMatchTheStream()
    {
        std::mt19937 rng(11);
        for (int i = 0; i < 200000; ++i) {
            const int32_t raw = int32_t(rng());
            const double v = double(raw) / 1000.0;
            QCOMPARE(real(v), viaStream(v, false));
        }
        for (int32_t raw = -2000000; raw <= 2000000; raw += 997) {
            const double v = double(raw) / 1000.0;
            QCOMPARE(real(v), viaStream(v, false));
        }
    }

    void randomDoublesMatchTheStream()
    {
        std::mt19937_64 rng(3);
        for (int i = 0; i < 100000; ++i) {
            uint64_t bits = rng();
            double v;
            std::memcpy(&v, &bits, 8);
            QCOMPARE(real(v), viaStream(v, false));
        }
    }

    void integersAndSevenDecimalFixedPoint()
    {
        char buf[DecodeNumber::kMaxChars];
        auto text = [&](char *end) { return QByteArray(buf, int(end - buf)); };
        QCOMPARE(text(DecodeNumber::appendU32(buf, 0)), QByteArray("0"));
        QCOMPARE(text(DecodeNumber::appendU32(buf, 4294967295u)), QByteArray("4294967295"));
        QCOMPARE(text(DecodeNumber::appendI32(buf, -2147483647 - 1)), QByteArray("-2147483648"));
        QCOMPARE(text(DecodeNumber::appendI32(buf, 47)), QByteArray("47"));
        QCOMPARE(text(DecodeNumber::appendFixed7(buf, 123)), QByteArray("0.0000123"));
        QCOMPARE(text(DecodeNumber::appendFixed7(buf, -7)), QByteArray("-0.0000007"));
        QCOMPARE(text(DecodeNumber::appendFixed7(buf, 5)), QByteArray("0.0000005"));
        QCOMPARE(text(DecodeNumber::appendFixed7(buf, -25)), QByteArray("-0.0000025"));
        QCOMPARE(text(DecodeNumber::appendFixed7(buf, 0)), QByteArray("0.0000000"));
        QCOMPARE(text(DecodeNumber::appendFixed7(buf, 1234567890)), QByteArray("123.4567890"));
        QCOMPARE(text(DecodeNumber::appendFixed7(buf, -2147483647 - 1)), QByteArray("-214.7483648"));
        std::mt19937 rng(5);
        for (int i = 0; i < 100000; ++i) {
            const uint32_t u = rng();
            QCOMPARE(text(DecodeNumber::appendU32(buf, u)), QByteArray::number(u));
            QCOMPARE(text(DecodeNumber::appendI32(buf, int32_t(u))), QByteArray::number(int32_t(u)));
        }
    }
};

QTEST_GUILESS_MAIN(TestDecodeNumber)
#include "test_decode_number.moc"
