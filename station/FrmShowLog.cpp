#include "station/FrmShowLog.h"

#include "ui_FrmShowLog.h"

#include <QTimer>

#include "app/Clock.h"

FrmShowLog::FrmShowLog(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::FrmShowLog>())
{
    ui->setupUi(this);
    setWindowTitle(tr("Log display interface"));
    ui->textEdit_ShowLog->setReadOnly(true);
    ui->textEdit_ShowLog->setUndoRedoEnabled(false);
    setMaximumLines(kDefaultMaxLines);
}

FrmShowLog::~FrmShowLog() = default;

QString FrmShowLog::text()
{
    flush();
    return ui->textEdit_ShowLog->toPlainText();
}

int FrmShowLog::lineCount()
{
    flush();
    return ui->textEdit_ShowLog->document()->blockCount();
}

void FrmShowLog::setMaximumLines(int lines)
{
    flush();
    // The document drops its first paragraphs once it holds more than this many.
    m_maxLines = lines;
    ui->textEdit_ShowLog->setMaximumBlockCount(lines);
}

void FrmShowLog::displayReceiveLog(QString line)
{
    if (m_waiting.isEmpty())
        QTimer::singleShot(0, this, &FrmShowLog::flush);
    m_waiting << Clock::instance().now().toString("yyyy-MM-dd hh:mm:ss ") + line;
    // Lines the view would drop at once need not wait either.
    if (m_waiting.size() > 2 * m_maxLines)
        m_waiting.erase(m_waiting.begin(), m_waiting.end() - m_maxLines);
}

void FrmShowLog::flush()
{
    if (m_waiting.isEmpty())
        return;
    if (m_waiting.size() > m_maxLines)
        m_waiting.erase(m_waiting.begin(), m_waiting.end() - m_maxLines);
    // As plain text: a reply body or a file name is never taken for markup.
    QPlainTextEdit *view = ui->textEdit_ShowLog;
    view->appendPlainText(m_waiting.join('\n'));
    m_waiting.clear();
    view->moveCursor(QTextCursor::End);
}
