#pragma once
// Links the console's turntable to a simulated controller through its own combo and button, and
// runs the new worker on test time. The silent-controller limit (three run seconds) stays well
// above the poll interval, so a loaded machine never takes a late answer for a silent table.
// The controller runs in the worker's thread: the worker's time (its ticks) and the controller's
// motion and answers run on the same thread, so a busy or starved test thread cannot trip a move
// bound.
#include <QComboBox>

#include "link/LinkFlags.h"
#include "sim/TurntableSim.h"
#include "tests/station/ConsoleSeams.h"
#include "ui_MultiCalib.h"

inline WorkerThread_turn_table *linkConsoleTurntable(MultiCalib *console, TurntableSim *table)
{
    if (!table->comeHome() || !pickSimulatedPort(console->form()->comboBox_calib_multi_turn_table, table->portPath()))
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
    table->shareThreadOf(w);
    return w;
}
