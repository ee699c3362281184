#include "station/AllanRetest.h"

void RetestWatch::commandSent()
{
    m_watching = true;
    for (auto &plate : m_armed)
        plate.fill(false);
}

bool RetestWatch::observe(int plate, const PlateSnapshot &snap)
{
    if (!m_watching || plate < 0 || plate >= kPlates)
        return false;
    bool ended = false;
    for (int k = 0; k < kImusPerPlate; ++k) {
        const CalibImuStatus &r = snap.imu[size_t(k)];
        if (r.time_ms == 0)
            continue; // never filled
        bool &armed = m_armed[size_t(plate)][size_t(k)];
        if (r.calib_status != kAllanRetestEnded)
            armed = true;
        else if (armed)
            ended = true;
    }
    return ended;
}

bool RetestWatch::observeAll()
{
    bool ended = false;
    for (int p = 0; p < kPlates; ++p)
        ended = observe(p, g_calib_status.plate(p)) || ended; // every plate is looked at
    return ended;
}

QString allanElapsedText(uint32_t ticks)
{
    return QString::number(ticks / 60) + "min";
}

QString staticRemainingText(uint32_t quietMin, uint32_t ticks)
{
    const int64_t left = int64_t(quietMin) + 60 - int64_t(ticks / 60);
    return (left > 0 ? QString::number(left) : QString("complete")) + "min";
}

QString fourHourRemainingText(uint32_t ticks)
{
    const int64_t left = 241 - int64_t(ticks / 60);
    return QString::number(left > 0 ? left : 0) + "min";
}

QString reckonText(uint32_t ticks)
{
    return QString::fromUtf8("Reckon by time(s)：") + QString::number(ticks);
}
