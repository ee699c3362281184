#include "production/DecodeNumber.h"

#include <QString>
#include <QTextStream>

#include <cmath>
#include <cstring>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "digit words are laid out little-endian");

namespace DecodeNumber {
namespace {

using u128 = unsigned __int128;

struct Pow10Table {
    u128 p[39];
    int bits[39];
    constexpr Pow10Table() : p{}, bits{}
    {
        u128 x = 1;
        for (int i = 0; i < 39; ++i) {
            p[i] = x;
            int b = 0;
            for (u128 y = x; y; y >>= 1)
                ++b;
            bits[i] = b;
            x *= 10;
        }
    }
};
constexpr Pow10Table kPow10{};

constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                          "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                          "8081828384858687888990919293949596979899";

inline uint16_t pair(uint32_t x)
{
    uint16_t v;
    std::memcpy(&v, kPairs + 2 * x, 2);
    return v;
}
inline void store8(char *p, uint64_t w) { std::memcpy(p, &w, 8); }

int bitLength(uint64_t x) { return x ? 64 - __builtin_clzll(x) : 0; }
int bitLength(u128 x)
{
    const uint64_t hi = uint64_t(x >> 64);
    return hi ? 128 - __builtin_clzll(hi) : bitLength(uint64_t(x));
}

// |v| = m * 2^e exactly, m odd (v finite, not zero).
struct Binary {
    uint64_t m;
    int e;
};
Binary decompose(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    const uint64_t frac = bits & ((uint64_t(1) << 52) - 1);
    const int ex = int((bits >> 52) & 0x7FF);
    Binary b{ex ? frac | (uint64_t(1) << 52) : frac, ex ? ex - 1075 : -1074};
    const int tz = __builtin_ctzll(b.m);
    b.m >>= tz;
    b.e += tz;
    return b;
}

// floor(|v| * 10^p) and whether the rest is at least one half (ties round away from zero).
// False when the exact arithmetic does not fit in 128 bits.
bool scaledWide(const Binary &b, int p, u128 &floor, bool &roundUp)
{
    const int mbits = bitLength(b.m);
    if (p >= 0) {
        if (p > 38 || mbits + kPow10.bits[p] > 126)
            return false;
        const u128 num = u128(b.m) * kPow10.p[p];
        if (b.e >= 0) {
            if (bitLength(num) + b.e > 127)
                return false;
            floor = num << b.e;
            roundUp = false;
            return true;
        }
        const int s = -b.e;
        if (s > 126)
            return false;
        floor = num >> s;
        const u128 rest = num & ((u128(1) << s) - 1);
        roundUp = rest >= (u128(1) << (s - 1));
        return true;
    }
    const int n = -p;
    if (n > 38)
        return false;
    u128 den = kPow10.p[n];
    u128 num = b.m;
    if (b.e >= 0) {
        if (mbits + b.e > 127)
            return false;
        num <<= b.e;
    } else {
        if (kPow10.bits[n] - b.e > 126)
            return false;
        den <<= -b.e;
    }
    floor = num / den;
    const u128 rest = num - floor * den;
    roundUp = rest >= den - rest;
    return true;
}

// The same, on 64-bit words when the product fits (nearly every value of real data).
inline bool scaled(const Binary &b, int p, u128 &floor, bool &roundUp)
{
    if (p >= 0 && p <= 19 && bitLength(b.m) + kPow10.bits[p] <= 64) {
        const uint64_t num = b.m * uint64_t(kPow10.p[p]);
        if (b.e < 0 && b.e > -64) {
            const int s = -b.e;
            floor = num >> s;
            roundUp = ((num >> (s - 1)) & 1) != 0;
            return true;
        }
        if (b.e == 0) {
            floor = num;
            roundUp = false;
            return true;
        }
    }
    return scaledWide(b, p, floor, roundUp);
}

// 10^k as a double for k = -340 .. 340 (approximate; only used to pick the exponent).
struct Pow10Doubles {
    double d[683]; // d[k + 341] = 10^k
    Pow10Doubles()
    {
        for (int k = -341; k <= 341; ++k)
            d[k + 341] = std::pow(10.0, double(k));
    }
};
const Pow10Doubles kPow10d;

char *writeU64(char *p, uint64_t v)
{
    char tmp[20];
    char *t = tmp + 20;
    while (v >= 100) {
        const unsigned d = unsigned(v % 100) * 2;
        v /= 100;
        *--t = kPairs[d + 1];
        *--t = kPairs[d];
    }
    if (v >= 10) {
        *--t = kPairs[v * 2 + 1];
        *--t = kPairs[v * 2];
    } else {
        *--t = char('0' + v);
    }
    const size_t n = size_t(tmp + 20 - t);
    std::memcpy(p, t, n);
    return p + n;
}

char *special(char *p, double v)
{
    if (v != v) {
        std::memcpy(p, "nan", 3);
        return p + 3;
    }
    if (v < 0)
        *p++ = '-';
    std::memcpy(p, "inf", 3);
    return p + 3;
}

bool isFinite(double v) { return v == v && v - v == 0; }

char *fromQString(char *p, const QString &s)
{
    const QByteArray b = s.toLatin1();
    std::memcpy(p, b.constData(), size_t(b.size()));
    return p + b.size();
}

} // namespace

char *appendU32(char *p, uint32_t v) { return writeU64(p, v); }

char *appendI32(char *p, int32_t v)
{
    if (v < 0) {
        *p++ = '-';
        return writeU64(p, uint64_t(-int64_t(v)));
    }
    return writeU64(p, uint64_t(v));
}

char *appendFixed7(char *p, int32_t raw)
{
    int64_t r = raw;
    if (r < 0) {
        *p++ = '-';
        r = -r;
    }
    p = writeU64(p, uint64_t(r / 10000000));
    *p++ = '.';
    uint32_t f = uint32_t(r % 10000000);
    for (int i = 6; i >= 0; --i) {
        p[i] = char('0' + f % 10);
        f /= 10;
    }
    return p + 7;
}

// Writes the six-digit value q (100000 .. 999999) of a number whose decimal exponent is k.
static char *writeDigits(char *p, uint32_t q, int k, bool negative)
{
    // The six digit characters in one word (first digit in the low byte), and the count left
    // after cutting trailing zeros. Texts are stored in whole 8-byte words: the caller's room
    // covers kMaxChars per number.
    const uint32_t hi = q / 10000, mid = (q / 100) % 100, lo = q % 100;
    const uint64_t w = uint64_t(pair(hi)) | uint64_t(pair(mid)) << 16 | uint64_t(pair(lo)) << 32;
    int nd = 6;
    if (lo == 0) {
        nd = 4;
        if (mid == 0)
            nd = hi % 10 ? 2 : 1;
        else if (mid % 10 == 0)
            nd = 3;
    } else if (lo % 10 == 0) {
        nd = 5;
    }
    *p = '-';
    p += negative;
    const int decpt = k + 1;
    if (decpt > 0 && decpt <= 6) {
        if (decpt >= nd) {
            store8(p, w);
            return p + decpt;
        }
        const int cut = 8 * decpt;
        store8(p, (w & ((uint64_t(1) << cut) - 1)) | uint64_t('.') << cut | (w >> cut) << (cut + 8));
        return p + nd + 1;
    }
    if (decpt <= 0 && decpt > -4) {
        std::memcpy(p, "0.000000", 8);
        store8(p + 2 - decpt, w);
        return p + 2 - decpt + nd;
    }
    store8(p, (w & 0xFF) | uint64_t('.') << 8 | (w >> 8) << 16);
    p += nd > 1 ? nd + 1 : 1;
    *p++ = 'e';
    int x = decpt - 1;
    *p++ = x < 0 ? '-' : '+';
    if (x < 0)
        x = -x;
    if (x >= 100) {
        *p++ = char('0' + x / 100);
        x %= 100;
    }
    std::memcpy(p, kPairs + x * 2, 2);
    return p + 2;
}

char *appendFloat(char *p, float f)
{
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    const int ex = int((bits >> 23) & 0xFF);
    // Normal numbers from 1e-7 to below 1e6 on 64-bit words; everything else in appendReal.
    const int e2 = ex - 127;
    if (e2 >= -24 && e2 <= 19) {
        const double a = f < 0 ? -double(f) : double(f);
        int k = (e2 * 1233) >> 12;
        if (a >= kPow10d.d[k + 342])
            ++k;
        const int pw = 5 - k;
        if (pw >= 0 && pw <= 12) {
            const uint64_t num = uint64_t((bits & 0x7FFFFF) | 0x800000) * uint64_t(kPow10.p[pw]);
            const int s = 150 - ex;
            const uint64_t floor = num >> s;
            if (floor >= 100000 && floor < 1000000) {
                uint32_t q = uint32_t(floor) + uint32_t((num >> (s - 1)) & 1);
                if (q == 1000000) {
                    q = 100000;
                    ++k;
                }
                return writeDigits(p, q, k, f < 0);
            }
        }
    }
    return appendReal(p, double(f));
}

char *appendReal(char *p, double v)
{
    if (!isFinite(v))
        return special(p, v);
    if (v == 0) {
        *p++ = '0';
        return p;
    }
    const Binary b = decompose(v);
    // Decimal exponent k of |v|: 10^k <= |v| < 10^(k+1). The estimate is nearly always right;
    // the loop settles the rest exactly.
    const int e2 = b.e + bitLength(b.m) - 1;
    int k = (e2 * 1233) >> 12;
    if ((v < 0 ? -v : v) >= kPow10d.d[k + 342])
        ++k;
    uint32_t q = 0;
    for (int tries = 0;; ++tries) {
        u128 floor;
        bool up;
        if (tries > 3 || !scaled(b, 5 - k, floor, up))
            return appendRealQt(p, v);
        if (floor >= 1000000) {
            ++k;
            continue;
        }
        if (floor < 100000) {
            --k;
            continue;
        }
        q = uint32_t(floor) + (up ? 1 : 0);
        if (q == 1000000) {
            q = 100000;
            ++k;
        }
        break;
    }
    return writeDigits(p, q, k, v < 0);
}

char *appendFixed3(char *p, float f)
{
    const double v = f;
    if (!isFinite(v))
        return special(p, v);
    uint64_t q = 0;
    if (v != 0) {
        u128 floor;
        bool up;
        if (!scaled(decompose(v), 3, floor, up) || floor >= (u128(1) << 63))
            return appendFixed3Qt(p, f);
        q = uint64_t(floor) + (up ? 1 : 0);
    }
    if (v < 0)
        *p++ = '-';
    p = writeU64(p, q / 1000);
    unsigned r = unsigned(q % 1000);
    p[0] = '.';
    p[1] = char('0' + r / 100);
    p[2] = kPairs[(r % 100) * 2];
    p[3] = kPairs[(r % 100) * 2 + 1];
    return p + 4;
}

char *appendRealQt(char *p, double v)
{
    QString s;
    QTextStream ts(&s);
    ts << v;
    ts.flush();
    return fromQString(p, s);
}

char *appendFixed3Qt(char *p, float v)
{
    QString s;
    QTextStream ts(&s);
    ts.setRealNumberNotation(QTextStream::FixedNotation);
    ts.setRealNumberPrecision(3);
    ts << v;
    ts.flush();
    return fromQString(p, s);
}

} // namespace DecodeNumber
