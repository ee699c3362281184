#include <QApplication>
#include <QDir>
#include <QTranslator>

#include "app/MainWindow.h"
#include "app/MetaTypes.h"
#include "app/Settings.h"

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Kelvanto");
    QCoreApplication::setApplicationName("Calibration");
    Q_INIT_RESOURCE(resources);
    registerMetaTypes();

    QTranslator translator;
    if (translator.load(QDir::current().absoluteFilePath("English.qm")))
        app.installTranslator(&translator);

    MainWindow w;
    const QString title = "IMU test software";
    w.setWindowTitle(title);
    getSettings()->setValue("windowTitle/name", title);
    w.show();
    return app.exec();
}
