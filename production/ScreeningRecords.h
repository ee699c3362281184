#pragma once
// The 124-byte screening record of one module (32 of them from message 0xBABA) and the texts
// derived from it. Qt Core only.
#include <QString>
#include <array>
#include <cstdint>

#include "link/DeviceProtocol.h"

using ScreeningBytes = std::array<uint8_t, kScreeningBytes>;

struct ScreeningModule {
    uint32_t module_counter = 0;                     // 6
    uint32_t software_ver = 0, hardware_ver = 0, board_ver = 0; // 10, 14, 18
    uint32_t sn_word[3] = {};                        // 22, 26, 30
    uint8_t gyro_num = 0, accel_num = 0, lp_type = 0, stream_mode = 0; // 34..37
    uint16_t time_stable_us = 0, time_consume_us = 0; // 38, 40
    uint8_t calib_flag = 0, imu_fCode = 0, config_fCode = 0, calibParam_fCode = 0, slave_status = 0; // 43..47
    float acc_norm = 0;                              // 48
    float gyro_bias[3] = {};                         // 52, 56, 60
    float max_min_diff[6] = {};                      // 64..84
    uint8_t flag_byte = 0;                           // 88
    uint32_t sys_clk = 0;                            // 89
    uint8_t state[5] = {};                           // 93..97
    QString text;                                    // 98, 20 bytes, up to the first non-alphanumeric

    static ScreeningModule parse(const uint8_t *record);
    // Module m (0..31) of the 32 records.
    static ScreeningModule parse(const ScreeningBytes &all, int m);
    QString serialNumber() const;
    // No module sits in this place: serial words all 0 or all 0xFFFFFFFF.
    bool isEmptyPlace() const;
};
