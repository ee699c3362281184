// Mapping of the calibration messages into the per-IMU status records.
#include <QTest>

#include "link/CalibMapping.h"
#include "link/CommandFrames.h"

namespace {
// A record of size S with a recognisable byte pattern.
QByteArray message(uint16_t id)
{
    const size_t S = calibRecordSize(id);
    QByteArray p(int(calibMessageLength(id)), '\0');
    for (int i = 0; i < 32; ++i)
        for (size_t k = 0; k < S; ++k)
            p[int(kCalibHeaderBytes + i * S + k)] = char((k * 7 + i) & 0xFF);
    for (int i = 0; i < 32; ++i) {
        const uint16_t c = uint16_t(1000 + i);
        memcpy(p.data() + kCalibHeaderBytes + 32 * S + 2 * i, &c, 2);
    }
    return p;
}
uint8_t at(const QByteArray &p, int imu, size_t S, size_t off)
{
    return uint8_t(p[int(kCalibHeaderBytes + imu * S + off)]);
}
} // namespace

class TestCalibMapping : public QObject {
    Q_OBJECT
private slots:
    void everyRecordSizeMapsTheCommonFields()
    {
        for (uint16_t id : {uint16_t(DeviceMsgId::CalibB6B4), uint16_t(DeviceMsgId::CalibB6B5),
                            uint16_t(DeviceMsgId::CalibB6B6)}) {
            const QByteArray p = message(id);
            const size_t S = calibRecordSize(id), B = S - 112;
            CalibImuStatus rec[32];
            uint32_t err[32];
            memset(rec, 0xEE, sizeof rec);
            QVERIFY(storeCalibMessage(CalibMapVariant::Replay, id, reinterpret_cast<const uint8_t *>(p.constData()),
                                      size_t(p.size()), rec, err));
            const auto *r = reinterpret_cast<const uint8_t *>(&rec[5]);
            for (size_t k = 0; k < 32; ++k)
                QCOMPARE(r[k], at(p, 5, S, k)); // time and the seven fused values
            QCOMPARE(r[36], at(p, 5, S, B + 4));
            QCOMPARE(r[51], at(p, 5, S, B + 19));
            QCOMPARE(r[59], at(p, 5, S, B + 27));
            QCOMPARE(r[96], at(p, 5, S, S - 48));
            QCOMPARE(r[135], at(p, 5, S, S - 9));
            QCOMPARE(r[54], uint8_t(0xEE)); // zupt is left alone by the replay
            QCOMPARE(r[140], uint8_t(0xEE));
            if (S != 256)
                QCOMPARE(r[32], uint8_t(0xEE)); // calib_status not from big records
            QCOMPARE(err[31], 1031u);
        }
    }

    void mainAndRackVariantsAddTheirFields()
    {
        const uint16_t id = DeviceMsgId::CalibB6B6;
        const QByteArray p = message(id);
        const size_t S = 256, B = 144;
        const auto *d = reinterpret_cast<const uint8_t *>(p.constData());
        CalibImuStatus main[32], rack[32];
        uint32_t err[32];
        memset(main, 0xEE, sizeof main);
        memset(rack, 0xEE, sizeof rack);
        storeCalibMessage(CalibMapVariant::Main, id, d, size_t(p.size()), main, err);
        storeCalibMessage(CalibMapVariant::Rack, id, d, size_t(p.size()), rack, err);
        const auto *m = reinterpret_cast<const uint8_t *>(&main[3]);
        const auto *r = reinterpret_cast<const uint8_t *>(&rack[3]);
        QCOMPARE(m[54], at(p, 3, S, B + 22)); // zupt: main only
        QCOMPARE(r[54], uint8_t(0xEE));
        QCOMPARE(m[80], at(p, 3, S, B + 48));
        QCOMPARE(r[80], uint8_t(0xEE));
        QCOMPARE(r[60], at(p, 3, S, B + 28)); // duration: both
        QCOMPARE(r[76], at(p, 3, S, B + 44));
        QCOMPARE(r[64], at(p, 3, S, B + 32)); // roll
        QCOMPARE(rack[3].calib_flag_h, readLE<uint32_t>(d + kCalibHeaderBytes + 3 * S + B + 8));

        // Big records: calib_status for the live links, not for the replay.
        const QByteArray big = message(DeviceMsgId::CalibB6B5);
        CalibImuStatus rec[32];
        memset(rec, 0, sizeof rec);
        storeCalibMessage(CalibMapVariant::Rack, DeviceMsgId::CalibB6B5,
                          reinterpret_cast<const uint8_t *>(big.constData()), size_t(big.size()), rec, err);
        QCOMPARE(rec[0].calib_status, readLE<uint32_t>(reinterpret_cast<const uint8_t *>(big.constData()) + 8 + 256));
    }

    void aShortMessageIsRefusedAndWritesNothing()
    {
        const QByteArray p = message(DeviceMsgId::CalibB6B6);
        CalibImuStatus rec[32];
        uint32_t err[32];
        memset(rec, 0x11, sizeof rec);
        QVERIFY(!storeCalibMessage(CalibMapVariant::Main, DeviceMsgId::CalibB6B6,
                                   reinterpret_cast<const uint8_t *>(p.constData()), size_t(p.size() - 1), rec, err));
        QCOMPARE(reinterpret_cast<const uint8_t *>(rec)[0], uint8_t(0x11));
    }

    void message0777CopiesItsFirst144BytesIntoRecordZero()
    {
        QByteArray p(200, '\0');
        for (int i = 0; i < 200; ++i)
            p[i] = char(i);
        CalibImuStatus rec[32];
        uint32_t err[32];
        memset(rec, 0, sizeof rec);
        QVERIFY(storeCalibMessage(CalibMapVariant::Main, DeviceMsgId::Calib0777,
                                  reinterpret_cast<const uint8_t *>(p.constData()), 200, rec, err));
        QCOMPARE(memcmp(&rec[0], p.constData(), 144), 0);
        QCOMPARE(rec[1].time_ms, 0u);
    }
};

QTEST_GUILESS_MAIN(TestCalibMapping)
#include "test_calib_mapping.moc"
