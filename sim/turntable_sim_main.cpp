// A simulated turntable controller for trying the program without a turntable:
//   turntable_sim [--speed factor]
// prints the pseudo-terminal path to choose as the turntable port, e.g.
//   KELVANTO_EXTRA_PORTS=<path> ./imu_tool
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "sim/TurntableSim.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription("Simulated turntable controller on a pseudo-terminal");
    cli.addHelpOption();
    cli.addOption({"speed", "motion speed factor", "factor", "1"});
    cli.process(app);

    TurntableSim sim;
    if (!sim.isValid()) {
        std::fprintf(stderr, "cannot open a pseudo-terminal\n");
        return 1;
    }
    sim.speedUp = cli.value("speed").toDouble();
    std::printf("%s\n", sim.portPath().toLocal8Bit().constData());
    std::fflush(stdout);
    QObject::connect(&sim, &TurntableSim::commandReceived, [](QString line) {
        std::printf("%s\n", line.toLocal8Bit().constData());
        std::fflush(stdout);
    });
    return app.exec();
}
