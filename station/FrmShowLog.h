#pragma once
// A separate window that shows the console's log lines, each with its time stamp. It keeps
// the newest lines only: past the limit the oldest lines go.
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
    QString text() const;
    int lineCount() const;
    void setMaximumLines(int lines);

public slots:
    // Appends "yyyy-MM-dd hh:mm:ss " and the line as a new paragraph and shows the newest line.
    void displayReceiveLog(QString line);

private:
    std::unique_ptr<Ui::FrmShowLog> ui;
};
