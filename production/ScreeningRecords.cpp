#include "production/ScreeningRecords.h"

#include "link/CommandFrames.h"

ScreeningModule ScreeningModule::parse(const uint8_t *r)
{
    ScreeningModule m;
    m.module_counter = readLE<uint32_t>(r + 6);
    m.software_ver = readLE<uint32_t>(r + 10);
    m.hardware_ver = readLE<uint32_t>(r + 14);
    m.board_ver = readLE<uint32_t>(r + 18);
    for (int i = 0; i < 3; ++i)
        m.sn_word[i] = readLE<uint32_t>(r + 22 + 4 * i);
    m.gyro_num = r[34];
    m.accel_num = r[35];
    m.lp_type = r[36];
    m.stream_mode = r[37];
    m.time_stable_us = readLE<uint16_t>(r + 38);
    m.time_consume_us = readLE<uint16_t>(r + 40);
    m.calib_flag = r[43];
    m.imu_fCode = r[44];
    m.config_fCode = r[45];
    m.calibParam_fCode = r[46];
    m.slave_status = r[47];
    m.acc_norm = readLE<float>(r + 48);
    for (int i = 0; i < 3; ++i)
        m.gyro_bias[i] = readLE<float>(r + 52 + 4 * i);
    for (int i = 0; i < 6; ++i)
        m.max_min_diff[i] = readLE<float>(r + 64 + 4 * i);
    m.flag_byte = r[88];
    m.sys_clk = readLE<uint32_t>(r + 89);
    for (int i = 0; i < 5; ++i)
        m.state[i] = r[93 + i];
    for (int i = 0; i < 20; ++i) {
        const char c = char(r[98 + i]);
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            break;
        m.text += QChar(c);
    }
    return m;
}

ScreeningModule ScreeningModule::parse(const ScreeningBytes &all, int m)
{
    return parse(all.data() + size_t(m) * kScreeningRecordBytes);
}

QString ScreeningModule::serialNumber() const
{
    return QString::number(sn_word[0]) + QString::number(sn_word[1]) + QString::number(sn_word[2]);
}

bool ScreeningModule::isEmptyPlace() const
{
    const bool zeros = sn_word[0] == 0 && sn_word[1] == 0 && sn_word[2] == 0;
    const bool ones = sn_word[0] == 0xFFFFFFFFu && sn_word[1] == 0xFFFFFFFFu && sn_word[2] == 0xFFFFFFFFu;
    return zeros || ones;
}
