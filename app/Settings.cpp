#include "app/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
bool folderWritable(const QString &path)
{
    QDir d(path);
    if (!d.exists() && !QDir().mkpath(path))
        return false;
    QFileInfo fi(path);
    return fi.isDir() && fi.isWritable();
}
} // namespace

QString appConfigDir()
{
    static const QString dir = [] {
        const QByteArray env = qgetenv("KELVANTO_CONFIG_DIR");
        if (!env.isEmpty()) {
            QDir().mkpath(QString::fromLocal8Bit(env));
            return QString::fromLocal8Bit(env);
        }
        const QString beside = QCoreApplication::applicationDirPath() + "/Config";
        if (folderWritable(beside))
            return beside;
        QString user = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        if (user.isEmpty())
            user = QDir::homePath() + "/.config/Kelvanto";
        QDir().mkpath(user);
        return user;
    }();
    return dir;
}

QString logRoot()
{
    const QByteArray env = qgetenv("KELVANTO_LOG_DIR");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    return QDir::current().absoluteFilePath("log");
}

QString logSubdir(const QString &relative)
{
    const QString path = QDir(logRoot()).absoluteFilePath(relative);
    QDir().mkpath(path);
    return path;
}

QString defaultServiceAddress(bool official)
{
    return official ? QStringLiteral("http://127.0.0.1:90/api/BRAPI/FullTemperature")
                    : QStringLiteral("http://127.0.0.1:1080/api/BRAPI/FullTemperature");
}

QSettings *getSettings()
{
    static QSettings *s = [] {
        auto *settings = new QSettings(appConfigDir() + "/KelvantoConfig.ini", QSettings::IniFormat);
        settings->setIniCodec("UTF-8");
        // Full-temperature addresses of the production-data service's test and official
        // instance; the uploads take scheme, host and port of the official one. The site
        // puts its service's host here.
        if (settings->value("httpAddr/testAddr").toString().isEmpty())
            settings->setValue("httpAddr/testAddr", defaultServiceAddress(false));
        if (settings->value("httpAddr/officialAddr").toString().isEmpty())
            settings->setValue("httpAddr/officialAddr", defaultServiceAddress(true));
        return settings;
    }();
    return s;
}

QString selectionFilePath()
{
    return appConfigDir() + "/selectStateConfig.ini";
}

QStringList translationFiles(const QString &language, const QString &workDir, const QString &programDir)
{
    const QString workEnglish = QDir(workDir).absoluteFilePath("English.qm");
    const QString chinese = QDir(programDir).absoluteFilePath("Chinese.qm");
    const QString lang = language.trimmed().toLower();
    if (lang == "zh")
        return {chinese};
    if (lang == "en")
        return {workEnglish, QDir(programDir).absoluteFilePath("English.qm")};
    return {workEnglish, chinese};
}
