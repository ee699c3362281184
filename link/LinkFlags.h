#pragma once
// Link state of the station, written and read on the GUI thread only.
#include <QString>
#include <QVector>
#include <cstdint>

// Entry n - 1 is 1 while plate n is linked (entry 0: the main link).
extern QVector<uint8_t> g_link_status;
extern QString g_port_name;
extern uint32_t g_baud_rate;
extern uint32_t g_module_index;
// Set only by the equipment workers' success reports, cleared by the console's close paths.
extern uint8_t g_turn_table_connected;
extern uint8_t g_net_connected;
extern uint8_t g_hothouse_connected;
extern uint8_t g_dc_power_connected;
