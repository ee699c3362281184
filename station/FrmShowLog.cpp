#include "station/FrmShowLog.h"

#include "ui_FrmShowLog.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>

#include "app/Clock.h"

namespace {
// Lines wait at most this long to be put in the view together: a flood then costs one layout
// pass per batch, not one per line.
constexpr int kBatchMs = 50;
} // namespace

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
    m_maxLines = std::max(1, lines);
    dropOldest();
}

void FrmShowLog::dropOldest()
{
    // The oldest paragraphs go in an edit of their own: left to the document's block limit,
    // their removal and the new lines would be one change from the first line to the last,
    // and the view would lay out every line it holds again.
    QTextDocument *doc = ui->textEdit_ShowLog->document();
    const int excess = doc->blockCount() - m_maxLines;
    if (excess <= 0)
        return;
    QTextCursor cut(doc);
    cut.movePosition(QTextCursor::Start);
    cut.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, excess);
    cut.removeSelectedText();
}

void FrmShowLog::displayReceiveLog(QString line)
{
    if (m_waiting.isEmpty())
        QTimer::singleShot(kBatchMs, this, &FrmShowLog::flush);
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
    dropOldest();
    view->moveCursor(QTextCursor::End);
}
