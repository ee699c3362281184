#pragma once
// The main window: the page stack, the module link controls and the version labels.
#include <QLabel>
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <memory>

class AutoResize;
class DecodeDlg;
class Factory_735_Dlg;
class Factory_K350_Dlg;
class IMU_Screening_Dlg;
class MultiCalib;
#include "link/WorkerThread.h"

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Page indices of the stack.
    enum Page { PageDecode = 5, PageCalib = 9, PageScreening = 10, PageK350 = 11, Page735 = 12, PageCount = 14 };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    WorkerThread *worker() const { return m_worker; }
    MultiCalib *multiCalib() const { return m_multiCalib; }
    DecodeDlg *decodeDlg() const { return m_decode; }
    IMU_Screening_Dlg *screeningDlg() const { return m_screening; }
    Factory_K350_Dlg *k350Dlg() const { return m_k350; }
    Factory_735_Dlg *test735Dlg() const { return m_735; }
    QString versionText(int i) const;
    Ui::MainWindow *form() const { return ui.get(); }

    // Shows a page and selects it in the module selector.
    void showPage(int pageIndex);
    // Whether the main link is recording raw data, and what the operator is told about it.
    bool recording() const { return m_recording; }
    QString recordingStatus() const { return m_recordingStatus; }

signals:
    void signal_connect_serial_port(uint8_t on);
    void signal_clear_calib_multi_table();
    void cmd_start(uint32_t pageIndex);
    void signal_file_recoding(QString path, int on, int, int);

public slots:
    void on_pushButton_connect_clicked();
    void label_record_visible(uint8_t visible);
    void displayVersionValue(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint16_t,
                             uint8_t, uint8_t, uint8_t, uint32_t, uint32_t, uint32_t, uint32_t,
                             uint32_t, uint8_t);
    void displayVersionByOtherPages(QString, QString, QString, QString, QString, QString, QString,
                                    QString, QString, uint8_t mask);

private slots:
    void on_pushButton_refresh_clicked();
    void on_pushButton_mode_start_clicked();
    void on_pushButton_record_clicked();
    void on_comboBox_module_currentIndexChanged(int index);
    void rev_connect_result(bool ok);
    void rev_recording(bool on, QString text);
    void rev_link_lost(QString reason);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void init();
    void refreshPorts();
    void wirePages();
    void wireConsole();
    void unwireConsole();
    void closeLink();
    // The confirmed exit: every window closed, every worker retired, the event loop ended.
    void shutDown();
    // Shows the recording state: the button, the indicator and the reason in the status bar.
    void setRecordingState(bool on, const QString &status);

    // A retired link is given this long to let go of its port before the next one opens it.
    static constexpr int kPortReleaseMs = 2000;

    std::unique_ptr<Ui::MainWindow> ui;
    std::unique_ptr<AutoResize> m_autoResize;
    QList<QLabel *> m_versionLabels;
    DecodeDlg *m_decode = nullptr;
    MultiCalib *m_multiCalib = nullptr;
    IMU_Screening_Dlg *m_screening = nullptr;
    Factory_K350_Dlg *m_k350 = nullptr;
    Factory_735_Dlg *m_735 = nullptr;
    QPointer<WorkerThread> m_worker;
    bool m_linked = false;
    bool m_closingLink = false; // the console is closing its links (a run may be posting in its stop)
    bool m_recording = false;
    bool m_recordLabelWanted = true; // the console may hide the indicator on some of its pages
    QString m_recordingStatus;
    // The status-bar message that holds only while no link is open ("no link", "link lost"):
    // the next link that opens takes it away.
    QString m_noLinkMessage;
};
