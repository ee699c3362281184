#include "app/MachineId.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace {
QString readFirstLine(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(f.readLine()).trimmed();
}

QString shapeUuid(QString hex)
{
    hex.remove('-');
    if (hex.size() != 32 || !QRegularExpression("^[0-9A-Fa-f]{32}$").match(hex).hasMatch())
        return QString();
    hex = hex.toUpper();
    return hex.mid(0, 8) + '-' + hex.mid(8, 4) + '-' + hex.mid(12, 4) + '-' + hex.mid(16, 4) + '-'
        + hex.mid(20, 12);
}
} // namespace

QString getBaseboardUuid()
{
    const QByteArray env = qgetenv("KELVANTO_MACHINE_ID");
    if (!env.isNull())
        return QString::fromLocal8Bit(env);
    QString id = shapeUuid(readFirstLine("/sys/class/dmi/id/product_uuid"));
    if (id.isEmpty())
        id = shapeUuid(readFirstLine("/etc/machine-id"));
    return id;
}

QString runWmicQuery(const QString &commandLine, int timeoutMs)
{
    QStringList args = QProcess::splitCommand(commandLine);
    if (args.isEmpty())
        return QString();
    const QString header = args.last();
    const QString program = args.takeFirst();
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return QString();
    }
    QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    out = out.trimmed();
    if (out.startsWith(header, Qt::CaseInsensitive))
        out = out.mid(header.size());
    out.remove('\r');
    out.remove('\n');
    return out.trimmed();
}
