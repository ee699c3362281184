#include "station/FormWorkOrderDetails.h"

#include "ui_FormWorkOrderDetails.h"

#include <QDebug>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

namespace {
FormWorkOrderDetails::Answerer &answererSlot()
{
    static FormWorkOrderDetails::Answerer answerer;
    return answerer;
}
} // namespace

FormWorkOrderDetails::FormWorkOrderDetails(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::FormWorkOrderDetails>())
{
    ui->setupUi(this);
    setWindowTitle(tr("Work order information configuration"));
}

FormWorkOrderDetails::~FormWorkOrderDetails() = default;

void FormWorkOrderDetails::installAnswerer(Answerer answerer) { answererSlot() = std::move(answerer); }

void FormWorkOrderDetails::showAndWait()
{
    QEventLoop loop;
    connect(this, &FormWorkOrderDetails::signalInputParamFinished, &loop, &QEventLoop::quit);
    show();
    raise();
    activateWindow();
    if (answererSlot()) {
        QPointer<FormWorkOrderDetails> self(this);
        QTimer::singleShot(0, &loop, [self] {
            if (self && answererSlot())
                answererSlot()(*self);
        });
    }
    loop.exec();
}

void FormWorkOrderDetails::on_buttonBox_accepted()
{
    emit signalInputParam(ui->lineEdit_workOrderNum->text(), ui->lineEdit_operatorId->text(),
                          ui->lineEdit_equipment->text(), true);
    emit signalInputParamFinished();
}

void FormWorkOrderDetails::on_buttonBox_rejected()
{
    emit signalInputParam(QString(), QString(), QString(), false);
    emit signalInputParamFinished();
    qDebug() << "cancel";
}

void FormWorkOrderDetails::reject()
{
    const bool wasShown = isVisible();
    QDialog::reject();
    if (wasShown)
        on_buttonBox_rejected();
}
