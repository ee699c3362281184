#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

#include "app/MainWindow.h"
#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "link/LinkFlags.h"
#include "station/MultiCalib.h"

namespace {
// Test seam of the exit test (tests/app/test_exit.cpp), read once at start and used by nothing
// else: with KELVANTO_TEST_EXIT set, every box is answered with yes, the console's separate
// windows are opened, and the main window is closed as the operator closes it. With
// KELVANTO_TEST_EXIT_PORT the main link is opened on that port on the console page first; with
// KELVANTO_TEST_EXIT_RUN as well, the temperature retest is started once the chamber and the
// supply are linked too, and the close comes in its middle.
class YesPrompter : public Prompter {
public:
    QMessageBox::StandardButton ask(Kind, QWidget *, const QString &title, const QString &text,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton def) override
    {
        std::fprintf(stderr, "exit-test: box \"%s\": %s\n", qPrintable(title), qPrintable(text));
        return buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : def;
    }
};

void closeWhenReady(MainWindow *w)
{
    MultiCalib *console = w->multiCalib();
    console->findChild<QPushButton *>("pushButton_ShowLog")->click();
    console->findChild<QPushButton *>("pushButton_show_cmd_page")->click();
    console->settingsDialog()->show();
    console->workOrderDialog()->show();
    int open = 0;
    for (QWidget *t : QApplication::topLevelWidgets())
        open += t->isVisible();
    std::fprintf(stderr, "exit-test: %d windows open, link %d, plate 2 link %d\n", open, int(g_link_status[0]),
                 int(g_link_status[1]));
    std::fprintf(stderr, "exit-test: closing\n");
    std::fflush(stderr);
    w->close();
}

void runExitTest(MainWindow *w)
{
    static YesPrompter yes;
    Prompter::install(&yes);
    w->showPage(MainWindow::PageCalib);
    const QString port = QString::fromLocal8Bit(qgetenv("KELVANTO_TEST_EXIT_PORT"));
    if (port.isEmpty()) {
        QTimer::singleShot(0, w, [w] { closeWhenReady(w); });
        return;
    }
    QTimer::singleShot(0, w, [w, port] {
        auto *combo = w->findChild<QComboBox *>("comboBox_port");
        combo->setCurrentIndex(combo->findText(port, Qt::MatchStartsWith));
        w->findChild<QPushButton *>("pushButton_connect")->click();
        auto *poll = new QTimer(w);
        const bool withRun = qEnvironmentVariableIsSet("KELVANTO_TEST_EXIT_RUN");
        QObject::connect(poll, &QTimer::timeout, w, [w, poll, withRun] {
            // The main link up, and plate 2 too when the console links one.
            if (g_link_status[0] != 1 || (w->multiCalib()->rackWorker(0) && g_link_status[1] != 1))
                return;
            if (withRun && (g_hothouse_connected != 1 || g_dc_power_connected != 1))
                return;
            poll->stop();
            if (withRun) {
                w->multiCalib()->on_pushButton_temperature_retest_clicked();
                std::fprintf(stderr, "exit-test: run %d\n", int(w->multiCalib()->runGuard()->active()));
            }
            closeWhenReady(w);
        });
        poll->start(50);
    });
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Kelvanto");
    QCoreApplication::setApplicationName("Calibration");
    Q_INIT_RESOURCE(resources);
    registerMetaTypes();

    // "English.qm" in the working folder shows every text in English. Without it the forms show
    // their Chinese, and the program's own texts come in Chinese from "Chinese.qm" beside the
    // program. KELVANTO_LANG ("zh" or "en") chooses whatever the working folder holds.
    QTranslator translator;
    for (const QString &file : translationFiles(qEnvironmentVariable("KELVANTO_LANG"), QDir::currentPath(),
                                                QCoreApplication::applicationDirPath()))
        if (translator.load(file)) {
            app.installTranslator(&translator);
            break;
        }

    MainWindow w;
    const QString title = "IMU test software";
    w.setWindowTitle(title);
    getSettings()->setValue("windowTitle/name", title);
    w.show();
    if (qEnvironmentVariableIsSet("KELVANTO_TEST_EXIT"))
        runExitTest(&w);
    return app.exec();
}
