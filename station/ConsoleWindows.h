#pragma once
// The console's separate windows that their own work fills in: the station settings dialog
// and the work-order dialog. Each carries the signals and slots
// the console connects, so the console's wiring is complete.
#include <QString>
#include <QWidget>

#include <cstdint>

// The station settings dialog.
class Settings : public QWidget {
    Q_OBJECT
public:
    explicit Settings(QWidget *parent = nullptr);

signals:
    void Send_QString_times(QString text);
};

// The work-order dialog.
class FormWorkOrderDetails : public QWidget {
    Q_OBJECT
public:
    explicit FormWorkOrderDetails(QWidget *parent = nullptr);

signals:
    void signalInputParam(QString workOrder, QString operatorName, QString extra, bool ok);
};
