#pragma once
// A separate window that shows the console's forwarded log lines.
#include <QWidget>

#include <memory>

namespace Ui {
class FrmShowLog;
}

class FrmShowLog : public QWidget {
    Q_OBJECT
public:
    explicit FrmShowLog(QWidget *parent = nullptr);
    ~FrmShowLog() override;
    QString text() const;

public slots:
    void displayReceiveLog(QString line);

private:
    std::unique_ptr<Ui::FrmShowLog> ui;
};
