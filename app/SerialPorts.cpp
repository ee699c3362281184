#include "app/SerialPorts.h"

#include <QRegularExpression>
#include <QSerialPortInfo>

QStringList availablePortTexts()
{
    QStringList out;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        QString name = info.systemLocation().isEmpty() ? info.portName() : info.systemLocation();
        out << (info.description().isEmpty() ? name : name + ' ' + info.description());
    }
    const QString extra = QString::fromLocal8Bit(qgetenv("KELVANTO_EXTRA_PORTS"));
    for (const QString &p : extra.split(QRegularExpression("[:,]"), Qt::SkipEmptyParts)) {
        const QString text = p.trimmed() + " simulated";
        if (!out.contains(text))
            out << text;
    }
    return out;
}

QString portNameOf(const QString &comboText)
{
    return comboText.section(' ', 0, 0, QString::SectionSkipEmpty);
}
