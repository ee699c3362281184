#include "production/DecodeFormats.h"

#include <cmath>
#include <cstring>

#include "link/CommandFrames.h"
#include "production/DecodeNumber.h"

namespace DecodeFormat {
namespace {

using namespace DecodeNumber;

inline char *sep(char *p)
{
    *p++ = ',';
    return p;
}
inline char *endLine(char *p)
{
    *p++ = '\n';
    return p;
}
inline char *f32(char *p, const uint8_t *at) { return appendFloat(p, readLE<float>(at)); }
inline char *u32(char *p, const uint8_t *at) { return appendU32(p, readLE<uint32_t>(at)); }
inline char *i32(char *p, const uint8_t *at) { return appendI32(p, readLE<int32_t>(at)); }
inline char *u8(char *p, const uint8_t *at) { return appendI32(p, *at); }

QByteArray buildAhrsHeader()
{
    return "%time_us,accx,accy,accz,gyrox,gyroy,gyroz,temperature,roll,pitch,yaw,mx,my,mz\n";
}

QByteArray buildGnssUwbHeader()
{
    QByteArray h;
    for (const char *n : {"%time_us", "accx", "accy", "accz", "gyrox", "gyroy", "gyroz",
                          "temperature", "baro", "mx", "my", "mz", "gps.recv_time_us",
                          "gps.fixtype", "gps.numSV", "gps.lat", "gps.lon", "gps.alt", "gps.vn",
                          "gps.ve", "gps.vd", "gps.hacc", "gps.vacc", "gps.sacc", "gps.headacc",
                          "gps.pdop"})
        h += QByteArray(n) + ',';
    for (int k = 1; k <= Layout::kNodes; ++k)
        for (const char *n : {"id", "dis", "fp_rssi", "rx_rssi"})
            h += "uwb_frameNode" + QByteArray::number(k) + '.' + n + ',';
    for (int k = 1; k <= Layout::kNodes; ++k)
        for (const char *n : {"id", "time_us", "lat", "lon", "alt", "calcul_lat", "calcul_lon",
                              "calcul_alt"})
            h += "uwb_passNode" + QByteArray::number(k) + '.' + n + ',';
    return h + '\n';
}

QByteArray buildInsHeader()
{
    QByteArray h;
    for (const char *n :
         {"GPS milliseconds within a week", "Acceleration(g)x", "Acceleration(g)y",
          "Acceleration(g)z", "Angular velocity(deg/s)x", "Angular velocity(deg/s)y",
          "Angular velocity(deg/s)z", "Latitude", "Longitude", "Height", "Northbound speed",
          "Eastbound speed", "Eastbound speed", "Ground speed", "Roll", "Pitch", "Course",
          "RTK status", "RTK milliseconds within a week", "RTK star count",
          "RTK differential delay", "RTK speed accuracy", "RTK position accuracy",
          "RTK latitude", "RTK longitude", "RTK height", "RTK latitude RTK ground speed",
          "RTK trajectory angle", "RTK directional state", "RTK directional accuracy",
          "RTK azimuth"})
        h += QByteArray(n) + ',';
    return h + '\n';
}

QByteArray buildCalibHeader(int type)
{
    const int G = calibGroups(type);
    QByteArray h = "%";
    for (int i = 0; i < kImus; ++i) {
        const QByteArray imu = QByteArray::number(i);
        for (int j = 0; j < G; ++j)
            for (int k = 0; k < 7; ++k)
                h += "imu" + imu + '-' + QByteArray::number(j) + '-' + QByteArray::number(k) + ',';
        for (const char *n : {"calib_flag", "imu_fCode", "config_fCode", "calibParam_fCode",
                              "_6pos_count", "imu_range", "imu_type", "gyro_fuse_num",
                              "accel_fuse_num", "time_ms", "hardware_ver", "software_ver", "baud",
                              "lp_type", "sn"})
            h += QByteArray(n) + ',';
        for (int k = 0; k < 7; ++k)
            h += "imu_fused" + imu + '-' + QByteArray::number(k) + ',';
        if (type == Calib256)
            h += "calib_status,time_stable_us,time_consume_us,";
        else if (type == Calib368)
            h += "rev,";
        else
            h += "calib_status,";
    }
    for (int i = 0; i < kImus; ++i)
        h += "error_count,";
    return h + "time_us,index,\n";
}

QByteArray buildNineImuHeader()
{
    QByteArray h = "%t1,";
    for (int block = 0; block < 4; ++block)
        for (int m = 0; m < 8; ++m) {
            const QByteArray n = QByteArray::number(m);
            for (int k = 0; k < 6; ++k) {
                if (m == 0 && k == 0)
                    h += block == 0 ? "imu00_0," : "imu" + QByteArray::number(block) + "0_0,";
                else
                    h += "imu" + n + '_' + QByteArray::number(k) + ',';
            }
            h += "temp_" + n + ',';
        }
    for (int k = 0; k < 6; ++k)
        h += "imu8_" + QByteArray::number(k) + ',';
    return h + "temp_8,index\n";
}

} // namespace

size_t calibRecordBytes(int type)
{
    return type == Calib256 ? 256 : type == Calib368 ? 368 : type == Calib1040 ? 1040 : 0;
}

int calibGroups(int type)
{
    return type == Calib256 ? 4 : type == Calib368 ? 8 : type == Calib1040 ? 32 : 0;
}

int calibTypeOf(uint16_t id)
{
    switch (id) {
    case 0xB6B6:
    case 0xB6B8: return Calib256;
    case 0xB6B5: return Calib368;
    case 0xB6B4: return Calib1040;
    default: return -1;
    }
}

size_t layoutBytes(int type, uint16_t id)
{
    switch (type) {
    case Ahrs:
        return id == Msg::Ahrs ? kAhrsBytes
            : id == Msg::AhrsMag ? kAhrsMagBytes
            : id == Msg::GnssUwb ? kGnssUwbBytes
            : 0;
    case InsRtk:
        return id == Msg::Ins1 ? kInsPart1 : id == Msg::Ins2 ? kInsPart2 : id == Msg::Ins3 ? kInsPart3 : 0;
    case Calib256:
    case Calib368:
    case Calib1040:
        return calibTypeOf(id) == type ? kCalibHeader + kImus * calibRecordBytes(type) + kImus * 2 : 0;
    case NineImu: return id == Msg::NineImu ? kNineImuBytes : 0;
    default: return 0;
    }
}

QByteArray headerLine(int type, uint16_t firstId)
{
    static const QByteArray ahrs = buildAhrsHeader(), gnss = buildGnssUwbHeader(),
                            ins = buildInsHeader(), c256 = buildCalibHeader(Calib256),
                            c368 = buildCalibHeader(Calib368), c1040 = buildCalibHeader(Calib1040),
                            nine = buildNineImuHeader();
    switch (type) {
    case Ahrs: return firstId == Msg::GnssUwb ? gnss : ahrs;
    case InsRtk: return ins;
    case Calib256: return c256;
    case Calib368: return c368;
    case Calib1040: return c1040;
    case NineImu: return nine;
    default: return QByteArray();
    }
}

size_t maxRowBytes(int type)
{
    size_t fields;
    switch (type) {
    case Ahrs: fields = 146; break;
    case InsRtk: fields = 31; break;
    case Calib256: fields = 32 * 53 + 34; break;
    case Calib368: fields = 32 * 79 + 34; break;
    case Calib1040: fields = 32 * 247 + 34; break;
    default: fields = 233; break;
    }
    return fields * (kMaxChars + 1) + 16;
}

const char *positionTypeName(uint8_t type)
{
    switch (type) {
    case 0: return "NONE";
    case 1: return "FIXEDPOS";
    case 2: return "FIXEDHEIGHT";
    case 8: return "DOPPLER_V";
    case 16: return "单点";
    case 17: return "伪距差分解";
    case 18: return "SBAS定位";
    case 32: return "L1浮点";
    case 33: return "消电离层浮点";
    case 34: return "窄巷浮点";
    case 48: return "L1固定";
    case 49: return "宽巷固定";
    case 50: return "窄巷固定";
    default: return "";
    }
}

char *ahrsRow(char *p, const uint8_t *d, bool withMag)
{
    p = u32(p, d);
    for (int off : Layout::kAhrsFloats)
        p = f32(sep(p), d + off);
    if (withMag)
        for (int off : Layout::kAhrsMagFloats)
            p = f32(sep(p), d + off);
    return endLine(p);
}

char *gnssUwbRow(char *p, const uint8_t *r)
{
    using namespace Layout;
    p = sep(u32(p, r));
    for (int off : kGnssImuFloats)
        p = sep(f32(p, r + off));
    p = sep(u32(p, r + kGnssRecvTime));
    p = sep(u8(p, r + kGnssFixType));
    p = sep(u8(p, r + kGnssNumSv));
    for (int off : kGnssLatLonAlt)
        p = sep(i32(p, r + off));
    for (int k = 0; k < kGnssFloatCount; ++k)
        p = sep(f32(p, r + kGnssFloats0 + 4 * k));
    for (int k = 0; k < kNodes; ++k) {
        const uint8_t *n = r + kFrameNode0 + kFrameNodeStep * k;
        p = sep(u32(p, n));
        for (int f = 1; f <= 3; ++f)
            p = sep(f32(p, n + 4 * f));
    }
    for (int k = 0; k < kNodes; ++k) {
        const uint8_t *n = r + kPassNode0 + kPassNodeStep * k;
        p = sep(u32(p, n));
        p = sep(u32(p, n + 4));
        for (int f = 2; f < 8; ++f)
            p = sep(i32(p, n + 4 * f));
    }
    return endLine(p);
}

char *insPart1Text(char *p, const uint8_t *a)
{
    p = sep(u32(p, a));
    for (int off : {18, 22, 26, 6, 10, 14})
        p = sep(f32(p, a + off));
    p = sep(appendFixed7(p, readLE<int32_t>(a + 74)));
    p = sep(appendFixed7(p, readLE<int32_t>(a + 78)));
    const float height = float(readLE<int32_t>(a + 82)) / 1000.0f;
    p = sep(appendFixed3(p, height));
    const float vn = readLE<float>(a + 62), ve = readLE<float>(a + 66), vd = readLE<float>(a + 70);
    p = sep(appendFixed3(p, vn));
    p = sep(appendFixed3(p, ve));
    p = sep(appendFixed3(p, vd));
    float sum = vn * vn;
    sum = sum + ve * ve;
    sum = sum + vd * vd;
    p = sep(appendFixed3(p, std::sqrt(sum)));
    for (int off : {50, 54, 58})
        p = sep(f32(p, a + off));
    return p;
}

char *insPart2Text(char *p, const uint8_t *b)
{
    const char *name = positionTypeName(b[14]);
    const size_t len = std::strlen(name);
    std::memcpy(p, name, len);
    p = sep(p + len);
    p = sep(u32(p, b));
    p = sep(u8(p, b + 15));
    p = sep(appendU32(p, readLE<uint16_t>(b + 57)));
    p = sep(appendI32(p, readLE<int16_t>(b + 53) / 100));
    p = sep(appendI32(p, readLE<int16_t>(b + 49) / 100));
    p = sep(appendFixed7(p, readLE<int32_t>(b + 17)));
    p = sep(appendFixed7(p, readLE<int32_t>(b + 21)));
    p = sep(appendReal(p, double(readLE<int32_t>(b + 25)) / 1000.0));
    p = sep(appendFixed3(p, readLE<float>(b + 41)));
    return sep(f32(p, b + 45));
}

char *insPart3Text(char *p, const uint8_t *c)
{
    p = sep(u8(p, c + 4));
    p = sep(f32(p, c + 9));
    return sep(f32(p, c + 5));
}

char *insRow(char *p, const uint8_t *r)
{
    p = insPart1Text(p, r);
    p = insPart2Text(p, r + Layout::kPart2);
    return endLine(insPart3Text(p, r + Layout::kPart3));
}

char *calibRow(char *p, int type, const uint8_t *records, const uint8_t *payload)
{
    const size_t S = calibRecordBytes(type);
    const int G = calibGroups(type);
    const size_t B = 32 + 28 * size_t(G);
    for (int i = 0; i < kImus; ++i) {
        const uint8_t *r = records + S * size_t(i);
        for (int n = 0; n < 7 * G; ++n)
            p = sep(f32(p, r + 32 + 4 * n));
        p = sep(u32(p, r + B + 4));
        p = sep(u8(p, r + B + 16));
        p = sep(u8(p, r + B + 17));
        p = sep(u8(p, r + B + 18));
        p = sep(u32(p, r + B + 12));
        for (int k = 24; k < 28; ++k)
            p = sep(u8(p, r + B + k));
        p = sep(u32(p, r));
        p = sep(u32(p, r + S - 44));
        p = sep(u32(p, r + S - 48));
        p = sep(u8(p, r + B + 19));
        p = sep(u8(p, r + B + 20));
        p = u8(p, r + S - 40);
        p = u8(p, r + S - 39);
        p = sep(u8(p, r + S - 38));
        for (int k = 0; k < 7; ++k)
            p = sep(f32(p, r + 4 + 4 * k));
        p = sep(u32(p, r + B));
        if (type == Calib256) {
            p = sep(appendU32(p, readLE<uint16_t>(r + B + 28)));
            p = sep(appendU32(p, readLE<uint16_t>(r + B + 30)));
        }
    }
    const uint8_t *errors = payload + kCalibHeader + kImus * S;
    for (int i = 0; i < kImus; ++i)
        p = sep(appendU32(p, readLE<uint16_t>(errors + 2 * i)));
    p = sep(u32(p, payload));
    p = sep(u32(p, payload + 4));
    return endLine(p);
}

char *nineImuRow(char *p, const uint8_t *d)
{
    p = sep(u32(p, d));
    for (int n = 0; n < 231; ++n)
        p = sep(f32(p, d + 4 + 4 * n));
    return endLine(u32(p, d + 928));
}

} // namespace DecodeFormat
