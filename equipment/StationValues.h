#pragma once
// Station values that the settings dialog, the scripts and the equipment workers share.
// The settings dialog and the console write them on the GUI thread; the turntable and DC supply
// workers read them from their own threads, so every value is an atomic (plain assignment and
// reading work as with the bare types) and the DC set frame sits behind a lock.
#include <QByteArray>
#include <QMutex>

#include <atomic>
#include <cstdint>

// Turntable waits of the automatic sequences, whole seconds.
extern std::atomic<uint8_t> g_turn_table_move_time;              // 10
extern std::atomic<uint8_t> g_turn_table_acc_time;               // 45
extern std::atomic<uint8_t> g_turn_table_gyro_time;              // 45
extern std::atomic<uint8_t> g_turn_table_gyro_nonlinearity_time; // 50
extern std::atomic<uint8_t> g_turn_table_acc_nonlinearity_time;  // 45

// Chamber script and display values.
extern std::atomic<float> g_hot_house_temperature_down_speed;    // 2.0 degC/min
extern std::atomic<uint8_t> g_dual_computer_temp_calib_flag;     // 0
extern std::atomic<uint8_t> g_change_temp_calib_to_temp_cycling; // 0
extern std::atomic<uint8_t> g_open_imu_plot;                     // 0
extern std::atomic<uint8_t> g_static_test_countdown_min;         // 10

// DC supply register scaling: a set value v goes out as v * 65535 / set full scale; a read
// register r means r * read full scale / 65535.
extern std::atomic<float> g_dc_full_scale_voltage;      // 31.0
extern std::atomic<float> g_dc_full_scale_current;      // 31.0
extern std::atomic<float> g_dc_read_full_scale_voltage; // 34.0
extern std::atomic<float> g_dc_read_full_scale_current; // 34.0

// Kind of the advanced chamber-turntable run: 0 none yet, 1 calibration only, 2 retest only,
// 3 calibration followed by retest. Read by the turntable worker's constant-temperature rotation.
extern std::atomic<uint8_t> g_advanced_calib_type;

// The last 13-byte Modbus set frame of the DC supply panel (without CRC). The supply worker
// copies it for its own on/off switching.
class GuardedFrame {
public:
    void store(const QByteArray &frame)
    {
        QMutexLocker lock(&m_mutex);
        m_frame = frame;
        m_frame.detach();
    }
    QByteArray load() const
    {
        QMutexLocker lock(&m_mutex);
        QByteArray copy = m_frame;
        copy.detach();
        return copy;
    }

private:
    mutable QMutex m_mutex;
    QByteArray m_frame;
};
extern GuardedFrame g_dc_set_frame;
