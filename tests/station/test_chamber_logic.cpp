// The chamber log lines and the DC supply set frame, without widgets.
#include <QTest>

#include <cmath>

#include "link/DeviceRecords.h"
#include "station/ChamberLog.h"
#include "station/DcPowerFrames.h"

class TestChamberLogic : public QObject {
    Q_OBJECT
private slots:
    void init() { g_calib_status.clearAll(); }

    void theSetFrameCarriesTheScaledSetPointsHighByteFirst()
    {
        // 12 V and 10 A on the 31 V / 31 A model, output on.
        QCOMPARE(DcPower::buildSetFrame(12, 10, 31.0, 31.0, true), QByteArray::fromHex("11100003000306631852940001"));
        // Model 3020: 10 A on a 21 A full scale is 10 x 65535 / 21 = 31207 (0x79E7), fraction dropped.
        const QByteArray f = DcPower::buildSetFrame(15, 10, 31.0, 21.0, false);
        QCOMPARE(f.size(), 13);
        QCOMPARE(uint8_t(f[9]), uint8_t(0x79));
        QCOMPARE(uint8_t(f[10]), uint8_t(0xE7));
        QCOMPARE(uint8_t(f[11]), uint8_t(0));
        QCOMPARE(uint8_t(f[12]), uint8_t(0));
        // 15 x 65535 / 31 = 31710.48 -> 31710 (0x7BDE).
        QCOMPARE(uint8_t(f[7]), uint8_t(0x7B));
        QCOMPARE(uint8_t(f[8]), uint8_t(0xDE));
    }

    void aSetPointAboveFullScaleIsHeldAtFullScaleNotWrapped()
    {
        QCOMPARE(DcPower::setPointRegister(40, 31.0), uint16_t(65535));
        QCOMPARE(DcPower::setPointRegister(31, 31.0), uint16_t(65535));
        QCOMPARE(DcPower::setPointRegister(-3, 31.0), uint16_t(0));
        QCOMPARE(DcPower::setPointRegister(10, 0.0), uint16_t(0));
        QCOMPARE(DcPower::setPointRegister(std::nan(""), 31.0), uint16_t(0));
    }

    void onlyTwelveFifteenAndThirtyOneVoltsAreAccepted()
    {
        QVERIFY(DcPower::voltageAccepted(12) && DcPower::voltageAccepted(15) && DcPower::voltageAccepted(31));
        QVERIFY(!DcPower::voltageAccepted(24) && !DcPower::voltageAccepted(0) && !DcPower::voltageAccepted(12.5));
        QVERIFY(DcPower::isHighVoltage(31) && !DcPower::isHighVoltage(15));
    }

    void modelTextsNameTheirLimits()
    {
        QCOMPARE(DcPower::modelText(0), QString("Power supply model:UNKNOWN"));
        QCOMPARE(DcPower::modelText(2), QString::fromUtf8("Power supply model:3020（限压31V,限流21A）"));
        QCOMPARE(DcPower::modelText(3), QString::fromUtf8("Power supply model:4520（限压45.5V,限流20.5A）"));
        QVERIFY(DcPower::modelText(4).isEmpty());
        QCOMPARE(DcPower::logHeader(), QString("t,voltage,current,voltage_set,current_set\n"));
    }

    void theChamberHeaderNamesTemperaturesThenFirstFieldsOfEveryImu()
    {
        const QString h = ChamberLog::header();
        QVERIFY(h.endsWith("\n"));
        const QStringList f = h.trimmed().split(',');
        QCOMPARE(f.size(), 3 + 1024);
        QCOMPARE(f.mid(0, 4), (QStringList{"t", "current_temperature", "set_temperature", "temp1-0"}));
        QCOMPARE(f[3 + 31], QString("temp1-31"));
        QCOMPARE(f[3 + 32], QString("temp2-0"));
        QCOMPARE(f[3 + 511], QString("temp16-31"));
        QCOMPARE(f[3 + 512], QString("t1-0"));
        QCOMPARE(f.last(), QString("t16-31"));
    }

    void aReportLineCarriesTheRecordsInHeaderOrder()
    {
        g_calib_status.writePlate(0, [](CalibImuStatus *r, uint32_t *) {
            r[0].temp = 25.125f;
            r[0].time_ms = 1000;
        });
        g_calib_status.writePlate(15, [](CalibImuStatus *r, uint32_t *) {
            r[31].temp = -39.5f;
            r[31].time_ms = 4000000000u;
        });
        const QDateTime t(QDate(2026, 3, 4), QTime(5, 6, 7));
        const QString line = ChamberLog::reportLine(t, -12.3456789f, "-40", ChamberLog::currentImuColumns());
        QVERIFY(line.endsWith("\n"));
        const QStringList f = line.trimmed().split(',');
        QCOMPARE(f.size(), 3 + 1024);
        QCOMPARE(f[0], QString("2026_0304 05:06:07"));
        QCOMPARE(f[1], QString("-12.3457"));
        QCOMPARE(f[2], QString("-40"));
        QCOMPARE(f[3], QString("25.125"));
        QCOMPARE(f[3 + 1], QString("0"));
        QCOMPARE(f[3 + 511], QString("-39.5"));
        QCOMPARE(f[3 + 512], QString("1000"));
        QCOMPARE(f.last(), QString("4000000000"));
    }

    void aScriptLineLeadsWithTimeElapsedAndFiveDisplaysReadingNonNumbersAsZero()
    {
        g_calib_status.writePlate(1, [](CalibImuStatus *r, uint32_t *) { r[2].temp = 60.0f; });
        const QDateTime t(QDate(2026, 3, 4), QTime(23, 59, 59));
        const QString line = ChamberLog::scriptLine(t, 3601, {"-40.5", "85", "1", "Heating", " 2 "}, ChamberLog::currentImuColumns());
        const QStringList f = line.trimmed().split(',');
        QCOMPARE(f.size(), 7 + 1024); // time, elapsed and five displays
        QCOMPARE(f.mid(0, 7), (QStringList{"2026_0304 23:59:59", "3601", "-40.5", "85", "1", "0", "2"}));
        QCOMPARE(f[7 + 32 + 2], QString("60"));
    }

    void namesAndStampsOfTheLogFiles()
    {
        const QDateTime t(QDate(2026, 12, 7), QTime(9, 5, 3));
        QCOMPARE(ChamberLog::dayText(t), QString("2026_1207"));
        QCOMPARE(ChamberLog::fileName(t), QString("T2026_1207_0905_03.txt"));
        QCOMPARE(ChamberLog::timeText(t), QString("2026_1207 09:05:03"));
    }
};

QTEST_GUILESS_MAIN(TestChamberLogic)
#include "test_chamber_logic.moc"
