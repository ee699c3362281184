#include "station/UploadBodies.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include "station/CalibVerdicts.h"

namespace {
const char *const kFieldKeys[kUploadFields] = {
    "cpuid",   "startTime",  "endTime", "maxTemperature", "mintemperature",
    "slope",   "cycleindex", "operatorId", "expCalibrationFlagBit", "actCalibrationFlagBit",
    "result",  "Equipment",  "baseplateIndex"};

const UploadStationInfo kStations[kUploadStations] = {
    {"/api/BRAPI/FullTemperature", "129", true, false, true, true},
    {"/api/BRAPI/Turntable", "3999", false, false, true, false},
    {"/api/BRAPI/AlanRest", "8095", false, false, false, false},
    {"/api/BRAPI/TemperatureTurntable", "128", true, true, false, false},
    {"/api/BRAPI/AlanRest", "32767", false, false, false, false},
    {"/api/BRAPI/AdvancedCalibration", "16383", false, false, false, false},
};

// Fields of the short detail form; the long form posts all of them.
const int kShortFields[] = {UploadCpuid,       UploadStartTime,  UploadEndTime, UploadEquipment,
                            UploadOperatorId,  UploadExpectedFlag, UploadActualFlag, UploadResult};

QString closedPlateLine(bool english, int plate)
{
    return english ? QString("The serial port of the motherboard %1 is not open").arg(plate)
                   : QString("底板%1的串口未打开").arg(plate);
}

QString shieldedLine(bool english, int plate, int imu)
{
    return english ? QString("The IMU %2 of the motherboard %1 is blocked and will not upload IMU data")
                         .arg(plate)
                         .arg(imu)
                   : QString("底板%1的IMU%2被屏蔽，不上传IMU的数据").arg(plate).arg(imu);
}

QString neverReportedLine(bool english, int plate, int imu)
{
    return english ? QString("The IMU %2 of the motherboard %1 never reported and will not upload IMU data")
                         .arg(plate)
                         .arg(imu)
                   : QString("底板%1的IMU%2未上报数据，不上传IMU的数据").arg(plate).arg(imu);
}

QString actualValueLine(bool english, int plate, int imu, const QString &value)
{
    return english ? QString("The actual value of IMU %2 for bottom plate %1 is %3").arg(plate).arg(imu).arg(value)
                   : QString("底板%1的IMU%2的实际值为%3").arg(plate).arg(imu).arg(value);
}

QString serialLine(bool english, int plate, int imu, const QString &value)
{
    return english ? QString("The SN of IMU %2 for baseboard %1 is %3").arg(plate).arg(imu).arg(value)
                   : QString("底板%1的IMU%2的SN为%3").arg(plate).arg(imu).arg(value);
}
} // namespace

const char *uploadFieldKey(int field)
{
    return field >= 0 && field < kUploadFields ? kFieldKeys[field] : "";
}

bool uploadStationInfo(uint8_t station, UploadStationInfo *out)
{
    if (station >= kUploadStations)
        return false;
    *out = kStations[station];
    return true;
}

QString serialNumberHex(const CalibImuStatus &record)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(record.sn), int(sizeof(record.sn))).toHex());
}

QString uploadPositionLabel(bool english, int plate, int imu)
{
    return english ? QString("IMU %2 for bottom plate %1").arg(plate).arg(imu)
                   : QString("底板%1的IMU%2").arg(plate).arg(imu);
}

QByteArray buildUploadBody(uint8_t station, const UploadContext &context, CalibUploadTable &table,
                           QStringList *log)
{
    UploadStationInfo info{};
    QJsonArray details;
    if (uploadStationInfo(station, &info)) {
        const QString expected = QString::fromLatin1(info.expectedFlag);
        for (int p = 0; p < kPlates; ++p) {
            const int plate = p + 1;
            if (!context.plateOpen || !context.plateOpen(p)) {
                log->append(closedPlateLine(info.englishSkipLines, plate));
                continue;
            }
            const PlateSnapshot records = context.plateRecords ? context.plateRecords(p) : PlateSnapshot{};
            for (int i = 0; i < kImusPerPlate; ++i) {
                const int imu = i + 1;
                if (context.shielded && context.shielded(p, i)) {
                    log->append(shieldedLine(info.englishSkipLines, plate, imu));
                    continue;
                }
                const CalibImuStatus &record = records.imu[size_t(i)];
                if (context.seen && !isJudgedImu(true, record, false, context.seen(p, i))) {
                    log->append(neverReportedLine(info.englishSkipLines, plate, imu));
                    continue;
                }
                auto field = [&](int f) -> QString & { return table.cell[p][f][i]; };
                field(UploadExpectedFlag) = expected;
                field(UploadCpuid) = serialNumberHex(record);
                field(UploadActualFlag) = QString::number(info.lowFlagWord ? record.calib_flag : record.calib_flag_h);
                log->append(actualValueLine(info.englishValueLines, plate, imu, field(UploadActualFlag)));
                log->append(serialLine(info.englishValueLines, plate, imu, field(UploadCpuid)));
                const bool silent = context.seen && record.time_ms == 0; // stopped reporting
                if (!silent && field(UploadActualFlag) == field(UploadExpectedFlag)) {
                    field(UploadResult) = "OK";
                    field(UploadBaseplateIndex) = QString();
                } else {
                    field(UploadResult) = "NG";
                    field(UploadBaseplateIndex) = uploadPositionLabel(info.englishValueLines, plate, imu);
                    log->append(field(UploadBaseplateIndex));
                }
                field(UploadStartTime) = context.startTime;
                field(UploadEndTime) = context.endTime;
                field(UploadOperatorId) = context.operatorId;
                field(UploadEquipment) = context.equipment;
                if (info.longForm) {
                    field(UploadMaxTemperature) = context.maxTemperature;
                    field(UploadMinTemperature) = context.minTemperature;
                    field(UploadSlope) = context.slope;
                    field(UploadCycleIndex) = context.cycleIndex;
                }
                QJsonObject detail;
                if (info.longForm) {
                    for (int f = 0; f < kUploadFields; ++f)
                        detail.insert(QLatin1String(kFieldKeys[f]), field(f));
                } else {
                    for (int f : kShortFields)
                        detail.insert(QLatin1String(kFieldKeys[f]), field(f));
                }
                details.append(detail);
            }
        }
    }
    log->append(QString("subArray.size %1").arg(details.size()));
    QJsonObject root;
    root.insert("WONO", context.workOrder);
    root.insert("details", details);
    // QJsonObject keeps its keys in ascending code-unit order, which is the order the service
    // expects ("Equipment" before "actCalibrationFlagBit", "WONO" before "details").
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

UploadReply parseUploadReply(const QByteArray &body)
{
    UploadReply reply;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        reply.parseError = int(error.error);
        return reply;
    }
    reply.parsed = true;
    const QJsonObject object = doc.object();
    reply.code = object.value("code").toInt(0);
    reply.msg = object.value("msg").toString();
    return reply;
}
