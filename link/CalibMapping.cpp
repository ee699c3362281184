#include "link/CalibMapping.h"

#include <cstring>

namespace {
template <class T> void copyField(T &dst, const uint8_t *src)
{
    std::memcpy(&dst, src, sizeof(T));
}
} // namespace

void mapCalibRecord(CalibMapVariant variant, const uint8_t *r, size_t S, CalibImuStatus *o)
{
    const size_t B = S - 112;
    const bool is256 = S == 256;

    copyField(o->time_ms, r + 0);
    std::memcpy(&o->accx, r + 4, 7 * sizeof(float)); // accx..gyroz, temp
    copyField(o->calib_flag, r + B + 4);
    copyField(o->pos6_count, r + B + 12);
    o->imu_fCode = r[B + 16];
    o->config_fCode = r[B + 17];
    o->calib_fCode = r[B + 18];
    o->baud = r[B + 19];
    o->lp_filter = r[B + 20];
    o->imu_range = r[B + 24];
    o->imu_type = r[B + 25];
    o->gyro_fuse_n = r[B + 26];
    o->accel_fuse_n = r[B + 27];
    copyField(o->software_ver, r + S - 48);
    copyField(o->harware_ver, r + S - 44);
    std::memcpy(o->sn, r + S - 40, 32);

    if (is256 || variant != CalibMapVariant::Replay)
        copyField(o->calib_status, r + B);
    if (is256) {
        copyField(o->calib_flag_h, r + B + 8);
        copyField(o->roll, r + B + 32);
        copyField(o->pitch, r + B + 34);
        copyField(o->yaw, r + B + 36);
        if (variant != CalibMapVariant::Replay) {
            copyField(o->duration, r + B + 28);
            copyField(o->consume, r + B + 30);
            o->freq = r[B + 42];
            o->user_flag = r[B + 43];
            copyField(o->user_fcode, r + B + 44);
        }
        if (variant == CalibMapVariant::Main) {
            o->zupt = r[B + 22];
            copyField(o->extra80, r + B + 48);
            copyField(o->extra84, r + B + 52);
        }
    }
}

bool storeCalibMessage(CalibMapVariant variant, uint16_t id, const uint8_t *payload, size_t len,
                       CalibImuStatus *records, uint32_t *errors)
{
    if (!isCalibMessage(id) || len < minPayloadLength(id))
        return false;
    if (id == DeviceMsgId::Calib0777) {
        std::memcpy(&records[0], payload, sizeof(CalibImuStatus));
        return true;
    }
    const size_t S = calibRecordSize(id);
    for (int i = 0; i < kImusPerPlate; ++i)
        mapCalibRecord(variant, payload + kCalibHeaderBytes + i * S, S, &records[i]);
    const uint8_t *counts = payload + kCalibHeaderBytes + kImusPerPlate * S;
    for (int i = 0; i < kImusPerPlate; ++i) {
        uint16_t c;
        std::memcpy(&c, counts + 2 * i, 2);
        errors[i] = c;
    }
    return true;
}
