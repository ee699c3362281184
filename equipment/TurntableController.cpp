#include "equipment/TurntableController.h"

LineTurntableController::LineTurntableController(QIODevice *device, QObject *parent)
    : TurntableController(parent), m_device(device) {}
bool LineTurntableController::open(QString *) { return false; }
void LineTurntableController::close() {}
bool LineTurntableController::isOpen() const { return false; }
void LineTurntableController::enable(TurntableAxis, bool) {}
void LineTurntableController::moveTo(TurntableAxis, double, double) {}
void LineTurntableController::spin(TurntableAxis, double) {}
void LineTurntableController::stop(TurntableAxis) {}
void LineTurntableController::requestStatus() {}
bool LineTurntableController::parseLine(const QByteArray &) { return false; }
QByteArray LineTurntableController::formatNumber(double v) { return QByteArray::number(v, 'f', 4); }
void LineTurntableController::sendLine(const QByteArray &) {}
void LineTurntableController::onReadyRead() {}
