#include "station/AutoTurnTableTestType.h"

#include <QCoreApplication>
#include <QSettings>
#include <mutex>

namespace {
const char kOrganisation[] = "Kelvanto";
const char kDomain[] = "kelvanto.com";
const char kApplication[] = "Calibration";
} // namespace

AutoTurnTableTestType *AutoTurnTableTestType::instance()
{
    static std::once_flag once;
    static AutoTurnTableTestType *object = nullptr;
    std::call_once(once, [] {
        static AutoTurnTableTestType theOne;
        object = &theOne;
    });
    return object;
}

AutoTurnTableTestType::AutoTurnTableTestType()
{
    QCoreApplication::setOrganizationName(kOrganisation);
    QCoreApplication::setOrganizationDomain(kDomain);
    QCoreApplication::setApplicationName(kApplication);
    QSettings store(kOrganisation, kApplication);
    const int stored = store.value(settingsKey(), 0).toInt();
    m_type = (stored == 0 || stored == 1) ? stored : 0;
}

void AutoTurnTableTestType::setTestType(int type)
{
    if (type != 0 && type != 1)
        return;
    m_type = type;
    if (type == 1)
        emit SigImuNolinearTest();
}

void AutoTurnTableTestType::saveTestType()
{
    QSettings store(kOrganisation, kApplication);
    store.setValue(settingsKey(), m_type.load());
    store.sync();
}
