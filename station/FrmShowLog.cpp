#include "station/FrmShowLog.h"

#include "ui_FrmShowLog.h"

#include <QTextCursor>

FrmShowLog::FrmShowLog(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::FrmShowLog>())
{
    ui->setupUi(this);
    setWindowTitle(tr("Log display interface"));
}

FrmShowLog::~FrmShowLog() = default;

QString FrmShowLog::text() const
{
    return ui->textEdit_ShowLog->toPlainText();
}

void FrmShowLog::displayReceiveLog(QString line)
{
    ui->textEdit_ShowLog->append(line);
    ui->textEdit_ShowLog->moveCursor(QTextCursor::End);
}
