// A simulated module for trying the program without hardware:
//   module_sim [--mode calib|idle] [--period ms] [--msg b6b6|b6b5|b6b4]
// prints the pseudo-terminal path to open, e.g.
//   KELVANTO_EXTRA_PORTS=$(...) ./imu_tool
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "sim/ModuleSimulator.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription("Simulated IMU module on a pseudo-terminal");
    cli.addHelpOption();
    cli.addOption({"mode", "calib (stream calibration messages) or idle", "mode", "calib"});
    cli.addOption({"period", "stream period in ms", "ms", "100"});
    cli.addOption({"msg", "calibration message: b6b6, b6b5 or b6b4", "msg", "b6b6"});
    cli.addOption({"board", "board id", "id", "7"});
    cli.process(app);

    ModuleSimulator sim;
    if (!sim.isValid()) {
        std::fprintf(stderr, "cannot open a pseudo-terminal\n");
        return 1;
    }
    const QString msg = cli.value("msg").toLower();
    sim.calibMessageId = msg == "b6b4" ? DeviceMsgId::CalibB6B4
        : msg == "b6b5" ? DeviceMsgId::CalibB6B5 : DeviceMsgId::CalibB6B6;
    sim.boardId = cli.value("board").toUInt();
    for (int i = 0; i < 32; ++i)
        sim.imus[size_t(i)].time_ms = 1;
    std::printf("%s\n", sim.portPath().toLocal8Bit().constData());
    std::fflush(stdout);

    uint32_t t = 0;
    if (cli.value("mode") == "calib") {
        sim.startStreaming(cli.value("period").toInt(), [&] {
            t += 100;
            for (int i = 0; i < 32; ++i) {
                auto &imu = sim.imus[size_t(i)];
                imu.time_ms = t;
                imu.fused[0] = 0.01f * i;
                imu.fused[2] = 9.8f;
                imu.fused[6] = 25.0f + 0.001f * float(t % 10000);
            }
            return sim.currentCalibFrame();
        });
    }
    // Announce the version once a second so the program shows it.
    QTimer version;
    QObject::connect(&version, &QTimer::timeout, [&] {
        sim.sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(sim.softwareVersion, sim.boardId));
    });
    version.start(1000);
    return app.exec();
}
