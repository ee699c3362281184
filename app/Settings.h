#pragma once
// Where the program keeps its configuration and its logs, and the one settings accessor.
#include <QSettings>
#include <QString>
#include <QStringList>

// The folder "Config" under the application folder when it is writable, else the per-user
// configuration folder. The environment variable KELVANTO_CONFIG_DIR overrides both (tests).
QString appConfigDir();
// "./log" under the working folder; KELVANTO_LOG_DIR overrides it (tests).
QString logRoot();
// A folder under logRoot(), made when missing: logSubdir("log_dc_power").
QString logSubdir(const QString &relative);

// The application settings ("KelvantoConfig.ini", INI, UTF-8), made on first use; that first
// use fills "httpAddr/testAddr" and "httpAddr/officialAddr" when they are empty.
QSettings *getSettings();
// The full-temperature address of the production-data service's official (port 90) or test
// (port 1080) instance, as filled in on first use.
QString defaultServiceAddress(bool official);
// The translation files tried at start, in order; the first that loads is used. KELVANTO_LANG
// chooses: "zh" Chinese.qm beside the program, whatever the working folder holds; "en"
// English.qm in the working folder, else beside the program. Without a choice, English.qm in
// the working folder, else Chinese.qm beside the program.
QStringList translationFiles(const QString &language, const QString &workDir, const QString &programDir);
// The station's IMU selection file "selectStateConfig.ini" beside the settings.
QString selectionFilePath();
