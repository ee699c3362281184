#pragma once
// The process-wide device records that the link threads write and the GUI reads. Each write
// and each read goes through a lock, so no reader ever sees half a record.
#include <QMutex>
#include <QMutexLocker>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/DeviceProtocol.h"

#pragma pack(push, 1)
// The per-IMU calibration status record: 144 bytes, little-endian, the layout of the first
// 144 payload bytes of message 0x0777.
struct CalibImuStatus {
    uint32_t time_ms;        // 0: 0 until the IMU has reported
    float accx, accy, accz;  // 4, 8, 12
    float gyrox, gyroy, gyroz; // 16, 20, 24
    float temp;              // 28
    uint32_t calib_status;   // 32: code of the last calibration command the IMU accepted
    uint32_t calib_flag;     // 36
    uint32_t calib_flag_h;   // 40: the word verdicts and uploads compare
    uint32_t pos6_count;     // 44 (6pos_count)
    uint8_t imu_fCode;       // 48
    uint8_t config_fCode;    // 49
    uint8_t calib_fCode;     // 50
    uint8_t baud;            // 51
    uint8_t lp_filter;       // 52
    uint8_t reserved53;      // 53
    uint8_t zupt;            // 54
    uint8_t reserved55;      // 55
    uint8_t imu_range;       // 56
    uint8_t imu_type;        // 57
    uint8_t gyro_fuse_n;     // 58
    uint8_t accel_fuse_n;    // 59
    uint16_t duration;       // 60
    uint16_t consume;        // 62
    int16_t roll, pitch, yaw; // 64, 66, 68: hundredths of a degree
    uint8_t reserved70[4];   // 70
    uint8_t freq;            // 74
    uint8_t user_flag;       // 75
    uint32_t user_fcode;     // 76
    uint32_t extra80;        // 80
    uint32_t extra84;        // 84
    uint8_t reserved88[8];   // 88
    uint32_t software_ver;   // 96
    uint32_t harware_ver;    // 100
    uint8_t sn[32];          // 104
    uint8_t reserved136[8];  // 136
};
#pragma pack(pop)

static_assert(sizeof(CalibImuStatus) == 144, "CalibImuStatus is 144 bytes");
static_assert(offsetof(CalibImuStatus, accx) == 4 && offsetof(CalibImuStatus, gyrox) == 16
                  && offsetof(CalibImuStatus, temp) == 28,
              "fused values at 4..28");
static_assert(offsetof(CalibImuStatus, calib_status) == 32 && offsetof(CalibImuStatus, calib_flag) == 36
                  && offsetof(CalibImuStatus, calib_flag_h) == 40
                  && offsetof(CalibImuStatus, pos6_count) == 44,
              "status words at 32..44");
static_assert(offsetof(CalibImuStatus, imu_fCode) == 48 && offsetof(CalibImuStatus, lp_filter) == 52
                  && offsetof(CalibImuStatus, zupt) == 54 && offsetof(CalibImuStatus, imu_range) == 56
                  && offsetof(CalibImuStatus, accel_fuse_n) == 59,
              "byte fields at 48..59");
static_assert(offsetof(CalibImuStatus, duration) == 60 && offsetof(CalibImuStatus, consume) == 62
                  && offsetof(CalibImuStatus, roll) == 64 && offsetof(CalibImuStatus, yaw) == 68,
              "fields at 60..69");
static_assert(offsetof(CalibImuStatus, freq) == 74 && offsetof(CalibImuStatus, user_flag) == 75
                  && offsetof(CalibImuStatus, user_fcode) == 76 && offsetof(CalibImuStatus, extra80) == 80
                  && offsetof(CalibImuStatus, extra84) == 84,
              "fields at 74..87");
static_assert(offsetof(CalibImuStatus, software_ver) == 96 && offsetof(CalibImuStatus, harware_ver) == 100
                  && offsetof(CalibImuStatus, sn) == 104,
              "versions and serial number at 96..135");

// One plate's 32 records and packet-loss counts, copied out under the plate's lock.
struct PlateSnapshot {
    std::array<CalibImuStatus, kImusPerPlate> imu{};
    std::array<uint32_t, kImusPerPlate> errors{};
};

// g_calib_status and g_imu_error_count: 16 plates x 32 IMUs, plate-major; plate index 0 is
// plate 1 (the main link), plate index i + 1 the rack link of list index i. One lock per
// plate: a link writes its plate whole, readers copy.
class CalibStatusTable {
public:
    CalibStatusTable();
    // Runs fn(CalibImuStatus* records[32], uint32_t* errors[32]) under the plate's lock.
    template <class Fn> void writePlate(int plate, Fn &&fn)
    {
        QMutexLocker lock(&m_locks[plate]);
        fn(&m_records[size_t(plate) * kImusPerPlate], &m_errors[size_t(plate) * kImusPerPlate]);
    }
    PlateSnapshot plate(int plate) const;
    CalibImuStatus record(int plate, int imu) const;
    uint32_t errorCount(int plate, int imu) const;
    // Zeroes every record and count (the station clears its tables).
    void clearAll();
    // Zeroes one plate's records and counts (a new source for the plate).
    void clearPlate(int plate);
    // Number of writes so far, per plate (cheap change detection for the GUI).
    uint64_t generation(int plate) const { return m_generation[plate].load(); }
    void bump(int plate) { m_generation[plate].fetch_add(1); }

private:
    mutable std::array<QMutex, kPlates> m_locks;
    std::vector<CalibImuStatus> m_records;
    std::vector<uint32_t> m_errors;
    std::array<std::atomic<uint64_t>, kPlates> m_generation{};
};

// A record written whole by one thread and read whole by another.
template <class T> class GuardedRecord {
public:
    void store(const T &v)
    {
        QMutexLocker lock(&m_lock);
        m_value = v;
        m_stamp++;
    }
    template <class Fn> void update(Fn &&fn)
    {
        QMutexLocker lock(&m_lock);
        fn(m_value);
        m_stamp++;
    }
    T load() const
    {
        QMutexLocker lock(&m_lock);
        return m_value;
    }
    // Times stored so far.
    uint64_t stamp() const
    {
        QMutexLocker lock(&m_lock);
        return m_stamp;
    }

private:
    mutable QMutex m_lock;
    T m_value{};
    uint64_t m_stamp = 0;
};

template <size_t N> using ByteRecord = std::array<uint8_t, N>;

extern CalibStatusTable g_calib_status;
// Raw calibration record images of the main link (payload bytes from offset 8).
extern GuardedRecord<ByteRecord<32 * 256>> g_imu_calib_256;
extern GuardedRecord<ByteRecord<32 * 368>> g_imu_calib_368;
extern GuardedRecord<ByteRecord<32 * 1040>> g_imu_calib_1040;
extern GuardedRecord<ByteRecord<kScreeningBytes>> g_screening_records;
extern GuardedRecord<ByteRecord<kTest735Bytes>> g_test_735_record;
extern GuardedRecord<ByteRecord<kTestK350Bytes>> g_test_k350_record;
// The module parameter image, 127 f32 values.
extern GuardedRecord<std::array<float, kUserParamCount>> g_user_param;

// Count of failed serial writes; the quick-test and screening pages reset it.
extern std::atomic<uint32_t> g_serial_fault_count;
// Frame statistics of the main link.
extern std::atomic<uint64_t> g_frame_ok_count;
extern std::atomic<uint64_t> g_frame_err_count;
// 1 while the main link records its raw bytes.
extern std::atomic<int> g_recording;

// The gyro-calibration result read back from parameters 8, 9, 10 (x, y, z), each with the
// flag that it arrived. The K350 page clears the flags at test start; the module's parameter
// image is never zeroed for it.
struct GyroCalibResult {
    float xyz[3] = {0, 0, 0};
    bool received[3] = {false, false, false};
};
extern GuardedRecord<GyroCalibResult> g_gyro_calib_result;
