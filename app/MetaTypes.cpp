#include "app/MetaTypes.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVector>
#include <cstdint>

void registerMetaTypes()
{
    qRegisterMetaType<uint8_t>("uint8_t");
    qRegisterMetaType<uint16_t>("uint16_t");
    qRegisterMetaType<int16_t>("int16_t");
    qRegisterMetaType<uint32_t>("uint32_t");
    qRegisterMetaType<int32_t>("int32_t");
    qRegisterMetaType<uint64_t>("uint64_t");
    qRegisterMetaType<QByteArray>("QByteArray");
    qRegisterMetaType<QString>("QString");
    qRegisterMetaType<QList<float>>("QList<float>");
    qRegisterMetaType<QVector<double>>("QVector<double>");
}
