// The console's work-order capture and uploads: the work-order dialog answered through its seam,
// the warning on Cancel, every station posted to a loopback stand-in of the service named by
// the settings, failures kept as failures, and the chamber-script buttons.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include "UploadServer.h"
#include "app/Settings.h"
#include "link/DeviceRecords.h"
#include "link/LinkFlags.h"
#include "station/FormWorkOrderDetails.h"
#include "station/multi_calib_cmd.h"
#include "station/UploadOutbox.h"
#include "tests/station/ConsoleSeams.h"
#include "ui_FormWorkOrderDetails.h"
#include "ui_MultiCalib.h"

namespace {
void answerWith(const QString &workOrder, const QString &operatorId, const QString &equipment, bool ok)
{
    FormWorkOrderDetails::installAnswerer([=](FormWorkOrderDetails &d) {
        d.form()->lineEdit_workOrderNum->setText(workOrder);
        d.form()->lineEdit_operatorId->setText(operatorId);
        d.form()->lineEdit_equipment->setText(equipment);
        auto *button = d.form()->buttonBox->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
        QTest::mouseClick(button, Qt::LeftButton);
    });
}

QJsonArray detailsOf(const QByteArray &body)
{
    return QJsonDocument::fromJson(body).object().value("details").toArray();
}
} // namespace

class TestSettingsConsole : public QObject, ConsoleSeams {
    Q_OBJECT
private:
    MultiCalib *console = nullptr;
    std::unique_ptr<UploadServer> server;

    // Plates 1 and 4 linked; every IMU reports flag word `flag` except IMU 5 of plate 4.
    void fillRack(uint32_t flag, uint32_t odd)
    {
        g_link_status.fill(0);
        g_link_status[0] = 1;
        g_link_status[3] = 1;
        for (int plate : {0, 3}) {
            g_calib_status.writePlate(plate, [&](CalibImuStatus *r, uint32_t *) {
                for (int i = 0; i < kImusPerPlate; ++i) {
                    r[i].time_ms = 1000 + uint32_t(i); // every IMU reports
                    r[i].calib_flag_h = flag;
                    r[i].calib_flag = flag;
                    r[i].sn[0] = uint8_t(plate * 32 + i);
                }
                if (plate == 3)
                    r[4].calib_flag_h = odd;
            });
            g_calib_status.bump(plate);
        }
    }
    int postedCount() const
    {
        int n = 0;
        for (int plate : {0, 3})
            for (int i = 0; i < kImusPerPlate; ++i)
                n += console->shieldMark(plate, i) == "1" ? 0 : 1;
        return n;
    }

private slots:
    void initTestCase()
    {
        QDir(uploadOutboxFolder()).removeRecursively(); // no results of an earlier run go out
        console = new MultiCalib;
        server = std::make_unique<UploadServer>(TestKit::workDir() + "/service");
        QVERIFY(server->port() > 0);
        getSettings()->setValue("httpAddr/officialAddr", server->address());
        getSettings()->setValue("httpAddr/timeoutMs", 5000);
    }
    void cleanupTestCase()
    {
        FormWorkOrderDetails::installAnswerer(nullptr);
        delete console;
        server.reset();
    }
    void init()
    {
        prompter.shown.clear();
        g_calib_status.clearAll();
        g_link_status.fill(0);
        server->setReply(200, "{\"code\":0,\"msg\":\"ok\"}");
    }

    void confirmedWorkOrderIsStoredWithItsStartTime()
    {
        bool shownWhileWaiting = false;
        FormWorkOrderDetails::installAnswerer([&](FormWorkOrderDetails &d) {
            shownWhileWaiting = d.isVisible();
            d.form()->lineEdit_workOrderNum->setText("WO7");
            d.form()->lineEdit_operatorId->setText("zhang");
            d.form()->lineEdit_equipment->setText("转台");
            QTest::mouseClick(d.form()->buttonBox->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        QVERIFY(console->addWorkOrderDetailsDalig());
        QVERIFY(shownWhileWaiting);
        QCOMPARE(console->workOrderNumber(), QString("WO7"));
        QCOMPARE(console->operatorId(), QString("zhang"));
        QCOMPARE(console->equipment(), QString("转台"));
        QVERIFY(console->workOrderConfirmed());
        QCOMPARE(console->uploadStartTime(), clock.now().toString("yyyy_MMdd HH:mm:ss"));
        QVERIFY(!console->workOrderDialog()->isVisible());
        QVERIFY(prompter.shown.isEmpty());
    }

    void emptyWorkOrderIsAcceptedWhenConfirmed()
    {
        answerWith("", "", "", true);
        QVERIFY(console->addWorkOrderDetailsDalig());
        QCOMPARE(console->workOrderNumber(), QString());
    }

    void cancelledWorkOrderWarnsAndReturnsFalse()
    {
        answerWith("WO8", "li", "x", true);
        QVERIFY(console->addWorkOrderDetailsDalig());
        const QString start = console->uploadStartTime();
        clock.advance(60000);
        answerWith("WO9", "wang", "y", false);
        QVERIFY(!console->addWorkOrderDetailsDalig());
        QVERIFY(!console->workOrderConfirmed());
        QCOMPARE(console->workOrderNumber(), QString());
        QCOMPARE(console->uploadStartTime(), start);
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].title, QString("Warning"));
        QCOMPARE(prompter.shown[0].text, QString("Please enter the necessary information for the work order!!!"));
        QVERIFY(!console->workOrderDialog()->isVisible());
    }

    void closingTheWorkOrderWindowEndsTheWait()
    {
        FormWorkOrderDetails::installAnswerer([](FormWorkOrderDetails &d) { d.close(); });
        QVERIFY(!console->addWorkOrderDetailsDalig());
        QCOMPARE(prompter.shown.size(), 1);
    }

    void turntableUploadPostsEveryOpenPlateToTheConfiguredService()
    {
        answerWith("WO2305120001", "op", "eq", true);
        QVERIFY(console->addWorkOrderDetailsDalig());
        fillRack(3999, 1234);
        clock.advance(5000);
        const int before = server->requests().size();
        console->exectuePosMethod(1);
        QCOMPARE(console->uploadEndTime(), clock.now().toString("yyyy_MMdd HH:mm:ss"));
        const auto requests = server->requests();
        QCOMPARE(requests.size(), before + 1);
        QCOMPARE(requests.last().path, QString("/api/BRAPI/Turntable"));
        QCOMPARE(requests.last().contentType, QString("application/json"));
        QCOMPARE(requests.last().body, console->buildJsonTurntable()); // same records, same times
        const QJsonObject root = QJsonDocument::fromJson(requests.last().body).object();
        QCOMPARE(root.value("WONO").toString(), QString("WO2305120001"));
        const QJsonArray details = root.value("details").toArray();
        QCOMPARE(details.size(), postedCount());
        QVERIFY(details.size() > 0);
        int ng = 0;
        for (const QJsonValue &v : details) {
            const QJsonObject d = v.toObject();
            QCOMPARE(d.value("startTime").toString(), console->uploadStartTime());
            QCOMPARE(d.value("endTime").toString(), console->uploadEndTime());
            if (d.value("result").toString() == "NG") {
                ++ng;
                QCOMPARE(d.value("actCalibrationFlagBit").toString(), QString("1234"));
            }
        }
        QCOMPARE(ng, console->shieldMark(3, 4) == "1" ? 0 : 1);
        QVERIFY(console->lastUpload().ok);
        QCOMPARE(console->lastUpload().reply.msg, QString("ok"));
        QCOMPARE(console->uploadTable().cell[3][UploadExpectedFlag][0].isEmpty(), console->shieldMark(3, 0) == "1");
    }

    void fullTemperatureUploadCarriesTheChamberScriptEdits()
    {
        fillRack(129, 129);
        Ui::MultiCalib *ui = console->form();
        ui->textEdit_hothouse_stop_temp->setText("85");
        ui->textEdit_hothouse_start_temp->setText("-40");
        ui->textEdit_hothouse_temp_slope->setText("2");
        ui->textEdit_hothouse_loops_num->setText("3");
        console->exectuePosMethod(0);
        const auto last = server->requests().last();
        QCOMPARE(last.path, QString("/api/BRAPI/FullTemperature"));
        const QJsonObject d = detailsOf(last.body).at(0).toObject();
        QCOMPARE(d.size(), 13);
        QCOMPARE(d.value("maxTemperature").toString(), QString("85"));
        QCOMPARE(d.value("mintemperature").toString(), QString("-40"));
        QCOMPARE(d.value("slope").toString(), QString("2"));
        QCOMPARE(d.value("cycleindex").toString(), QString("3"));
        QCOMPARE(d.value("result").toString(), QString("OK"));
    }

    void commandPageUploadReachesTheService()
    {
        fillRack(32767, 32767);
        emit console->commandPage()->exectuePosMethod(4);
        const auto last = server->requests().last();
        QCOMPARE(last.path, QString("/api/BRAPI/AlanRest"));
        QCOMPARE(detailsOf(last.body).at(0).toObject().value("expCalibrationFlagBit").toString(), QString("32767"));
    }

    void unknownStationPostsNothing()
    {
        const int before = server->requests().size();
        console->exectuePosMethod(6);
        QCOMPARE(server->requests().size(), before);
        QVERIFY(!console->lastUpload().ok);
    }

    void refusedServiceIsKeptAsAFailure()
    {
        getSettings()->setValue("httpAddr/officialAddr", UploadServer::addressOf(UploadServer::closedPort()));
        console->exectuePosMethod(1);
        getSettings()->setValue("httpAddr/officialAddr", server->address());
        QVERIFY(!console->lastUpload().ok);
        QCOMPARE(console->lastUpload().errorName, QString("ConnectionRefusedError"));
    }

    void silentServiceEndsTheUploadAtTheTimeOut()
    {
        getSettings()->setValue("httpAddr/timeoutMs", 300);
        server->setReply(200, "{\"code\":0}", 4.0);
        QElapsedTimer t;
        t.start();
        console->exectuePosMethod(2);
        getSettings()->setValue("httpAddr/timeoutMs", 5000);
        QVERIFY(t.elapsed() < 3000);
        QVERIFY(!console->lastUpload().ok);
        QVERIFY(console->lastUpload().timedOut);
    }

    void settingsDialogTextRequestsReachTheLinks()
    {
        QSignalSpy forwarded(console, &MultiCalib::Send_QString_times);
        emit console->settingsDialog()->Send_QString_times("abc");
        QCOMPARE(forwarded.size(), 1);
        QCOMPARE(forwarded[0].at(0).toString(), QString("abc"));
        QCOMPARE(console->settingsDialog()->windowTitle(), QString("参数设置"));
    }

    void uploadNestedInAnotherKeepsBothOutcomes()
    {
        fillRack(8095, 8095);
        getSettings()->setValue("httpAddr/timeoutMs", 1000);
        server->setReply(200, "{\"code\":0,\"msg\":\"outer\"}", 0.2);
        const int before = server->requests().size();
        UploadOutcome inner;
        QTimer::singleShot(50, console, [&] {
            // The second post outlives the first one's time-out while the first one waits; its
            // slow answer is set once the first post has reached the service.
            QVERIFY(TestKit::waitUntil([&] { return server->requests().size() == before + 1; }));
            server->setReply(200, "{\"code\":0,\"msg\":\"inner\"}", 1.6);
            console->exectuePosMethod(2);
            inner = console->lastUpload();
        });
        console->exectuePosMethod(1);
        getSettings()->setValue("httpAddr/timeoutMs", 5000);
        QCOMPARE(server->requests().size(), before + 2);
        QVERIFY(inner.timedOut);
        QVERIFY(!inner.ok);
        QVERIFY(console->lastUpload().ok);
        QVERIFY(!console->lastUpload().timedOut);
        QCOMPARE(console->lastUpload().reply.msg, QString("outer"));
    }

    void chamberScriptButtonsAreSwitchedTogether()
    {
        Ui::MultiCalib *ui = console->form();
        console->setChamberScriptButtonsEnabled(false);
        QVERIFY(!ui->pushButton_temperature_retest->isEnabled());
        QVERIFY(!ui->pushButton_hothouse_cmd_auto_include_dc_control->isEnabled());
        console->setChamberScriptButtonsEnabled(true);
        QVERIFY(ui->pushButton_temperature_retest->isEnabled());
        QVERIFY(ui->pushButton_hothouse_cmd_auto_include_dc_control->isEnabled());
    }
};

QTEST_MAIN(TestSettingsConsole)
#include "test_settings_console.moc"
