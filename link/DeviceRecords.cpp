#include "link/DeviceRecords.h"

#include <cstring>

CalibStatusTable::CalibStatusTable()
    : m_records(size_t(kPlates) * kImusPerPlate), m_errors(size_t(kPlates) * kImusPerPlate, 0)
{
    std::memset(m_records.data(), 0, m_records.size() * sizeof(CalibImuStatus));
}

PlateSnapshot CalibStatusTable::plate(int plate) const
{
    PlateSnapshot s;
    QMutexLocker lock(&m_locks[plate]);
    std::memcpy(s.imu.data(), &m_records[size_t(plate) * kImusPerPlate], sizeof(s.imu));
    std::memcpy(s.errors.data(), &m_errors[size_t(plate) * kImusPerPlate], sizeof(s.errors));
    return s;
}

CalibImuStatus CalibStatusTable::record(int plate, int imu) const
{
    QMutexLocker lock(&m_locks[plate]);
    return m_records[size_t(plate) * kImusPerPlate + imu];
}

uint32_t CalibStatusTable::errorCount(int plate, int imu) const
{
    QMutexLocker lock(&m_locks[plate]);
    return m_errors[size_t(plate) * kImusPerPlate + imu];
}

void CalibStatusTable::clearAll()
{
    for (int p = 0; p < kPlates; ++p)
        clearPlate(p);
}

void CalibStatusTable::clearPlate(int plate)
{
    QMutexLocker lock(&m_locks[plate]);
    std::memset(&m_records[size_t(plate) * kImusPerPlate], 0, kImusPerPlate * sizeof(CalibImuStatus));
    std::memset(&m_errors[size_t(plate) * kImusPerPlate], 0, kImusPerPlate * sizeof(uint32_t));
    m_generation[plate].fetch_add(1);
}

CalibStatusTable g_calib_status;
GuardedRecord<ByteRecord<32 * 256>> g_imu_calib_256;
GuardedRecord<ByteRecord<32 * 368>> g_imu_calib_368;
GuardedRecord<ByteRecord<32 * 1040>> g_imu_calib_1040;
GuardedRecord<ByteRecord<kScreeningBytes>> g_screening_records;
GuardedRecord<ByteRecord<kTest735Bytes>> g_test_735_record;
GuardedRecord<ByteRecord<kTestK350Bytes>> g_test_k350_record;
GuardedRecord<std::array<float, kUserParamCount>> g_user_param;
std::atomic<uint32_t> g_serial_fault_count{0};
std::atomic<uint64_t> g_frame_ok_count{0};
std::atomic<uint64_t> g_frame_err_count{0};
std::atomic<int> g_recording{0};
GuardedRecord<GyroCalibResult> g_gyro_calib_result;
