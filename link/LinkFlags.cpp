#include "link/LinkFlags.h"

QVector<uint8_t> g_link_status(16, 0);
QString g_port_name;
uint32_t g_baud_rate = 115200;
uint32_t g_module_index = 0;
uint8_t g_turn_table_connected = 0;
uint8_t g_net_connected = 0;
uint8_t g_hothouse_connected = 0;
uint8_t g_dc_power_connected = 0;
