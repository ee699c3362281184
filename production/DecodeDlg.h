#pragma once
// Page 5: offline decoding of recorded data files. The operator picks the source, the target
// naming and the decode type; each start makes a new decoder worker in a thread of its own,
// retires the previous one, and follows the worker's progress and status reports.
#include <QPointer>
#include <QThread>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

#include "production/WorkerThread_decode.h"

class AutoResize;
namespace Ui {
class DecodeDlg;
}

class DecodeDlg : public QWidget {
    Q_OBJECT
public:
    explicit DecodeDlg(QWidget *parent = nullptr);
    ~DecodeDlg() override;

    // The file dialogs (title, filter) -> chosen path, empty when cancelled. Tests replace them.
    using FileChooser = std::function<QString(QWidget *, const QString &, const QString &)>;
    static void setFileChoosers(FileChooser open, FileChooser save);

    WorkerThread_decode *worker() const { return m_worker; }
    // Stops a running decode at its next block and retires the worker; returns the worker's
    // thread (null without a worker), for a caller that waits for it to end.
    QPointer<QThread> retireDecoder();
    QString sourcePath() const { return m_source; }
    QString targetPath() const { return m_target; }

    // Target of naming mode 0: the source's file name cut at its first ".dat", plus ".txt".
    static QString targetForSource(const QString &source);

signals:
    void deleteObjAndNewNext();
    void signal_file_decode(QString source, QString target);

public slots:
    void on_pushButton_openfile_for_decode_clicked();
    void on_pushButton_start_decode_clicked();
    // Asks the running decode to stop; its "cancelled" report ends it on the page.
    void on_pushButton_cancel_decode_clicked();
    void rev_log_from_worker(uint8_t code, QString text);
    void init_auto_resize();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setButtonsEnabled(bool on);

    std::unique_ptr<Ui::DecodeDlg> ui;
    QString m_source;
    QString m_target;
    QPointer<WorkerThread_decode> m_worker;
    std::unique_ptr<AutoResize> m_autoResize;
};
