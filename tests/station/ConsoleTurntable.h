#pragma once
// Links the console's turntable to a simulated controller through its own combo and button, and
// runs the new worker on test time. The silent-controller limit (three run seconds) stays well
// above the poll interval, so a loaded machine never takes a late answer for a silent table.
#include <QComboBox>

#include "link/LinkFlags.h"
#include "tests/station/ConsoleSeams.h"
#include "ui_MultiCalib.h"

inline WorkerThread_turn_table *linkConsoleTurntable(MultiCalib *console, const QString &portPath)
{
    if (!pickSimulatedPort(console->form()->comboBox_calib_multi_turn_table, portPath))
        return nullptr;
    console->on_clicked_pushButton_connect_calib_multi_turn_table();
    if (!TestKit::waitUntil([] { return g_turn_table_connected == 1; }))
        return nullptr;
    WorkerThread_turn_table *w = console->turnTableWorker();
    QMetaObject::invokeMethod(w, [w] {
        w->setTimeScale(50);
        w->setTickInterval(2);
        w->setPollInterval(20);
    }, Qt::BlockingQueuedConnection);
    return w;
}
