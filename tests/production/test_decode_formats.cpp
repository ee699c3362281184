// Header and row layouts of the six decode types, on fixed example frames.
#include <QTest>

#include "production/DecodeFormats.h"
#include "tests/production/DecodeTestKit.h"

using namespace DecodeTestKit;
using namespace DecodeFormat;

namespace {
QByteArray ahrsPayload(uint32_t time, float base, bool mag)
{
    Payload p(mag ? 56 : 44);
    p.at<uint32_t>(0, time);
    for (int i = 1; i < (mag ? 14 : 11); ++i)
        p.at<float>(4 * i, base + float(i)); // offset 4*i holds base + i
    return p.bytes;
}
QList<QByteArray> fields(const QByteArray &line) { return line.split(','); }
} // namespace

class TestDecodeFormats : public QObject {
    Q_OBJECT
private slots:
    void ahrsHeaderAndRowsOfBothMessages()
    {
        QByteArray rec = buildDeviceFrame(Msg::Ahrs, ahrsPayload(1000, 0.5f, false));
        rec += buildDeviceFrame(Msg::AhrsMag, ahrsPayload(2000, 0.25f, true));
        const Outcome o = decodeBytes(Ahrs, rec);
        const auto l = o.lines();
        QCOMPARE(l.size(), 3);
        QCOMPARE(l[0], QByteArray("%time_us,accx,accy,accz,gyrox,gyroy,gyroz,temperature,roll,pitch,yaw,mx,my,mz"));
        // acc at 16..24 (base+4..6), gyro 28..36 (base+7..9), temp 40 (base+10), roll 8, pitch 4, yaw 12
        QCOMPARE(l[1], QByteArray("1000,4.5,5.5,6.5,7.5,8.5,9.5,10.5,2.5,1.5,3.5"));
        QCOMPARE(l[2], QByteArray("2000,4.25,5.25,6.25,7.25,8.25,9.25,10.25,2.25,1.25,3.25,11.25,12.25,13.25"));
        QCOMPARE(fields(l[1]).size(), 11);
        QCOMPARE(fields(l[2]).size(), 14);
        QVERIFY(o.text.endsWith("13.25\n"));
    }

    void gnssUwbHeaderAndRowEndWithASeparator()
    {
        Payload g(1162);
        g.at<uint32_t>(0, 77).at<float>(8, 1.0f).at<float>(20, 2.0f).at<float>(32, 36.5f);
        g.at<uint8_t>(68, 3).at<uint8_t>(69, 200).at<int32_t>(70, -1234567).at<float>(110, 0.75f);
        g.at<uint32_t>(130 + 16 * 9, 10).at<float>(130 + 16 * 9 + 12, -80.5f);
        g.at<uint32_t>(322 + 70 * 9, 99).at<int32_t>(322 + 70 * 9 + 28, -5);
        QByteArray rec = buildDeviceFrame(Msg::GnssUwb, g.bytes);
        rec += buildDeviceFrame(Msg::Ahrs, ahrsPayload(5, 0.5f, false));
        const auto l = decodeBytes(Ahrs, rec).lines();
        QCOMPARE(l.size(), 3);
        QVERIFY(l[0].startsWith("%time_us,accx,accy,accz,gyrox,gyroy,gyroz,temperature,baro,mx,my,mz,gps.recv_time_us,gps.fixtype,"));
        QVERIFY(l[0].contains(",uwb_frameNode1.id,uwb_frameNode1.dis,uwb_frameNode1.fp_rssi,uwb_frameNode1.rx_rssi,uwb_frameNode2.id,"));
        QVERIFY(l[0].endsWith("uwb_passNode10.calcul_lat,uwb_passNode10.calcul_lon,uwb_passNode10.calcul_alt,"));
        QCOMPARE(fields(l[0]).size(), 147); // 146 names, each followed by ","
        const auto f = fields(l[1]);
        QCOMPARE(f.size(), 147);
        QCOMPARE(f[146], QByteArray());
        QCOMPARE(f[0], QByteArray("77"));
        QCOMPARE(f[1], QByteArray("2"));   // accx from offset 20
        QCOMPARE(f[4], QByteArray("1"));   // gyrox from offset 8
        QCOMPARE(f[7], QByteArray("36.5"));
        QCOMPARE(f[13], QByteArray("3"));
        QCOMPARE(f[14], QByteArray("200"));
        QCOMPARE(f[15], QByteArray("-1234567"));
        QCOMPARE(f[25], QByteArray("0.75")); // gps.pdop at 110
        QCOMPARE(f[26 + 36], QByteArray("10"));
        QCOMPARE(f[26 + 39], QByteArray("-80.5"));
        QCOMPARE(f[66 + 72], QByteArray("99"));
        QCOMPARE(f[66 + 79], QByteArray("-5"));
        // AHRS frames under the GNSS/UWB header still add their own shorter rows.
        QCOMPARE(fields(l[2]).size(), 11);
    }

    void insHeaderAndRowsJoinTheThreeParts()
    {
        Payload a(86), b(59), c(24);
        a.at<uint32_t>(0, 345600).at<float>(18, 0.5f).at<float>(6, -1.5f);
        a.at<int32_t>(74, 123).at<int32_t>(78, -7).at<int32_t>(82, 12345);
        a.at<float>(62, 3.0f).at<float>(66, 4.0f).at<float>(70, 0.0625f);
        a.at<float>(50, 413.5625f).at<float>(54, -2.0f).at<float>(58, 359.9f);
        b.at<uint32_t>(0, 999).at<uint8_t>(14, 50).at<uint8_t>(15, 17).at<uint16_t>(57, 65535);
        b.at<int16_t>(53, -250).at<int16_t>(49, 199).at<int32_t>(17, 5).at<int32_t>(21, -25);
        b.at<int32_t>(25, 1234567).at<float>(41, 1.0005f).at<float>(45, 0.1f);
        c.at<uint8_t>(4, 4).at<float>(9, 0.02f).at<float>(5, 270.25f);
        QByteArray rec = frame(Msg::Ins1, a) + frame(Msg::Ins2, b) + frame(Msg::Ins3, c);
        Payload b5 = b;
        b5.at<uint8_t>(14, 5);
        rec += frame(Msg::Ins2, b5);
        const auto l = decodeBytes(InsRtk, rec).lines();
        QCOMPARE(l.size(), 5);
        QVERIFY(l[0].startsWith("GPS milliseconds within a week,Acceleration(g)x,"));
        QVERIFY(l[0].contains(",Northbound speed,Eastbound speed,Eastbound speed,Ground speed,"));
        QVERIFY(l[0].endsWith("RTK directional accuracy,RTK azimuth,"));
        QCOMPARE(fields(l[0]).size(), 32);
        // Only part 1 received: parts 2 and 3 are zero.
        QCOMPARE(l[1], QByteArray("345600,0.5,0,0,-1.5,0,0,0.0000123,-0.0000007,12.345,3.000,4.000,"
                                  "0.063,5.000,413.563,-2,359.9,NONE,0,0,0,0,0,0.0000000,0.0000000,"
                                  "0,0.000,0,0,0,0,"));
        const QByteArray tail2 = QString::fromUtf8("窄巷固定,999,17,65535,-2,1,0.0000005,-0.0000025,1234.57,1.000,0.1,").toUtf8();
        QCOMPARE(l[2], l[1].left(l[1].indexOf("NONE")) + tail2 + "0,0,0,");
        QCOMPARE(l[3], l[2].left(l[2].size() - 6) + "4,0.02,270.25,");
        // Position type 5 has no name: the column stays empty.
        QVERIFY(l[4].contains(",359.9,,999,"));
        QCOMPARE(fields(l[4]).size(), 32);
    }

    void calibrationHeadersAndRowsOfTheThreeSizes()
    {
        for (int type : {Calib256, Calib368, Calib1040}) {
            const size_t S = calibRecordBytes(type);
            const int G = calibGroups(type);
            const int B = 32 + 28 * G;
            const int perImu = 7 * G + 15 + 7 + (type == Calib256 ? 3 : 1);
            Payload p(int(layoutBytes(type, type == Calib256 ? 0xB6B6 : type == Calib368 ? 0xB6B5 : 0xB6B4)));
            p.at<uint32_t>(0, 4242).at<uint32_t>(4, 17);
            const int r12 = 8 + 12 * int(S);
            p.at<uint32_t>(r12, 55).at<float>(r12 + 4, 1.5f).at<float>(r12 + 28, -3.25f);
            p.at<float>(r12 + 32 + 4 * (7 * 3 + 6), 6.125f);
            p.at<uint32_t>(r12 + B, 1234).at<uint32_t>(r12 + B + 4, 3999).at<uint32_t>(r12 + B + 12, 6);
            p.at<uint8_t>(r12 + B + 16, 1).at<uint8_t>(r12 + B + 17, 2).at<uint8_t>(r12 + B + 18, 3);
            p.at<uint8_t>(r12 + B + 19, 8).at<uint8_t>(r12 + B + 20, 9);
            p.at<uint8_t>(r12 + B + 24, 4).at<uint8_t>(r12 + B + 27, 250);
            p.at<uint16_t>(r12 + B + 28, 60000).at<uint16_t>(r12 + B + 30, 7);
            p.at<uint32_t>(r12 + int(S) - 48, 0x10203).at<uint32_t>(r12 + int(S) - 44, 77);
            p.at<uint8_t>(r12 + int(S) - 40, 1).at<uint8_t>(r12 + int(S) - 39, 23).at<uint8_t>(r12 + int(S) - 38, 4);
            p.at<uint16_t>(8 + 32 * int(S) + 2 * 31, 65535);
            const uint16_t id = type == Calib256 ? 0xB6B8 : type == Calib368 ? 0xB6B5 : 0xB6B4;
            const auto l = decodeBytes(type, frame(id, p)).lines();
            QCOMPARE(l.size(), 2);
            const auto h = fields(l[0]);
            QCOMPARE(h.size(), 32 * perImu + 34 + 1);
            QCOMPARE(h[0], QByteArray("%imu0-0-0"));
            QCOMPARE(h[12 * perImu + 7 * 3 + 6], QByteArray("imu12-3-6"));
            QCOMPARE(h[12 * perImu + 7 * G + 14], QByteArray("sn"));
            QCOMPARE(h[12 * perImu + 7 * G + 15 + 6], QByteArray("imu_fused12-6"));
            QCOMPARE(h[32 * perImu], QByteArray("error_count"));
            QCOMPARE(h[32 * perImu + 32], QByteArray("time_us"));
            QCOMPARE(h[32 * perImu + 33], QByteArray("index"));
            const auto f = fields(l[1]);
            QCOMPARE(f.size(), h.size());
            const int o = 12 * perImu;
            QCOMPARE(f[o + 7 * 3 + 6], QByteArray("6.125"));
            QStringList mid;
            for (int k = 0; k < 15; ++k)
                mid << QString::fromLatin1(f[o + 7 * G + k]);
            QCOMPARE(mid.join(','), QString("3999,1,2,3,6,4,0,0,250,55,77,66051,8,9,1234"));
            QCOMPARE(f[o + 7 * G + 15], QByteArray("1.5"));
            QCOMPARE(f[o + 7 * G + 21], QByteArray("-3.25"));
            QCOMPARE(f[o + 7 * G + 22], QByteArray("1234"));
            if (type == Calib256) {
                QCOMPARE(f[o + 7 * G + 23], QByteArray("60000"));
                QCOMPARE(f[o + 7 * G + 24], QByteArray("7"));
            }
            QCOMPARE(f[32 * perImu + 31], QByteArray("65535"));
            QCOMPARE(f[32 * perImu + 32], QByteArray("4242"));
            QCOMPARE(f[32 * perImu + 33], QByteArray("17"));
            QCOMPARE(f.last(), QByteArray());
        }
    }

    void nineImuHeaderRepeatsItsBlockNamesAndRowsCarry233Fields()
    {
        Payload p(932);
        p.at<uint32_t>(0, 31).at<float>(4, 0.125f).at<float>(924, -9.5f).at<uint32_t>(928, 8);
        const auto l = decodeBytes(NineImu, frame(Msg::NineImu, p)).lines();
        QCOMPARE(l.size(), 2);
        const auto h = fields(l[0]);
        QCOMPARE(h.size(), 233);
        QCOMPARE(h[0], QByteArray("%t1"));
        QCOMPARE(h[1], QByteArray("imu00_0"));
        QCOMPARE(h[7], QByteArray("temp_0"));
        QCOMPARE(h[57], QByteArray("imu10_0"));
        QCOMPARE(h[113], QByteArray("imu20_0"));
        QCOMPARE(h[169], QByteArray("imu30_0"));
        QCOMPARE(h[225], QByteArray("imu8_0"));
        QCOMPARE(h[231], QByteArray("temp_8"));
        QCOMPARE(h[232], QByteArray("index"));
        QCOMPARE(h.count("imu0_1"), 4);
        QCOMPARE(h.count("imu7_5"), 4);
        const auto f = fields(l[1]);
        QCOMPARE(f.size(), 233);
        QCOMPARE(f[0], QByteArray("31"));
        QCOMPARE(f[1], QByteArray("0.125"));
        QCOMPARE(f[231], QByteArray("-9.5"));
        QCOMPARE(f[232], QByteArray("8"));
    }

    void shortFrameReadsZerosPastItsEnd()
    {
        QByteArray rec = buildDeviceFrame(Msg::AhrsMag, ahrsPayload(1, 100.0f, true));
        Payload shortOne(10);
        shortOne.at<uint32_t>(0, 2).at<float>(4, 7.0f);
        rec += frame(Msg::AhrsMag, shortOne);
        const auto l = decodeBytes(Ahrs, rec).lines();
        QCOMPARE(l.size(), 3);
        QCOMPARE(l[2], QByteArray("2,0,0,0,0,0,0,0,0,7,0,0,0,0"));
    }

    void framesOfOtherTypesAddNoRow()
    {
        Payload calib(int(layoutBytes(Calib256, 0xB6B6)));
        QByteArray rec = buildDeviceFrame(Msg::Ahrs, ahrsPayload(1, 0, false));
        rec += frame(0xB6B6, calib) + frame(Msg::NineImu, Payload(932)) + frame(Msg::Ins1, Payload(86));
        rec += buildDeviceFrame(Msg::Ahrs, ahrsPayload(2, 0, false));
        const Outcome o = decodeBytes(Ahrs, rec);
        QCOMPARE(o.lines().size(), 3);
        QCOMPARE(o.result.goodFrames, uint64_t(5));
        QCOMPARE(o.result.rows, uint64_t(2));
        // The first good frame of another message still writes the header of the decode type.
        const Outcome n = decodeBytes(NineImu, frame(Msg::Ins1, Payload(86)) + frame(Msg::NineImu, Payload(932)));
        QCOMPARE(n.lines().size(), 2);
        QVERIFY(n.lines()[0].startsWith("%t1,imu00_0,"));
    }
};

QTEST_GUILESS_MAIN(TestDecodeFormats)
#include "test_decode_formats.moc"
