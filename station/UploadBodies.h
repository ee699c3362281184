#pragma once
// Bodies and replies of the production-data web service: one JSON body per station (kind of
// run) with the work order and one detail object per posted IMU, and the reply's code and
// message. Qt Core only; the console feeds it the link flags, shield marks and records.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

#include "link/DeviceRecords.h"

// The fields of one IMU in the upload table; each is posted under its key (uploadFieldKey).
enum UploadField {
    UploadCpuid = 0,
    UploadStartTime,
    UploadEndTime,
    UploadMaxTemperature,
    UploadMinTemperature,
    UploadSlope,
    UploadCycleIndex,
    UploadOperatorId,
    UploadExpectedFlag,
    UploadActualFlag,
    UploadResult,
    UploadEquipment,
    UploadBaseplateIndex,
    kUploadFields
};
const char *uploadFieldKey(int field);

// The upload table: [plate 0..15][field][IMU 0..31]. Each build overwrites the fields of the
// IMUs it posts; skipped IMUs keep what an earlier build left.
struct CalibUploadTable {
    QString cell[kPlates][kUploadFields][kImusPerPlate];
};

// Stations: 0 full temperature, 1 turntable, 2 static Allan, 3 temperature retest,
// 4 advanced Allan, 5 advanced calibration.
struct UploadStationInfo {
    const char *path;         // "/api/BRAPI/..."
    const char *expectedFlag; // the flag word every IMU must show, as text
    bool longForm;            // detail objects carry all thirteen fields
    bool lowFlagWord;         // judge calib_flag (byte 36) instead of calib_flag_h (byte 40)
    bool englishSkipLines;    // closed-plate and shielded-IMU lines in English
    bool englishValueLines;   // actual-value, serial-number lines and position label in English
};
constexpr int kUploadStations = 6;
// False for a station number that has no service path.
bool uploadStationInfo(uint8_t station, UploadStationInfo *out);

// What a build reads besides the records.
struct UploadContext {
    QString workOrder, operatorId, equipment, startTime, endTime;
    // The chamber-script edits as they read now (posted by the long form only).
    QString maxTemperature, minTemperature, slope, cycleIndex;
    std::function<bool(int plate)> plateOpen;           // plate index 0..15
    std::function<bool(int plate, int imu)> shielded;   // shield mark "1"
    std::function<PlateSnapshot(int plate)> plateRecords; // read once per open plate
    // When set: the IMUs seen reporting. Only judged IMUs (isJudgedImu) are posted, and one that
    // is silent now is NG, by the rule of the screen's verdicts.
    std::function<bool(int plate, int imu)> seen;
};

// The 32-byte serial number in stored order, two lower-case hexadecimal digits a byte.
QString serialNumberHex(const CalibImuStatus &record);
// The IMU's position label ("底板%1的IMU%2" or its English form), plate and IMU from 1.
QString uploadPositionLabel(bool english, int plate, int imu);

// Fills the table for every posted IMU and returns the compact UTF-8 body; the builder's
// debug lines go to *log.
QByteArray buildUploadBody(uint8_t station, const UploadContext &context, CalibUploadTable &table,
                           QStringList *log);

// The service's reply: "code" (0 when absent or not a number) and "msg".
struct UploadReply {
    bool parsed = false;
    int parseError = 0; // QJsonParseError::ParseError when not parsed
    int code = 0;
    QString msg;
};
UploadReply parseUploadReply(const QByteArray &body);
