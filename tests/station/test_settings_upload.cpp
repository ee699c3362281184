// Bodies of the production-data upload, byte for byte, and the POST against a loopback
// stand-in of the service: reply handling, HTTP errors, a refused connection and a time-out.
#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QThread>
#include <QtTest>

#include <memory>
#include <vector>

#include "UploadServer.h"
#include "app/Settings.h"
#include "tests/kit/TestKit.h"
#include "station/UploadBodies.h"
#include "station/UploadPoster.h"

namespace {
const QString kStart = "2026_0102 10:00:00";
const QString kEnd = "2026_0102 10:05:00";

QByteArray quoted(const QString &key, const QString &value)
{
    return "\"" + key.toUtf8() + "\":\"" + value.toUtf8() + "\"";
}

// The detail objects as the service expects them, keys in ascending code-unit order.
QByteArray shortDetail(const QString &act, const QString &cpuid, const QString &exp, const QString &result)
{
    return "{" + quoted("Equipment", "eq") + "," + quoted("actCalibrationFlagBit", act) + "," + quoted("cpuid", cpuid)
           + "," + quoted("endTime", kEnd) + "," + quoted("expCalibrationFlagBit", exp) + ","
           + quoted("operatorId", "op") + "," + quoted("result", result) + "," + quoted("startTime", kStart) + "}";
}

QByteArray longDetail(const QString &act, const QString &label, const QString &cpuid, const QString &exp,
                      const QString &result)
{
    return "{" + quoted("Equipment", "eq") + "," + quoted("actCalibrationFlagBit", act) + ","
           + quoted("baseplateIndex", label) + "," + quoted("cpuid", cpuid) + "," + quoted("cycleindex", "3") + ","
           + quoted("endTime", kEnd) + "," + quoted("expCalibrationFlagBit", exp) + ","
           + quoted("maxTemperature", "85") + "," + quoted("mintemperature", "-40") + "," + quoted("operatorId", "op")
           + "," + quoted("result", result) + "," + quoted("slope", "1.5") + "," + quoted("startTime", kStart) + "}";
}

QByteArray body(const QString &workOrder, const QList<QByteArray> &details)
{
    QByteArray out = "{" + quoted("WONO", workOrder) + ",\"details\":[";
    for (int i = 0; i < details.size(); ++i)
        out += (i ? "," : "") + details[i];
    return out + "]}";
}

QString hexOf(uint8_t first, uint8_t second, uint8_t fill)
{
    QString s = QString("%1%2").arg(first, 2, 16, QChar('0')).arg(second, 2, 16, QChar('0'));
    for (int i = 2; i < 32; ++i)
        s += QString("%1").arg(fill, 2, 16, QChar('0'));
    return s;
}

// The serial number of the first IMU of Rack: 0a ff 00, then 01 to the end.
QString firstImuSerial() { return hexOf(0x0A, 0xFF, 0x01).replace(4, 2, "00"); }

// Plate 2 (index 1) open; IMUs 1 to 3 posted, the others shielded.
struct Rack {
    PlateSnapshot plate;
    QSet<int> openPlates{1};
    int postedImus = 3;
    QSet<int> shieldedImus;

    Rack()
    {
        for (int i = 0; i < 3; ++i)
            memset(plate.imu[size_t(i)].sn, 1 + i, sizeof(plate.imu[size_t(i)].sn));
        plate.imu[0].sn[0] = 0x0A;
        plate.imu[0].sn[1] = 0xFF;
        plate.imu[0].sn[2] = 0x00;
    }
    UploadContext context() const
    {
        UploadContext c;
        c.workOrder = "WO2305120001";
        c.operatorId = "op";
        c.equipment = "eq";
        c.startTime = kStart;
        c.endTime = kEnd;
        c.maxTemperature = "85";
        c.minTemperature = "-40";
        c.slope = "1.5";
        c.cycleIndex = "3";
        c.plateOpen = [this](int p) { return openPlates.contains(p); };
        c.shielded = [this](int, int i) { return i >= postedImus || shieldedImus.contains(i); };
        c.plateRecords = [this](int) { return plate; };
        return c;
    }
};
} // namespace

class TestSettingsUpload : public QObject {
    Q_OBJECT

private slots:
    void init() { getSettings()->clear(); }

    // Bodies.
    void turntableBodyIsCompactSortedAndByteExact()
    {
        Rack rack;
        rack.plate.imu[0].calib_flag_h = 3999;
        rack.plate.imu[1].calib_flag_h = 4000;
        rack.plate.imu[2].calib_flag_h = 3999;
        CalibUploadTable table;
        QStringList log;
        const QByteArray got = buildUploadBody(1, rack.context(), table, &log);
        const QString first = firstImuSerial();
        const QByteArray want = body("WO2305120001", {shortDetail("3999", first, "3999", "OK"),
                                                        shortDetail("4000", hexOf(2, 2, 2), "3999", "NG"),
                                                        shortDetail("3999", hexOf(3, 3, 3), "3999", "OK")});
        QCOMPARE(got, want);
        QCOMPARE(table.cell[1][UploadBaseplateIndex][1], QString("底板2的IMU2"));
        QCOMPARE(table.cell[1][UploadResult][1], QString("NG"));
        QVERIFY(table.cell[1][UploadBaseplateIndex][0].isEmpty());
        QVERIFY(log.contains("The serial port of the motherboard 1 is not open"));
        QVERIFY(log.contains("The IMU 4 of the motherboard 2 is blocked and will not upload IMU data"));
        QVERIFY(log.contains("底板2的IMU2的实际值为4000"));
        QVERIFY(log.contains("底板2的IMU3的SN为" + hexOf(3, 3, 3)));
        QCOMPARE(log.last(), QString("subArray.size 3"));
    }

    void fullTemperatureLongFormCarriesChamberFieldsAndEnglishLabels()
    {
        Rack rack;
        rack.postedImus = 2;
        rack.plate.imu[0].calib_flag_h = 129;
        rack.plate.imu[1].calib_flag_h = 128;
        CalibUploadTable table;
        QStringList log;
        const QByteArray got = buildUploadBody(0, rack.context(), table, &log);
        const QString first = firstImuSerial();
        QCOMPARE(got, body("WO2305120001", {longDetail("129", "", first, "129", "OK"),
                                            longDetail("128", "IMU 2 for bottom plate 2", hexOf(2, 2, 2), "129", "NG")}));
        QVERIFY(log.contains("The actual value of IMU 2 for bottom plate 2 is 128"));
        QVERIFY(log.contains("The SN of IMU 1 for baseboard 2 is " + first));
        QVERIFY(log.contains("IMU 2 for bottom plate 2"));
    }

    void temperatureRetestJudgesTheLowFlagWordWithChineseLabels()
    {
        Rack rack;
        rack.openPlates = {2};
        rack.postedImus = 17;
        rack.shieldedImus = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
        rack.plate.imu[16].calib_flag_h = 128;
        rack.plate.imu[16].calib_flag = 7;
        CalibUploadTable table;
        QStringList log;
        const QByteArray got = buildUploadBody(3, rack.context(), table, &log);
        QCOMPARE(got, body("WO2305120001", {longDetail("7", "底板3的IMU17", QString(64, '0'), "128", "NG")}));
        QVERIFY(log.contains("底板1的串口未打开"));
        QVERIFY(log.contains("底板3的IMU1被屏蔽，不上传IMU的数据"));
        QVERIFY(log.contains("底板3的IMU17"));
    }

    void stationsPickPathExpectedFlagAndForm_data()
    {
        QTest::addColumn<int>("station");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("longForm");
        QTest::addColumn<bool>("lowWord"); // judges calib_flag, not calib_flag_h
        QTest::newRow("full temperature") << 0 << "/api/BRAPI/FullTemperature" << "129" << true << false;
        QTest::newRow("turntable") << 1 << "/api/BRAPI/Turntable" << "3999" << false << false;
        QTest::newRow("static Allan") << 2 << "/api/BRAPI/AlanRest" << "8095" << false << false;
        QTest::newRow("temperature retest") << 3 << "/api/BRAPI/TemperatureTurntable" << "128" << true << true;
        QTest::newRow("advanced Allan") << 4 << "/api/BRAPI/AlanRest" << "32767" << false << false;
        QTest::newRow("advanced calibration") << 5 << "/api/BRAPI/AdvancedCalibration" << "16383" << false << false;
    }
    void stationsPickPathExpectedFlagAndForm()
    {
        QFETCH(int, station);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QFETCH(bool, longForm);
        QFETCH(bool, lowWord);
        UploadStationInfo info{};
        QVERIFY(uploadStationInfo(uint8_t(station), &info));
        QCOMPARE(QString(info.path), path);
        Rack rack;
        rack.postedImus = 1;
        // Only the word the station judges holds the expected flag.
        rack.plate.imu[0].calib_flag_h = expected.toUInt() + (lowWord ? 1 : 0);
        rack.plate.imu[0].calib_flag = expected.toUInt() + (lowWord ? 0 : 1);
        CalibUploadTable table;
        QStringList log;
        const QJsonObject root = QJsonDocument::fromJson(buildUploadBody(uint8_t(station), rack.context(), table, &log)).object();
        const QJsonObject detail = root.value("details").toArray().at(0).toObject();
        QCOMPARE(detail.value("expCalibrationFlagBit").toString(), expected);
        QCOMPARE(detail.value("actCalibrationFlagBit").toString(), expected);
        QCOMPARE(detail.value("result").toString(), QString("OK"));
        QCOMPARE(detail.size(), longForm ? 13 : 8);
    }

    void unknownStationHasNoPath()
    {
        UploadStationInfo info{};
        QVERIFY(!uploadStationInfo(6, &info));
        QVERIFY(!uploadStationInfo(255, &info));
    }

    void shieldedImuLeavesNoGapAndKeepsItsEarlierFields()
    {
        Rack rack;
        for (int i = 0; i < 3; ++i)
            rack.plate.imu[size_t(i)].calib_flag_h = 3999;
        CalibUploadTable table;
        QStringList log;
        buildUploadBody(1, rack.context(), table, &log);
        rack.shieldedImus = {1};
        rack.plate.imu[1].calib_flag_h = 1;
        const QJsonArray details =
            QJsonDocument::fromJson(buildUploadBody(2, rack.context(), table, &log)).object().value("details").toArray();
        QCOMPARE(details.size(), 2);
        QCOMPARE(details.at(1).toObject().value("cpuid").toString(), hexOf(3, 3, 3));
        QCOMPARE(table.cell[1][UploadExpectedFlag][1], QString("3999")); // from the turntable build
        QCOMPARE(table.cell[1][UploadExpectedFlag][2], QString("8095"));
    }

    void noOpenPlatePostsAnEmptyDetailsArray()
    {
        Rack rack;
        rack.openPlates.clear();
        UploadContext context = rack.context();
        context.workOrder.clear();
        CalibUploadTable table;
        QStringList log;
        QCOMPARE(buildUploadBody(5, context, table, &log), QByteArray("{\"WONO\":\"\",\"details\":[]}"));
        QCOMPARE(log.size(), 17);
        QCOMPARE(log.first(), QString("底板1的串口未打开"));
        QCOMPARE(log.last(), QString("subArray.size 0"));
    }

    void typedTextsAreEscapedIntoValidJson()
    {
        Rack rack;
        rack.postedImus = 1;
        UploadContext context = rack.context();
        context.workOrder = "WO\"1\\2";
        context.operatorId = "a\tb";
        context.equipment = "温箱\n2";
        CalibUploadTable table;
        QStringList log;
        const QByteArray got = buildUploadBody(1, context, table, &log);
        QVERIFY(got.startsWith("{\"WONO\":\"WO\\\"1\\\\2\",\"details\":[{\"Equipment\":\"温箱\\n2\""));
        QJsonParseError error{};
        const QJsonObject root = QJsonDocument::fromJson(got, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(root.value("WONO").toString(), context.workOrder);
        QCOMPARE(root.value("details").toArray().at(0).toObject().value("operatorId").toString(), context.operatorId);
    }

    void serialNumberKeepsLeadingZerosInLowerCase()
    {
        CalibImuStatus record{};
        record.sn[0] = 0x0A;
        record.sn[1] = 0xFF;
        record.sn[31] = 0x5C;
        const QString hex = serialNumberHex(record);
        QCOMPARE(hex.size(), 64);
        QVERIFY(hex.startsWith("0aff00"));
        QVERIFY(hex.endsWith("005c"));
    }

    void replyCodeAndMessageAreRead()
    {
        UploadReply r = parseUploadReply("{\"code\":200,\"msg\":\"saved\"}");
        QVERIFY(r.parsed);
        QCOMPARE(r.code, 200);
        QCOMPARE(r.msg, QString("saved"));
        r = parseUploadReply("{\"code\":\"7\"}");
        QVERIFY(r.parsed);
        QCOMPARE(r.code, 0);
        r = parseUploadReply("{\"msg\":\"x\"}");
        QCOMPARE(r.code, 0);
        r = parseUploadReply("<html>busy</html>");
        QVERIFY(!r.parsed);
        QVERIFY(r.parseError != 0);
    }

    // The service address.
    void addressComesFromTheOfficialAddressWithPort90WhereItNamesNone()
    {
        // Filled on first use (the settings were cleared): the official instance on port 90.
        QUrl url = uploadAddress("/api/BRAPI/Turntable");
        QCOMPARE(url.port(), 90);
        QCOMPARE(url.path(), QString("/api/BRAPI/Turntable"));
        QCOMPARE(getSettings()->value("httpAddr/officialAddr").toString(), defaultServiceAddress(true));
        QCOMPARE(QUrl(defaultServiceAddress(false)).port(), 1080);
        getSettings()->setValue("httpAddr/officialAddr", "http://127.0.0.2:8090/api/BRAPI/FullTemperature");
        url = uploadAddress("/api/BRAPI/AlanRest");
        QCOMPARE(url.toString(), QString("http://127.0.0.2:8090/api/BRAPI/AlanRest"));
        QCOMPARE(serviceAddress("mes.example.test/api/BRAPI/FullTemperature", "/api/BRAPI/Turntable").toString(),
                 QString("http://mes.example.test:90/api/BRAPI/Turntable"));
        QCOMPARE(serviceAddress("https://10.1.2.3", "/api/BRAPI/Turntable").toString(),
                 QString("https://10.1.2.3:90/api/BRAPI/Turntable"));
        QCOMPARE(serviceAddress(" http://127.0.0.1:1080/x ", "/api/BRAPI/AlanRest").toString(),
                 QString("http://127.0.0.1:1080/api/BRAPI/AlanRest"));
        QCOMPARE(uploadTimeoutMs(), 30000);
        getSettings()->setValue("httpAddr/timeoutMs", "soon");
        QCOMPARE(uploadTimeoutMs(), 30000);
        getSettings()->setValue("httpAddr/timeoutMs", 1500);
        QCOMPARE(uploadTimeoutMs(), 1500);
    }

    // The POST against the stand-in service.
    void postSendsTheBodyAsJsonAndReadsCodeAndMessage()
    {
        UploadServer server(TestKit::workDir() + "/service");
        QVERIFY(server.port() > 0);
        server.setReply(200, "{\"code\":0,\"msg\":\"上传成功\"}");
        Rack rack;
        CalibUploadTable table;
        QStringList log;
        const QByteArray sent = buildUploadBody(3, rack.context(), table, &log);
        const QUrl url(QString("http://127.0.0.1:%1/api/BRAPI/TemperatureTurntable").arg(server.port()));
        const UploadOutcome out = postUploadBody(url, sent, 10000);
        QVERIFY(out.ok);
        QVERIFY(!out.timedOut);
        QCOMPARE(out.httpStatus, 200);
        QCOMPARE(out.reply.code, 0);
        QCOMPARE(out.reply.msg, QString("上传成功"));
        QCOMPARE(out.log.last(), QString("code: 0    msg: 上传成功"));
        const auto requests = server.requests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].path, QString("/api/BRAPI/TemperatureTurntable"));
        QCOMPARE(requests[0].contentType, QString("application/json"));
        QCOMPARE(requests[0].body, sent);
    }

    void statusOutside2xxIsAFailure_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::newRow("server error") << 500 << "InternalServerError";
        QTest::newRow("redirect") << 302 << "HttpStatus302"; // no error to Qt, no answer of the service
    }
    void statusOutside2xxIsAFailure()
    {
        QFETCH(int, status);
        QFETCH(QString, error);
        UploadServer server(TestKit::workDir() + "/service");
        server.setReply(status, "{\"code\":1,\"msg\":\"down\"}");
        const UploadOutcome out =
            postUploadBody(QUrl(QString("http://127.0.0.1:%1/api/BRAPI/Turntable").arg(server.port())), "{}", 10000);
        QVERIFY(!out.ok);
        QCOMPARE(out.httpStatus, status);
        QCOMPARE(out.errorName, error);
        QCOMPARE(out.log.last(), "reply error, the error code is: " + error);
    }

    void replyThatIsNotJsonIsAFailure()
    {
        UploadServer server(TestKit::workDir() + "/service");
        server.setReply(200, "saved, thanks");
        const UploadOutcome out =
            postUploadBody(QUrl(QString("http://127.0.0.1:%1/api/BRAPI/Turntable").arg(server.port())), "{}", 10000);
        QVERIFY(!out.ok);
        QVERIFY(out.errorName.isEmpty());
        QVERIFY(out.log.last().startsWith("parse replyData error, the error code is: "));
    }

    void refusedConnectionIsAFailure()
    {
        const int port = UploadServer::closedPort();
        const UploadOutcome out =
            postUploadBody(QUrl(QString("http://127.0.0.1:%1/api/BRAPI/Turntable").arg(port)), "{}", 10000);
        QVERIFY(!out.ok);
        QVERIFY(!out.timedOut);
        QCOMPARE(out.errorName, QString("ConnectionRefusedError"));
    }

    void silentServiceTimesOutAsAFailureWithoutWaitingForIt()
    {
        UploadServer server(TestKit::workDir() + "/service");
        server.setReply(200, "{\"code\":0,\"msg\":\"late\"}", 5.0);
        QElapsedTimer clock;
        clock.start();
        const UploadOutcome out =
            postUploadBody(QUrl(QString("http://127.0.0.1:%1/api/BRAPI/Turntable").arg(server.port())), "{}", 400);
        QVERIFY(clock.elapsed() < 3000);
        QVERIFY(!out.ok);
        QVERIFY(out.timedOut);
        QCOMPARE(out.errorName, QString("TimeoutError"));
        QCOMPARE(out.log.last(), QString("reply error, the error code is: TimeoutError"));
    }

    // The service takes each post 0.9 s after its body came, while the posting thread is busy
    // in its first turns of events (a window's thread on a loaded machine):
    // the time taken as the post goes out is never later than the service's, to the millisecond
    // and as the note's whole seconds. 100 posts, 50 at a time, each from a thread of its own.
    void thePostsTimeIsNeverLaterThanTheServicesTime()
    {
        UploadServer server(TestKit::workDir() + "/service");
        QVERIFY(server.port() > 0);
        server.setReply(200, "{\"code\":0,\"msg\":\"ok\"}", 0, -1, 0.9);
        const QUrl url(QString("http://127.0.0.1:%1/api/BRAPI/FullTemperature").arg(server.port()));
        const int posts = 100, atOnce = 50;
        QVector<qint64> leftAt(posts, 0);
        QVector<bool> taken(posts, false);
        for (int first = 0; first < posts; first += atOnce) {
            std::vector<std::unique_ptr<QThread>> threads;
            for (int n = first; n < first + atOnce; ++n) {
                threads.emplace_back(QThread::create([&, n] {
                    // Busy for 1.2 s at a time in its first three turns of events: whatever the
                    // thread hears after the request started, it hears after the service took it.
                    QTimer busy;
                    int turns = 0;
                    QObject::connect(&busy, &QTimer::timeout, [&busy, &turns] {
                        QThread::msleep(1200);
                        if (++turns == 3)
                            busy.stop();
                    });
                    busy.start(0);
                    const UploadOutcome out = postUploadBody(url, QString("{\"n\":%1}").arg(n).toUtf8(), 20000,
                                                             [&, n] { leftAt[n] = QDateTime::currentMSecsSinceEpoch(); });
                    taken[n] = out.ok;
                }));
                threads.back()->start();
            }
            for (auto &t : threads)
                QVERIFY(t->wait(30000));
        }
        const QVector<UploadServer::Request> requests = server.requests();
        QCOMPARE(requests.size(), posts);
        for (const UploadServer::Request &r : requests) {
            const int n = QJsonDocument::fromJson(r.body).object().value("n").toInt(-1);
            QVERIFY2(n >= 0 && n < posts && taken[n], r.body.constData());
            const QString note = QDateTime::fromMSecsSinceEpoch(leftAt[n]).toString("yyyy-MM-dd hh:mm:ss");
            QVERIFY2(leftAt[n] > 0 && leftAt[n] <= r.timeMs && note <= r.time,
                     qPrintable(QString("post %1 dated %2 (%3 ms), taken at %4 (%5 ms)")
                                    .arg(n).arg(note).arg(leftAt[n]).arg(r.time).arg(r.timeMs)));
        }
    }
};

QTEST_MAIN(TestSettingsUpload)
#include "test_settings_upload.moc"
