#pragma once
// Page 9: the multi-IMU calibration console. Links the rack's sixteen base boards and its
// equipment, turns the workers' reports into commands for every plate and shows every IMU's
// calibration record in per-plate tables, a summary table and three plots.
#include <QDate>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>

#include "link/DeviceProtocol.h"
#include "link/WorkerThreadStart.h"
#include "station/FormWorkOrderDetails.h"
#include "station/Settings.h"
#include "station/UploadPoster.h"
#include "station/multi_calib_cmd.h"
#include "station/PlateView.h"
#include "station/AdvancedCalibPlan.h"
#include "station/DcPowerFrames.h"
#include "station/WorkerDrain.h"
#include "station/RunGuard.h"
#include "station/TempScript.h"

class AutoResize;
class FrmShowLog;
class QComboBox;
class QCustomPlot;
class OpenLogFile;
class QFile;
class QPushButton;
class QTableWidget;
class QTimer;
class TableView;
class UploadOutbox;
class WorkerThread_DC_power;
class WorkerThread_Multi;
class WorkerThread_Replay;
class WorkerThread_ftp;
class WorkerThread_hothouse;
class WorkerThread_net;
class WorkerThread_turn_table;

namespace Ui {
class MultiCalib;
}

class MultiCalib : public QWidget {
    Q_OBJECT
public:
    explicit MultiCalib(QWidget *parent = nullptr);
    ~MultiCalib() override;

    static constexpr int kRackLinks = 15;
    enum AddTableWidgetType { TableWidgetTop = 1, TableWidgetBottom = 2 };

    Ui::MultiCalib *form() const { return ui.get(); }
    // The confirmed exit of the program: a run still going stops through its stop path, the
    // console's separate windows close and every worker of the console is retired; returns once
    // their threads have finished, or after waitMs.
    void shutDown(int waitMs);
    TableView *selectionGrid() const { return m_selectGrid; }
    FrmShowLog *logWindow() const { return m_logWindow; }
    multi_calib_cmd *commandPage() { return &m_cmdPage; }
    QTableWidget *plateTable(int plate) const { return m_plateTables.value(plate); }
    WorkerThread_Multi *rackWorker(int index) const;
    WorkerThread_turn_table *turnTableWorker() const;
    WorkerThread_net *netWorker() const;
    QString shieldMark(int plate, int imu) const { return m_shield_marks[size_t(plate)][size_t(imu)]; }
    uint32_t plateFailCount(int plate) const { return m_plate_fail_count[size_t(plate)]; }
    bool baseBoardReported(int plate) const { return m_plateReported[size_t(plate)]; }
    QString baseBoardIdentity(int plate) const { return m_plateIdentity[size_t(plate)]; }
    bool netReported() const { return m_netReported; }
    uint32_t turnTableStatusCount() const { return m_turnTableStatusCount; }
    int turnTableType() const { return m_turnTableType; }
    // Records of a plate taken into its table at the last refresh.
    uint64_t shownGeneration(int plate) const { return m_shownGeneration[size_t(plate)]; }

    // Chamber panel: the chamber log of the latest script run, opened by the script starts. A
    // script log holds the temperature script's tick lines, any other log the chamber's
    // temperature reports; each under its own header. The log is closed when the run ends.
    void create_hot_house_logfile(bool scriptLog = false);
    void close_hot_house_logfile();
    bool hotHouseLogOpen() const { return m_hotHouseLogOpen; }
    // Appends the script line of one tick of the temperature script to the chamber log.
    void write_hot_house_script_line(qint64 elapsedSeconds);
    QString hotHouseLogPath() const;
    QString dcPowerLogPath() const;
    WorkerThread_hothouse *hothouseWorker() const;
    WorkerThread_DC_power *dcPowerWorker() const;
    QTimer *hothouseScriptTimer() const { return m_hothouseScriptTimer; }
    QTimer *hothouseAdvancedTimer() const { return m_hothouseAdvancedTimer; }

    // Selection file (0-based plate and column).
    bool readSelectState(int plate, int column) const;
    void writeSelectState(int plate, int column, bool value);
    static void ensureConfigDir(const QString &folder);
    static void ensureSelectFile(const QString &path);
    QString selectFilePath() const { return m_selectFilePath; }

    QString get_string_calib_status(int number) const;

    // Station settings, work order and the production-data upload.
    Settings *settingsDialog() { return &m_settings; }
    FormWorkOrderDetails *workOrderDialog() { return &m_workOrder; }
    QString workOrderNumber() const { return m_workOrderNum; }
    QString operatorId() const { return m_operatorId; }
    QString equipment() const { return m_equipment; }
    bool workOrderConfirmed() const { return m_workOrderConfirmed; }
    QString uploadStartTime() const { return m_uploadStartTime; }
    QString uploadEndTime() const { return m_uploadEndTime; }
    const CalibUploadTable &uploadTable() const { return *calibUploadTable; }
    const UploadOutcome &lastUpload() const { return m_lastUpload; }
    // Bodies kept until the service has taken them.
    UploadOutbox *uploadOutbox() const { return m_outbox; }
    // Empty while every upload result is on disk; else a line for the exit box naming the
    // results held only in memory.
    QString heldUploadsNote() const;
    QByteArray buildJsonFullTemperature();
    QByteArray buildJsonTurntable();
    QByteArray buildJsonStaticAllan();
    QByteArray buildJsonTemperatureRetest();
    QByteArray buildJsonAdvancedAllan();
    QByteArray buildJsonAdvancedCalibration();
    // Calibration-flag verdicts.
    QString get_string_calib_flag(uint number) const;
    int aliveImuCount() const { return m_alive_imu_count; }

    // Temperature script and advanced chamber-turntable run.
    enum AdvancedCalibType { AdvancedCalibOnly = 1, AdvancedRetestOnly = 2, AdvancedCalibAndRetest = 3 };
    // Tick length and the scale of every other wait of the two scripts (tests shorten both).
    void setScriptTiming(int tickMs, double waitScale) { m_scriptTickMs = tickMs; m_scriptWaitScale = waitScale; }
    const ChamberScriptState &chamberScriptState() const { return m_chamberScript; }
    bool chamberScriptRunning() const { return m_hothouseScriptTimerRunning; }
    // The chamber's poll period (2000 ms; tests shorten it). A chamber silent for longer than
    // the silence bound stops a run: the chamber is not answering. The bound is the settings
    // key "hothouse/silence_limit_s" (seconds, 60), never shorter than one poll period.
    void setChamberPollMs(int ms) { m_chamberPollMs = ms; }
    // A stored bound above one day or that is no number is refused once with a log line.
    int chamberStaleLimitMs();
    // A steady clock in ms, and whether no chamber temperature came for longer than the stale
    // limit, counted from the later of the last temperature and the run's start (that clock).
    // Each poll missed before is a log line.
    static qint64 monotonicMs();
    bool chamberNotAnswering(qint64 runStartMs);
    // The chamber temperature the page shows, for a run started at runStartMs: NaN (it reaches
    // no target) when the display is empty, is no number or dates from before the run.
    double shownChamberTemperature(qint64 runStartMs);
    // Stops a running temperature script through the run guard's stop path (no-op otherwise);
    // chamberStopSent: the chamber was already told to stop.
    void stopChamberScript(const QString &reason, bool chamberStopSent = false);
    // A start's link check: true when every link the run needs is up, else a log line and a box
    // naming the missing links ("Cannot start: not linked: chamber, DC supply").
    bool runLinksUp(RunGuard::Run run);
    bool chamberScriptRetestRun() const { return m_chamberScriptRetest; }
    const AdvancedCalib::RunState &advancedRunState() const { return m_advancedRun; }
    uint32_t advancedRunEstimate() const { return m_advancedEstimate; }
    bool advancedSequencePending() const;

    // Long runs: one at a time, one stop path (MultiCalibRuns.cpp). A start calls beginRun
    // (false: another run is active, a box said so), a run that ended by itself finishRun;
    // stopActiveRun stops whatever runs.
    RunGuard *runGuard() { return &m_runs; }
    bool refuseWhileRunning();
    bool beginRun(RunGuard::Run run);
    void finishRun(RunGuard::Run run);
    // The RunGuard::Link bits of the links that are up now.
    int linksUp() const;

    // Operator actions, tab pages and the replay.
    bool isAdminMode() const { return m_isAdminMode; }
    bool oneClickRunning() const { return m_oneClickRunning; }
    WorkerThread_ftp *ftpWorker() const;
    bool ftpUploadRunning() const { return m_ftpRunning; }
    WorkerThread_Replay *replayWorker() const;
    bool replayStopped() const { return m_replayStopped; }
    void addItemToTableWidgetTop(QString name);
    void addItemToTableWidgetBottom(QString name);
    void calcBeforeTabTopCount(int &index, QString name);
    void calcBeforeTabBottomCount(int &index, QString name);
    int calcInsertIndex(QString name, AddTableWidgetType type);
    QString getCurTableWidgetName(int index);
    void removeConfigPage();
    bool check_mother_board_sn_unique();
    int judge_turn_table_is_enabled_x(uint16_t status);
    int judge_turn_table_is_enabled_y(uint16_t status);

public slots:
    // Main window and workers.
    void display_calib_multi();
    void clear_calib_multi_table();
    void rev_log_from_worker(uint8_t code, QString text);
    void rev_signal_send_zhuantai_status(int32_t innerPos, int32_t innerRate, uint16_t innerStatus,
                                         int32_t outerPos, int32_t outerRate, uint16_t outerStatus);
    void setBtnStyleSheet(int index);
    void connect_serial_port(uint8_t on);
    void cmd_start(uint32_t pageIndex);

    // Links.
    void connectIsOk_Worker_Multi(int index, bool ok);
    void connectIsOk_Worker_turn_table(bool ok);
    // The supply's read-back after each switch of a control code.
    void supplySwitchReadBack(int on, bool confirmed);
    // The supply's read-back after the panel's manual switch.
    void supplyManualSwitchReadBack(int on, bool confirmed);
    // The supply's word on a code it sent to the plates: taken when every reporting IMU showed it.
    void platesTookCode(uint16_t code, bool taken);
    // The turntable worker's end of a sequence it was asked for by code (the one-click run's).
    void oneClickSequenceEnded(uint8_t commonCode);
    void connectIsOk_Worker_net(bool ok);
    void connectIsOk_Worker_hothouse(bool ok);
    void connectIsOk_DC_power(bool ok);
    // A link whose device went away (its port closed itself): the flag is cleared, the log
    // window says so, and the next connect opens the link again.
    void linkLost_main(QString reason);
    void linkLost_Worker_Multi(int index, QString reason);
    void linkLost_Worker_turn_table(QString reason);
    void linkLost_Worker_net(QString reason);
    void linkLost_Worker_hothouse(QString reason);
    void linkLost_DC_power(QString reason);
    void on_pushButton_connect_renew_com_ports_clicked();
    void on_pushButton_connect_save_current_port_index_clicked();
    void setAdjustToContentOfComboBox(QComboBox *combo);
    void setViewAndItemDelegate(QComboBox *combo);
    void on_tabWidget_bottom_currentChanged(int index);
    void on_pushButton_ReadLastSelectState_clicked();
    void on_pushButton_SaveSelectState_clicked();

    // Result tables.
    void init_calib_multi_plot();
    void calib_multi_ackTimeout();
    void calib_multi_table(int table_index);
    void calib_multi_table_total(int comboBoxCalibMultiTotalCurrentIndex);
    void calib_multi_table_total();
    void check_total_imu_num_alive();
    void checkCalibFlagResult();
    void fill_item_and_check_pass_or_fail_for_total(int table_index, int line);
    void on_comboBox_calib_multi_total_currentIndexChanged(int index);
    void init_auto_resize();

    // Operator actions wired here.
    void on_pushButton_ShowLog_clicked();
    void onSignalSendMsg(QString text);
    void on_comboBox_neihuan_manual_currentIndexChanged(int index);
    void on_comboBox_waihuan_manual_currentIndexChanged(int index);
    void on_comboBox_TurnTableType_currentIndexChanged(int index);
    void on_pushButton_neihuan_enable_advanced_clicked();
    void on_pushButton_waihuan_enable_advanced_clicked();
    void on_pushButton_neihuan_unEnable_advanced_clicked();
    void on_pushButton_waihuan_unEnable_advanced_clicked();
    void heat_box_end();

    // Temperature compensation and retest script.
    void on_pushButton_hothouse_cmd_auto_include_dc_control_clicked();
    void on_pushButton_temperature_retest_clicked();
    void _ackTimeout_hothouse_ctrl_normal();
    bool judge_imu_alive_and_reached_calib_temprature();
    void calc_total_run_time_fun();
    void DC_POWER_OFF_function();
    // Advanced chamber-turntable run.
    void start_heat_box_thread();
    void heat_box_constant_heat_rotate();
    void _ackTimeout_hothouse_ctrl_advanced();
    void log_heatBox(QString text);
    uint32_t get_keep_heat_time();
    uint32_t calc_turntable_calib_time();
    uint32_t calc_turntable_retest_time();
    void calc_total_advanced_calib_retest_run_time_fun(MultiCalib::AdvancedCalibType type);
    // The turntable worker's end of a constant-temperature rotation: completed or not, and why.
    void rev_turn_table_rotated_times(bool completed = true, QString reason = QString());
    void _ackTimeout_reboot_auto_request_stream();
    void on_pushButton_neihuan_control_manual_clicked();
    void on_pushButton_waihuan_control_manual_clicked();
    void on_pushButton_neihuan_control_stop_manual_clicked();
    void on_pushButton_waihuan_control_stop_manual_clicked();
    void on_pushButton_mode_switch_clicked();
    void on_button_uploadAllTemp_clicked();
    void on_button_noHotHouseUpload_clicked();
    void on_button_commonAllanUpload_clicked();
    void on_button_tempRetest_clicked();
    void on_button_advAllanUpload_clicked();
    void on_button_AdvCalibUpload_clicked();
    void init_ftp();
    // The FTP log upload: once at start-up and once a day when a server is set, and by hand.
    void ftpDailyCheck();
    void on_pushButton_ftpUpload_clicked();
    // Posts the waiting results again, oldest first.
    void on_pushButton_resendUploads_clicked();
    void showWaitingUploads(int count);
    void on_pushButton_remove_tableWidget_top_clicked();
    void on_pushButton_add_tableWidget_top_clicked();
    void onSignalReadStop(bool stopped);
    // Sets plate 1's link flag while the replay reads; when it stops the flag follows the
    // main link.
    void replayHoldsPlateOne(bool hold);
    // The main window's device link opened or closed (whatever page it was made on): plate
    // 1's link flag follows it, except while a replay holds plate 1.
    void setMainLinkOpen(bool open);

    // Actions whose runs are built elsewhere (advanced calibration, replay, uploads, the
    // one-click run, chamber and supply panels); they are wired now and do nothing yet.
    void on_pushButton_one_click_calib_clicked();
    bool addWorkOrderDetailsDalig();
    void exectuePosMethod(uint8_t station);
    void onSignalInputParam(QString, QString, QString, bool);
    void onHorizontalSliderValueChanged(int value);
    void onHorizontalSliderReleased();
    void show_heat_value(float celsius);
    // Chamber and DC supply panels.
    void on_pushButton_hothouse_cmd_stop_clicked();
    void on_pushButton_hothouse_cmd_set_slope_manual_clicked();
    void show_set_heat_value(float celsius);
    void show_slope_value(float perMinute);
    void on_pushButton_dc_power_supply_ON_OFF_clicked();
    // Enables or disables together the two chamber-script start buttons.
    void setChamberScriptButtonsEnabled(bool enabled);
    void init_hot_house_Widget();
    void init_dc_power_Widget();
    void initTableWidgetFormConfig();
    // The one stop path of every run: ends the active run within one tick, stops what it
    // started, frees the start buttons and writes one log line; never uploads.
    void stopActiveRun(QString reason);

public:
    // Actions connected by pointer or called by other console code. They are no slots: no
    // widget of the form carries the name that connecting them by name would look for.
    void on_clicked_pushButton_connect_calib_multi_serial(int index);
    void on_clicked_pushButton_connect_calib_multi_turn_table();
    void on_clicked_pushButton_connect_calib_multi_net();
    void on_clicked_pushButton_connect_calib_hot_house_ctrl();
    void on_clicked_pushButton_connect_dc_power_ctrl();
    void on_pushButton_show_cmd_page();
    void on_pushButton_show_setting_page();
    void on_pushButton_advanced_retest_started_from_thread();
    void on_pushButton_calib_multi_acc_calib_start_clicked();
    void on_pushButton_calib_multi_gyro_calib_start_clicked();
    void on_pushButton_advanced_calib();
    void on_pushButton_advanced_calib_retest();
    void on_pushButton_advanced_retest();
    void on_clicked_pushButton_log_replay();
    void on_clicked_pushButton_log_replay_setting_all();
    void on_clicked_pushButton_log_replay_setting_fast();
    void on_clicked_pushButton_log_replay_setting_middle();
    void on_clicked_pushButton_log_replay_setting_slow();
    void on_clicked_pushButton_log_replay_setting_pause();
    void on_clicked_pushButton_log_replay_setting_continue();
    void on_pushButton_hothouse_cmd_start_clicked();
    void on_pushButton_hothouse_cmd_set_target_temp_clicked();
    void on_pushButton_hothouse_cmd_read_target_temp_clicked();
    void on_pushButton_hothouse_cmd_read_slope_clicked();

signals:
    void signal_auto_log_imu(uint8_t on);
    void Send_QString_times(QString text);
    // A run stopped: every link drops the command repeats it still has due.
    void signal_drop_pending_repeats();
    void Send_CMD_LONG_SIGNAL(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3, uint32_t cm4,
                              int32_t cm5, int32_t cm6);
    void Send_CMD_LONG_SIGNAL_times(uint16_t cmd_id, float cm1, float cm2, uint32_t cm3,
                                    uint32_t cm4, int32_t cm5, int32_t cm6);
    void signal_label_record_visible(uint8_t visible);
    void signal_file_recoding(QString path, int on, int, int);
    void signal_sendVersionValue(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                 uint16_t, uint8_t, uint8_t, uint8_t, uint32_t, uint32_t,
                                 uint32_t, uint32_t, uint32_t, uint8_t);
    void signal_log(uint8_t code, QString text);
    void signal_log_from_multi_calib(uint8_t code, QString text);
    void signalTranspondLog(QString line);
    void signal_common_cmd(uint8_t code);
    void signal_send_turn_table_cmd_general(uint8_t code, float p1, float p2, float p3);
    void signal_send_turn_table_rotate_side_to_side(float step, float staticTime);
    void signal_turn_table_reset_rotated_times();
    void signal_turnTable_constant_heat_rotate();
    void hothouse_set_target_temp(int16_t t);
    void hothouse_cmd_read_slope();
    void hothouse_cmd_set_slope(uint8_t s);
    void hothouse_read_target_temp();
    void hothouse_generate_start_stop_cmd(uint8_t on);
    void signal_send_modbus_mutex(QByteArray frame, int tag);
    void dc_control_cmd(uint16_t code);
    void deleteObjAndNewNext_Worker_multi();
    void deleteObjAndNewNext_Worker_turn_table();
    void deleteObjAndNewNext_Worker_net();
    void deleteObjAndNewNext_Worker_hothouse();
    void deleteObjAndNewNext_Worker_dc_power();
    void signal_closePort_Worker_Multi();
    void signal_closePort_Worker_turn_table();
    void signal_closePort_Worker_net();
    void signal_closePort_hothouse();
    void signal_closePort_dc_power();
    void deleteObjAndNewNext_Worker_ftp();
    void deleteObjAndNewNext_Worker_replay();
    void signal_closePort_Worker_Replay();
    void signal_SliderValueChanged();
    void signal_readFileAgain();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void makeConnections();
    QList<QComboBox *> portCombos() const;
    // Copies a plate's computed view into its table, touching only cells that changed.
    void applyPlateView(int plate, const PlateTableView &view);
    void setCell(QTableWidget *t, int row, int column, const CellView &cell);
    void refreshTables();
    // After each table refresh: the live count, the flag verdicts and the statistics.
    void refreshVerdicts();
    // Marks the IMUs of a plate that report in the snapshot as seen.
    void noteReportingImus(int plate, const PlateSnapshot &snap);
    // Forgets what was seen (a plate linked anew, a run begins) and notes who reports now.
    void resetSeenImus(int plate);
    void newSourceForPlateOne();
    void updatePlots(double t);
    void broadcast(uint16_t cmd, uint32_t cm3 = 0);
    void frameWarning(uint16_t status);
    void appendStamped(const QString &text, bool autoPage, bool advancedPage);
    // A link's retired worker is given this long to let go of its port before its successor
    // opens the same port.
    static constexpr int kPortReleaseMs = 2000;
    // At the program's exit and when every link closes the chamber's last commands get this
    // long to be answered.
    static constexpr int kChamberStopWaitMs = 1500;
    void letChamberTakeItsStop(int waitMs);
    // The manual turntable and chamber buttons: false, after telling the operator which link
    // to open, while that link is closed.
    bool turnTableLinkedOrWarn();
    bool chamberLinkedOrWarn();

    std::unique_ptr<Ui::MultiCalib> ui;
    std::unique_ptr<AutoResize> m_autoResize;
    multi_calib_cmd m_cmdPage;
    Settings m_settings;
    FormWorkOrderDetails m_workOrder;
    FrmShowLog *m_logWindow = nullptr;
    TableView *m_selectGrid = nullptr;
    QTimer *m_ackTimer = nullptr;

    QVector<QPointer<WorkerThread_Multi>> m_multiWorkers;
    QVector<bool> m_rackWanted; // a connect is under way or the link is up
    QList<QTableWidget *> m_plateTables;
    QList<QComboBox *> m_rackPortCombos;
    QList<QCustomPlot *> m_plots;
    QPointer<WorkerThread_turn_table> m_turnTableWorker;
    QPointer<WorkerThread_net> m_netWorker;
    QPointer<WorkerThread_hothouse> m_hothouseWorker;
    QPointer<WorkerThread_DC_power> m_dcWorker;
    // The serial of each link's worker made last (one a rack link); each worker's reports carry
    // the serial it was made with (see whileCurrent).
    quint64 m_turnTableSerial = 0, m_netSerial = 0, m_hothouseSerial = 0, m_dcSerial = 0;
    std::array<quint64, kRackLinks> m_rackSerials{};

    // The console acts only on the current worker of a link. A worker's report still queued
    // when the worker was retired cannot be told by its sender: a worker made after a retired
    // one may sit at the address that one had, and a released one's address names nothing at
    // all. So the link's serial counts the workers made (`newest`, raised just before this
    // call), each connection from a worker holds the serial its worker was made with, and a
    // report runs `slot` (a slot of the console or a callable) only while that serial is the
    // newest.
    template <class Slot> auto whileCurrent(const quint64 &newest, Slot slot)
    {
        return [this, &newest, made = newest, slot](auto... report) {
            if (made != newest)
                return;
            if constexpr (std::is_member_function_pointer_v<Slot>)
                (this->*slot)(report...);
            else
                slot(report...);
        };
    }
    bool m_turnTableWanted = false, m_netWanted = false, m_hothouseWanted = false, m_dcWanted = false;

    std::array<bool, kPlates> m_plateReported{};
    std::array<QString, kPlates> m_plateIdentity;
    bool m_netReported = false;
    OpenLogFile *m_dcLogFile = nullptr; // opened by the supply panel; code 77 writes to it
    bool m_dcLogFailed = false;   // a supply log line could not be written (marked on the page)
    void writeDcPowerLogLine(const QString &time, const QString &line);
    int m_supplyConfirmedOn = -1; // the output the supply last confirmed: 1 on, 0 off, -1 none yet
    // The supply page's and a stop's words for that state.
    QString supplyOutputText() const;
    void showSupplyConfirmed(int on);
    void readDcModel();

    // Chamber panel: the ticks of the temperature script and of the advanced run (1000 ms,
    // started by the scripts), and the chamber log that temperature reports add to once opened.
    QTimer *m_hothouseScriptTimer = nullptr;
    QTimer *m_hothouseAdvancedTimer = nullptr;
    bool m_hothouseScriptTimerRunning = false;
    bool m_hothouseAdvancedTimerRunning = false;
    OpenLogFile *m_hotHouseLogFile = nullptr;
    bool m_hotHouseLogOpen = false;
    bool m_hotHouseScriptLog = false; // the open log takes script lines, not reports
    bool m_hotHouseLogFailed = false; // a chamber log line could not be written (marked)
    void appendHotHouseLog(const QString &line);
    void markLogFailure(bool chamber, const QString &why);
    int m_chamberPollMs = 2000;
    QString m_refusedSilenceLimit; // the refused bound already told in the log
    qint64 m_chamberTempAtMs = -1; // monotonic time of the last chamber temperature, -1 none
    qint64 m_chamberMissedPolls = 0; // polls missed in the present silence, each told once

    // Result tables.
    std::array<std::array<QString, kImusPerPlate>, kPlates> m_shield_marks;
    std::array<uint32_t, kPlates> m_plate_fail_count{};
    std::array<std::array<uint32_t, kImusPerPlate>, kPlates> m_last_i2c_loss{};
    // After a clear the packet-loss reference of a plate follows its counts until a record
    // arrives after the clear (generation other than m_clearedGeneration): the counts a module
    // keeps reporting are not new losses.
    std::array<bool, kPlates> m_lossRebase{};
    std::array<uint64_t, kPlates> m_clearedGeneration{};
    bool clearedAndNoRecordSince(int plate) const;
    std::array<uint64_t, kPlates> m_shownGeneration{};
    std::array<PlateTableView, kPlates> m_shownCells; // what each plate table holds
    std::array<bool, kPlates> m_shownValid{};
    int m_total_kind = 30;
    int m_alive_imu_count = 0;
    // The IMUs seen reporting since their plate linked or the run began: an IMU that falls
    // silent stays judged by the verdicts and the upload.
    std::array<std::array<bool, kImusPerPlate>, kPlates> m_imuSeen{};
    std::array<uint64_t, kImusPerPlate> m_row_values{};
    int64_t m_startMs = 0;
    int64_t m_lastDisplayMs = -1000000, m_lastPlotDataMs = -1000000, m_lastPlotScrollMs = -1000000,
            m_lastTableMs = -1000000;
    bool m_imuPageInserted = false;
    // The plate (0 to 15) whose table a page of the bottom tabs holds; -1 for other pages.
    int plateOfPage(const QWidget *page) const;

    // Reports.
    uint32_t m_turnTableStatusCount = 0;
    bool m_frameWarningOpen = false;

    // Long runs.
    void initRuns();
    QList<QPushButton *> runStartButtons() const;
    void applyRunButtons(RunGuard::Run active);
    // Stops the active run when it needs one of the links (RunGuard::Link bits).
    void stopRunsNeeding(int links, const QString &reason);
    void stopRunsWithoutPlates(const QString &reason);
    // Stops the active run (reason in the log line), then the alarm and a box: what failed,
    // that the run is stopped, and what became of its results.
    void stopRunWithAlarm(const QString &reason, const QString &what);
    // The end box and log note of a run's results: "nothing is uploaded", or when they were
    // posted and whether the service took them or they wait in the outbox.
    QString runPostNote(RunGuard::Run run) const;
    // The alarm of a run that ends with no IMU judged (its box; the log line is the same text);
    // nothing posted.
    static QString noModuleReportedText(RunGuard::Run run);
    void alarmNoModuleReported(RunGuard::Run run);
    // The post of the script's or the advanced run's results. It is due once the modules have
    // taken the run's last code (the supply's word on it) and every plate with reporting IMUs
    // has reported after that; the run's own end and a stop post at once what was last
    // reported. Made once; nothing is posted when no IMU is judged.
    struct RunPost {
        // AwaitingShown: the supply gave up on the end code; the post waits for every reporting
        // module to show it (or the run's end, or a stop).
        enum State { None, AwaitingCode, AwaitingShown, AwaitingReports, Posted, NothingToPost };
        State state = None;
        RunGuard::Run run = RunGuard::None;
        uint8_t station = 0;
        uint32_t expectedFlag = 0;
        uint16_t endCode = 0;   // the run's last code to the plates (0: none to wait for)
        int endCodeIndex = 0;   // which sending of an end code in this run it is
        bool confirmed = false; // the modules took it
        std::array<int64_t, kPlates> reportsAt{}; // each plate's report count when the wait began (-1: not waited for)
        QString postedAt;         // when the post was sent
        bool inFlight = false;    // the post waits for the service now
        bool sent = false;        // its request has gone out (postedAt is when)
        bool answered = false;    // the outcome below is known
        bool outcomeOwed = false; // a line said "being posted": the outcome is told when known
        UploadOutcome outcome;
    };
    RunPost m_runPost;
    // The manual supply switch's button follows g_dc_power_on.
    void showManualSwitchState();
    // The supply's set-point as the page holds it: its two fields and the chosen model, checked
    // by the rule every switch-on follows (DcPower::checkSetPoint).
    DcPower::SetPoint readSupplySetPoint() const;
    // A run's start or a manual switch: the page's set-point, checked by the rule. A run's
    // refusal is a log line and a box naming the field, its value and the rule. The manual
    // switch on its way on tells a wrong voltage, asks at 31 V, then tells an unknown model,
    // each with its own warning, and only then refuses the current by the rule. False when
    // nothing may be switched.
    bool supplySetPointAccepted(DcPower::SetPoint &out, bool forRun = true);
    // The one writer of the frame every switch-on carries: a checked set-point becomes it, and
    // its values are stored as the page's. A manual switch during a run that uses the supply
    // leaves the run's frame alone.
    void useSupplySetPoint(const DcPower::SetPoint &p, bool byRun);
    // A run has begun: its checked set-point is used and told ("DC supply for this run: ...").
    void startRunSupply(const DcPower::SetPoint &p);
    bool m_closingAllLinks = false;
    // A stopped run's supply codes are let go: the supply's codes to the modules sent before
    // it heard of it are dropped.
    void abandonSupplyCodes();
    WorkerDrain m_supplyCodes; // dropped while every link is being closed (a run's stop may be posting)
    int m_endCodesSent = 0, m_endCodesAnswered = 0; // the script's 56003/58003 sent and answered by the supply
    uint16_t m_lastEndCodeSent = 0;
    static bool isEndCode(uint16_t code) { return code == 56003 || code == 58003; }
    void armRunPost(RunGuard::Run run, uint8_t station, uint32_t expectedFlag, uint16_t endCode);
    void waitForReportsAfterNow();
    // Posts once every plate waited for has reported after the end code was settled.
    void checkRunPost();
    // Posts now what the modules last reported (the run's end, a stop); the log says whether the
    // end code was confirmed.
    void forceRunPost();
    void makeRunPost(const QString &logLine);
    // Every module reporting on a linked plate (not shielded) shows the code now; false when none reports.
    bool reportingModulesShow(uint16_t code);
    // The line of a run that has nothing to post: no module reported, or the plates were lost.
    QString nothingPostedText(RunGuard::Run run);
    // IMUs judged by the verdicts now (linked plates, not shielded, reporting or seen).
    int judgedImus();
    // A ramp phase that went on past its bound stops the run (alarm and box); true when it did.
    bool chamberMissedSetPoint(const TempScript::RampBound &bound, uint32_t secondsInPhase);
    bool advancedSetPointMissed(double tc);
    qint64 m_advancedWaitKey = -1;     // the run, step and phase of the wait counted
    uint32_t m_advancedWaitTicks = 0;  // its ticks so far
    double m_advancedWaitFrom = 0;     // the chamber temperature it began at
    void plateLinkGone(int plate, const QString &reason);
    void onRunStopRequested(RunGuard::Run run, const QString &reason);
    void stopTemperatureScriptRun(const QString &reason);
    void stopAdvancedRun();
    void requestRotation();
    // A rotation that did not complete stops the run: log line, alarm and box, no upload.
    void rotationFailed(const QString &reason);
    RunGuard m_runs;

    // Temperature script and advanced run.
    void startChamberScript(bool retestOnly);
    TempScript::RackView rackView() const;
    void applyScriptActions(const QVector<ScriptAction> &actions);
    void finishChamberScript();
    // The largest slope the linked (or next) chamber takes; a larger one is refused with a box.
    int chamberMaxSlope() const;
    bool slopeFitsChamber(int perMinute);
    void runAdvancedStepEnd(AdvancedCalib::StepEnd end);
    // Runs the steps one after another, each after its wait (scaled); a newer sequence or a
    // stopped advanced timer abandons the rest.
    void runAdvancedSequence(QList<QPair<int, std::function<void()>>> steps, bool needsTimer);
    int scaledMs(int ms) const;
    void startAdvancedTimer();
    void startAdvancedCalibration(bool withRetest);
    QList<QPair<int, std::function<void()>>> retestStartSteps();
    uint32_t m_advancedCalibDate = 0;
    int m_scriptTickMs = 1000;
    double m_scriptWaitScale = 1.0;
    ChamberScriptState m_chamberScript;
    bool m_chamberScriptRetest = false;
    qint64 m_chamberScriptStartMs = 0; // monotonic time of the script's start
    qint64 m_advancedRunStartMs = 0;   // monotonic time of the advanced run's start
    bool m_dcOffPending = false;       // the switch-off a minute after the start is still due
    bool m_chamberStopSent = false;    // during a stop: the chamber was told to stop already
    AdvancedCalib::RunState m_advancedRun;
    uint32_t m_advancedEstimate = 0;
    uint32_t m_turntableCalibSum = 0, m_turntableRetestSum = 0;
    uint32_t m_advancedSequenceId = 0;
    int m_advancedPendingSteps = 0;
    int m_turnTableType = 0;
    int m_bottomTabIndex = 0;

    QString m_configDir;
    QString m_selectFilePath;
    bool m_selectionReadOnce = false;
    QList<QPushButton *> m_replayButtons;
    QString m_normalButtonStyle;

    // Operator actions and the replay.
    bool m_isAdminMode = false;
    QPointer<WorkerThread_ftp> m_worker_ftp;
    QPointer<WorkerThread_Replay> m_replayWorker;
    bool m_replayStopped = false; // a seek pass stopped; continue may resume
    bool m_replayHoldsLink = false; // the replay reads: plate 1 shows the recording
    bool m_mainLinkOpen = false;    // the main window's device link is open
    void manualUpload(uint8_t station, const char *debugLine);
    // The one-click run: its button is grey while it lasts; any end of it frees the button.
    bool m_oneClickRunning = false;
    static constexpr uint8_t kOneClickCommonCode = 2; // the turntable's calibration and retest
    void setOneClickRunning(bool running);
    void endOneClickRunOn(uint8_t code, const QString &text);
    void endOneClickRun();
    void stopOneClickRun();
    // A stopped run's turntable sequence is let go: its stage codes, 62, 59 and its end the
    // worker sent before it heard of the stop are dropped until its word comes back behind them.
    void dropStoppedSequenceReports();
    // The turntable's reports that act for a run: the stage codes to the modules, the end post
    // and the failure box.
    static bool isSequenceReport(uint8_t code);
    bool stoppedSequenceReport(uint8_t code) const;
    WorkerDrain m_sequenceReports;

    // Log window, outbox and FTP schedule.
    void initLogAndUploads();
    void startFtpUpload(bool byHand);
    void wireFtpWorker(WorkerThread_ftp *worker);
    // Empty after an upload the service took; else a second line for an end-of-run box that
    // tells how many results wait on disk.
    QString uploadStateNote() const;
    // "<name> link opened" or "<name> link failed to open" from a worker's open report.
    void logLinkOpen(const QString &name, bool ok);
    UploadOutbox *m_outbox = nullptr;
    QTimer *m_ftpTimer = nullptr;
    bool m_ftpRunning = false;
    QDate m_lastFtpDay;

    // Work order and upload.
    QByteArray buildStationBody(uint8_t station);
    QString uploadPlatesLine(uint8_t station) const;
    QString m_workOrderNum, m_operatorId, m_equipment;
    bool m_workOrderConfirmed = false;
    QString m_uploadStartTime, m_uploadEndTime;
    std::unique_ptr<CalibUploadTable> calibUploadTable = std::make_unique<CalibUploadTable>();
    UploadOutcome m_lastUpload;
};
