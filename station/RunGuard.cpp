#include "station/RunGuard.h"

#include <QStringList>

QString RunGuard::name(Run run)
{
    switch (run) {
    case TempScript: return tr("Temperature compensation and retest script");
    case TempRetest: return tr("Temperature retest script");
    case AdvancedCalib: return tr("Advanced calibration");
    case AdvancedCalibRetest: return tr("Advanced calibration and retest");
    case AdvancedRetest: return tr("Advanced retest");
    case AllanStatic: return tr("Static Allan retest");
    case AllanFourHour: return tr("Advanced Allan retest");
    case OneClick: return tr("One-click turntable calibration");
    case None: break;
    }
    return QString();
}

int RunGuard::needs(Run run)
{
    switch (run) {
    case TempScript:
    case TempRetest: return Chamber | Supply | Plates;
    // The advanced runs never switch the supply: its link is none of their business.
    case AdvancedCalib:
    case AdvancedCalibRetest:
    case AdvancedRetest: return Chamber | Turntable | Plates;
    case AllanStatic: return Plates;
    case AllanFourHour: return Plates | Supply;
    case OneClick: return Turntable | Plates;
    case None: break;
    }
    return 0;
}

QString RunGuard::linkName(Link link)
{
    switch (link) {
    case Turntable: return tr("turntable");
    case Chamber: return tr("chamber");
    case Supply: return tr("DC supply");
    case Plates: return tr("base boards");
    }
    return QString();
}

QString RunGuard::missingLinks(int needed, int up)
{
    QStringList names;
    for (Link l : {Chamber, Supply, Turntable, Plates})
        if ((needed & l) && !(up & l))
            names << linkName(l);
    return names.join(tr(", "));
}

QString RunGuard::busyText(Run running)
{
    return tr("%1 is running: stop it before starting another run").arg(name(running));
}

void RunGuard::plateLost(int plate)
{
    if (m_active != None && !m_lostPlates.contains(plate))
        m_lostPlates << plate;
}

QString RunGuard::lostPlatesNote() const
{
    if (m_lostPlates.isEmpty())
        return QString();
    QStringList numbers;
    for (int p : m_lostPlates)
        numbers << QString::number(p);
    return "\n" + tr("Plate links lost during the run: %1").arg(numbers.join(", "));
}

bool RunGuard::begin(Run run)
{
    if (run == None || m_active != None)
        return false;
    m_lostPlates.clear();
    ++m_serial;
    m_active = run;
    emit activeChanged(m_active);
    return true;
}

void RunGuard::finished(Run run)
{
    // A run being stopped ends through its stop.
    if (run == None || run != m_active || m_stopping)
        return;
    m_active = None;
    emit activeChanged(None);
}

RunGuard::Run RunGuard::stop(const QString &reason)
{
    const Run run = m_active;
    if (run == None)
        return None;
    if (m_stopping) {
        m_laterCauses << reason;
        return run;
    }
    m_stopping = true;
    emit stopRequested(run, reason);
    m_active = None;
    m_stopping = false;
    const QStringList later = m_laterCauses;
    m_laterCauses.clear();
    emit stopped(run, reason);
    for (const QString &cause : later)
        emit stopJoined(run, cause);
    emit activeChanged(None);
    return run;
}
