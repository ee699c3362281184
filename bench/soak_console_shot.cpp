// Screenshot of the calibration console with two simulated base boards streaming (plates 2
// and 3 on the rack links): run under Xvfb, writes the PNG named on the command line, in the
// language of the translation file named after it (the source texts without one).
//   xvfb-run -a soak_console_shot docs/console.png build/English.qm
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QPixmap>
#include <QTimer>
#include <QTranslator>

#include <cmath>
#include <cstdio>
#include <memory>

#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "equipment/StationValues.h"
#include "link/LinkFlags.h"
#include "sim/ModuleSimulator.h"
#include "station/MultiCalib.h"
#include "ui_MultiCalib.h"

namespace {
void run(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("KELVANTO_CONFIG_DIR"))
        qputenv("KELVANTO_CONFIG_DIR", "/tmp/console_shot/Config");
    QApplication app(argc, argv);
    registerMetaTypes();
    ScriptedPrompter prompter;
    Prompter::install(&prompter);
    const QString out = argc > 1 ? argv[1] : "console.png";
    QTranslator translator;
    if (argc > 2 && (!translator.load(argv[2]) || !QCoreApplication::installTranslator(&translator))) {
        std::fprintf(stderr, "cannot load the translation %s\n", argv[2]);
        return 1;
    }

    std::unique_ptr<ModuleSimulator> boards[2] = {std::make_unique<ModuleSimulator>(), std::make_unique<ModuleSimulator>()};
    qputenv("KELVANTO_EXTRA_PORTS", (boards[0]->portPath() + ":" + boards[1]->portPath()).toLocal8Bit());
    for (int b = 0; b < 2; ++b) {
        ModuleSimulator *sim = boards[b].get();
        sim->boardId = uint32_t(20 + b);
        auto n = std::make_shared<uint32_t>(0);
        sim->startStreaming(100, [sim, b, n] {
            const uint32_t t = ++*n * 100;
            for (int i = 0; i < 32; ++i) {
                auto &imu = sim->imus[size_t(i)];
                const float phase = 0.0005f * float(t) + 0.2f * float(i);
                imu.time_ms = t;
                imu.fused[0] = 0.3f * std::sin(phase);
                imu.fused[1] = 0.3f * std::cos(phase);
                imu.fused[2] = 9.8f + 0.05f * float(i % 4);
                imu.fused[3] = 40.0f * std::sin(phase * 2);
                imu.fused[6] = 25.0f + float(b) + 0.02f * float(i) + 0.0002f * float(t);
                imu.calib_status = 56005;
                imu.calib_flag_h = (b == 1 && i == 4) ? 4095 : 3999; // one odd IMU on plate 3
                imu.software_ver = 0x56312E30;
                imu.harware_ver = 0x48312E30;
            }
            return sim->currentCalibFrame();
        });
        sim->sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(sim->softwareVersion, sim->boardId));
    }

    g_port_name = "/dev/ttyMAIN";
    g_baud_rate = 921600;
    MultiCalib console;
    console.resize(1131, 711);
    console.show();
    for (int b = 0; b < 2; ++b) {
        QComboBox *c = console.findChild<QComboBox *>(QString("comboBox_calib_multi_serial%1").arg(b + 2));
        c->setCurrentIndex(c->findText(boards[b]->portPath() + " # simulated"));
    }
    console.connect_serial_port(1);
    g_open_imu_plot = 1;
    run(1500);
    for (auto &b : boards)
        b->sendFrame(DeviceMsgId::Version, SimPayload::versionPayload(b->softwareVersion, b->boardId));
    console.form()->tabWidget_top->setCurrentWidget(console.form()->tab_imu);
    console.form()->tabWidget_bottom->setCurrentIndex(3); // plate 3
    run(6000);
    const bool ok = console.grab().save(out);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(out));
    console.connect_serial_port(0);
    std::fflush(stdout);
    std::_Exit(ok ? 0 : 1); // the link threads end with the process
}
