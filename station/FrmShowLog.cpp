#include "station/FrmShowLog.h"

#include "ui_FrmShowLog.h"

#include <QTextCursor>
#include <QTextDocument>

#include "app/Clock.h"

FrmShowLog::FrmShowLog(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::FrmShowLog>())
{
    ui->setupUi(this);
    setWindowTitle(tr("Log display interface"));
    ui->textEdit_ShowLog->setReadOnly(true);
    setMaximumLines(kDefaultMaxLines);
}

FrmShowLog::~FrmShowLog() = default;

QString FrmShowLog::text() const
{
    return ui->textEdit_ShowLog->toPlainText();
}

int FrmShowLog::lineCount() const
{
    return ui->textEdit_ShowLog->document()->blockCount();
}

void FrmShowLog::setMaximumLines(int lines)
{
    // The document drops its first paragraphs once it holds more than this many.
    ui->textEdit_ShowLog->document()->setMaximumBlockCount(lines);
}

void FrmShowLog::displayReceiveLog(QString line)
{
    // As plain text: a reply body or a file name is never taken for markup.
    QTextDocument *doc = ui->textEdit_ShowLog->document();
    QTextCursor cursor(doc);
    cursor.movePosition(QTextCursor::End);
    if (!doc->isEmpty())
        cursor.insertBlock();
    cursor.insertText(Clock::instance().now().toString("yyyy-MM-dd hh:mm:ss ") + line);
    ui->textEdit_ShowLog->moveCursor(QTextCursor::End);
}
