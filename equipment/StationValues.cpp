#include "equipment/StationValues.h"

std::atomic<uint8_t> g_turn_table_move_time{10};
std::atomic<uint8_t> g_turn_table_acc_time{45};
std::atomic<uint8_t> g_turn_table_gyro_time{45};
std::atomic<uint8_t> g_turn_table_gyro_nonlinearity_time{50};
std::atomic<uint8_t> g_turn_table_acc_nonlinearity_time{45};

std::atomic<float> g_hot_house_temperature_down_speed{2.0f};
std::atomic<uint8_t> g_dual_computer_temp_calib_flag{0};
std::atomic<uint8_t> g_change_temp_calib_to_temp_cycling{0};
std::atomic<uint8_t> g_open_imu_plot{0};
std::atomic<uint8_t> g_static_test_countdown_min{10};

std::atomic<float> g_dc_full_scale_voltage{31.0f};
std::atomic<float> g_dc_full_scale_current{31.0f};
std::atomic<float> g_dc_read_full_scale_voltage{34.0f};
std::atomic<float> g_dc_read_full_scale_current{34.0f};

std::atomic<uint8_t> g_advanced_calib_type{0};

GuardedFrame g_dc_set_frame;
