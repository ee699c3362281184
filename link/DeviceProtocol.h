#pragma once
// Message and command ids of the module protocol, and the payload layouts that this program
// defines itself (version and parameter-value messages). The module simulator shares this
// header, so both ends agree byte for byte.
#include <cstddef>
#include <cstdint>

namespace DeviceMsgId {
enum : uint16_t {
    NineImu = 0x0001,
    Ahrs = 0x0002,
    AhrsMag = 0x0003,
    Gnss86 = 0x0086,
    Gnss88 = 0x0088,
    RetestParams = 0x00AE,
    Version = 0x00FF,
    BootReply = 0x0064,
    BootReply2 = 0x753C,
    Calib0777 = 0x0777,
    CalibB6B4 = 0xB6B4, // 32 records of 1040 bytes
    CalibB6B5 = 0xB6B5, // 32 records of 368 bytes
    CalibB6B6 = 0xB6B6, // 32 records of 256 bytes
    CalibB6B8 = 0xB6B8, // 32 records of 256 bytes
    ParamPage1 = 0x61B8,
    ParamPage2 = 0x61B9,
    ParamValue = 0x7530,
    ParamAck = 0x753D,
    FirmwareInfo = 0x7919,
    Screening = 0xBABA,
    Test735 = 0xEEE3,
    TestK350 = 0xFEF3,
    BaseBoardTemp = 24968,
};
}

namespace DeviceCmdId {
enum : uint16_t {
    StatusQuery = 1,
    AhrsQuery = 2,
    SetOutputMode = 3,
    SaveToFlash = 5,
    ReadParam = 6,
    Restart = 9,
    GyroCalib = 10,
    WriteParam = 14,
    ParamList = 30000,
    ParamItem = 30004,
    CalibDate = 30007,
    Store = 30009,
    Verify = 30011,
    Ack = 30013,
    FirmwareInfo = 31000,
    Passthrough = 35000,
    Passthrough2 = 35002,
    Reboot = 35003,
    AdvancedCalib = 51000,
    AdvancedRetest = 52000,
    TempCompStart = 56001,
    TempCompStop = 56003,
    AccelCalib = 56004,
    GyroCalib2 = 56007,
    ClearCalibFlag = 57000,
    NonlinearityTest = 57003,
    SingleImuMode = 57011,
    TempRetestStart = 58001,
    TempRetestStop = 58003,
    StaticAllanRetest = 58016,
    FourHourAllanRetest = 58416,
    AllanRun32 = 58616,
    Reset = 59999,
};
}

// Modes of the set-output-mode command (3), carried in cm1.
namespace OutputMode {
constexpr float Ahrs = 1, NineImu = 2, MultiImuCalib = 3, Test735 = 5, Ins = 6, TestK350 = 51,
                Screening = 91, Command = 100;
}
// cm3..cm6 of every set-output-mode command.
struct OutputModeFiller {
    static constexpr uint32_t cm3 = 0x1234;
    static constexpr uint32_t cm4 = 0xABCD;
    static constexpr int32_t cm5 = 100;
    static constexpr int32_t cm6 = 200;
};
using OUTPUT_MODE_FILLER = OutputModeFiller;

// Calibration messages: 8 header bytes, then 32 records of S bytes, then 32 u16 I2C
// packet-loss counts.
constexpr size_t kCalibHeaderBytes = 8;
constexpr int kImusPerPlate = 32;
constexpr int kPlates = 16;
constexpr size_t calibRecordSize(uint16_t id)
{
    return id == DeviceMsgId::CalibB6B4 ? 1040
        : id == DeviceMsgId::CalibB6B5 ? 368
        : (id == DeviceMsgId::CalibB6B6 || id == DeviceMsgId::CalibB6B8) ? 256
        : 0;
}
constexpr size_t calibMessageLength(uint16_t id)
{
    return kCalibHeaderBytes + kImusPerPlate * calibRecordSize(id) + kImusPerPlate * 2;
}

// Sizes of the records kept from the production messages.
constexpr size_t kCalibStatusBytes = 144;   // 0x0777: first 144 payload bytes
constexpr size_t kScreeningRecordBytes = 124; // 0xBABA: 32 records from payload offset 8
constexpr size_t kScreeningBytes = 32 * kScreeningRecordBytes;
constexpr size_t kTest735Bytes = 150;        // 0xEEE3
constexpr size_t kTestK350Bytes = 143;       // 0xFEF3

// Version message (255), defined by this program: the sixteen values of signal_sendVersionValue
// packed in order, little-endian.
//   u32 software_version, u32 hardware_version, u32 board_id, u32 serial_low, u32 serial_high,
//   u32 build_date, u16 protocol, u8 major, u8 minor, u8 patch, u32 reserved[5], u8 module_type
// 50 bytes. The liveness report "<plate>_<version>_<board id>" takes software_version and board_id.
struct VersionPayload {
    uint32_t v[6];
    uint16_t protocol;
    uint8_t b[3];
    uint32_t r[5];
    uint8_t moduleType;
};
constexpr size_t kVersionPayloadBytes = 50;
namespace VersionField {
constexpr int SoftwareVersion = 0, HardwareVersion = 1, BoardId = 2;
}

// Parameter-value message (0x7530), defined by this program: u32 index, f32 value (8 bytes).
// The host acknowledges each with CMMD_STRUCT_ACK (30013, 30004, index).
constexpr size_t kParamValuePayloadBytes = 8;
constexpr int kUserParamCount = 127;

// Smallest payload each message needs; a shorter frame is dropped and counted, never mapped.
constexpr size_t minPayloadLength(uint16_t id)
{
    switch (id) {
    case DeviceMsgId::Calib0777: return kCalibStatusBytes;
    case DeviceMsgId::CalibB6B4:
    case DeviceMsgId::CalibB6B5:
    case DeviceMsgId::CalibB6B6:
    case DeviceMsgId::CalibB6B8: return calibMessageLength(id);
    case DeviceMsgId::Screening: return kCalibHeaderBytes + kScreeningBytes;
    case DeviceMsgId::Test735: return kTest735Bytes;
    case DeviceMsgId::TestK350: return kTestK350Bytes;
    case DeviceMsgId::Version: return kVersionPayloadBytes;
    case DeviceMsgId::ParamValue: return kParamValuePayloadBytes;
    default: return 1;
    }
}

// Exclusive upper bound of the payload length that the rack links and the replay accept.
constexpr uint32_t max_payload_len(uint16_t id)
{
    switch (id) {
    case DeviceMsgId::CalibB6B6:
    case DeviceMsgId::CalibB6B8: return 8274;
    case DeviceMsgId::CalibB6B5: return 11858;
    case DeviceMsgId::CalibB6B4: return 33362;
    case DeviceMsgId::Screening: return 4050;
    default: return 1000;
    }
}
