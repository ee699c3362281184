#pragma once
// A separate window that shows the console's log lines, each with its time stamp. It keeps
// the newest lines only: past the limit the oldest lines go. Lines are stamped as they arrive
// and put into the view together within 50 ms, as plain text, so a flood of lines costs the
// same per line however full the window is.
#include <QStringList>
#include <QWidget>

#include <memory>

namespace Ui {
class FrmShowLog;
}

class FrmShowLog : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultMaxLines = 5000;

    explicit FrmShowLog(QWidget *parent = nullptr);
    ~FrmShowLog() override;
    // The text and the number of lines shown, the lines still waiting included.
    QString text();
    int lineCount();
    void setMaximumLines(int lines);

public slots:
    // Appends "yyyy-MM-dd hh:mm:ss " and the line as a new paragraph and shows the newest line.
    void displayReceiveLog(QString line);

private:
    void flush();
    void dropOldest();

    std::unique_ptr<Ui::FrmShowLog> ui;
    QStringList m_waiting; // stamped lines not yet in the view
    int m_maxLines = kDefaultMaxLines;
};
