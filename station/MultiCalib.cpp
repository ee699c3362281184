#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QDebug>
#include <QFile>
#include <QResizeEvent>

#include "app/AutoResize.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/SoundPlayer.h"
#include "station/AutoTurnTableTestType.h"
#include "station/ConsoleLogic.h"
#include "station/FrmShowLog.h"
#include "station/TableView.h"

namespace {
const char *kNormalButtonStyle =
    "QPushButton{color:rgb(0, 85, 255);border-color:rgb(122, 122, 122);border-width: 1px;"
    "border-style: solid;border-radius:5px;background-color:transparent;}"
    "QPushButton:hover{color:rgb(0, 170, 0);}"
    "QPushButton:pressed{background-color:rgba(0, 170, 255,30);}";
}

MultiCalib::MultiCalib(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::MultiCalib>()), m_multiWorkers(kRackLinks),
      m_rackWanted(kRackLinks, false)
{
    ui->setupUi(this);
    m_plateTables = {ui->tableWidget_calib_multi1,  ui->tableWidget_calib_multi2,  ui->tableWidget_calib_multi3,
                     ui->tableWidget_calib_multi4,  ui->tableWidget_calib_multi5,  ui->tableWidget_calib_multi6,
                     ui->tableWidget_calib_multi7,  ui->tableWidget_calib_multi8,  ui->tableWidget_calib_multi9,
                     ui->tableWidget_calib_multi10, ui->tableWidget_calib_multi11, ui->tableWidget_calib_multi12,
                     ui->tableWidget_calib_multi13, ui->tableWidget_calib_multi14, ui->tableWidget_calib_multi15,
                     ui->tableWidget_calib_multi16};
    m_rackPortCombos = {ui->comboBox_calib_multi_serial2,  ui->comboBox_calib_multi_serial3,  ui->comboBox_calib_multi_serial4,
                        ui->comboBox_calib_multi_serial5,  ui->comboBox_calib_multi_serial6,  ui->comboBox_calib_multi_serial7,
                        ui->comboBox_calib_multi_serial8,  ui->comboBox_calib_multi_serial9,  ui->comboBox_calib_multi_serial10,
                        ui->comboBox_calib_multi_serial11, ui->comboBox_calib_multi_serial12, ui->comboBox_calib_multi_serial13,
                        ui->comboBox_calib_multi_serial14, ui->comboBox_calib_multi_serial15, ui->comboBox_calib_multi_serial16};
    g_expected_calib_flag = 0;

    init_calib_multi_plot();
    init_hot_house_Widget();
    init_dc_power_Widget();
    init_auto_resize();
    on_pushButton_connect_renew_com_ports_clicked();
    makeConnections();
    initRuns();

    m_configDir = appConfigDir();
    m_selectFilePath = selectionFilePath();
    on_pushButton_ReadLastSelectState_clicked();

    m_logWindow = new FrmShowLog;
    connect(this, &MultiCalib::signalTranspondLog, m_logWindow, &FrmShowLog::displayReceiveLog);
    initLogAndUploads();

    connect(ui->horizontalSlider_Percentage, &QSlider::valueChanged, this, &MultiCalib::onHorizontalSliderValueChanged);
    connect(ui->horizontalSlider_Percentage, &QSlider::sliderReleased, this, &MultiCalib::onHorizontalSliderReleased);
    m_replayButtons = {ui->pushButton_log_replay_setting_all, ui->pushButton_log_replay_setting_fast,
                       ui->pushButton_log_replay_setting_middle, ui->pushButton_log_replay_setting_slow,
                       ui->pushButton_log_replay_setting_pause};
    m_normalButtonStyle = kNormalButtonStyle;

    connect(ui->comboBox_calib_multi_total, SIGNAL(currentIndexChanged(int)), this,
            SLOT(on_comboBox_calib_multi_total_currentIndexChanged(int)), Qt::UniqueConnection);

    ui->comboBox_remove_tableWidget_items->addItems(
        {tr("Stop starting data flow"), tr("Temperature box with turntable - automatic"), tr("Thermobox automatic"),
         tr("Thermobox manual"), tr("Turntable manual"), tr("Automatic turntable"), tr("Power Control"), "IMU",
         tr("Bottom plate 9"), tr("Bottom plate 10"), tr("Bottom plate 11"), tr("Bottom plate 12"), tr("Bottom plate 13"),
         tr("Bottom plate 14"), tr("Bottom plate 15"), tr("Bottom plate 16")});
    ui->comboBox_remove_tableWidget_items->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    initTableWidgetFormConfig();
    ui->comboBox_TurnTableType->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);

    m_turnTableType = getSettings()->value("turnTableType/type", "0").toInt();
    qDebug() << "上次选择转台类型：" << m_turnTableType;
    getSettings()->sync();
    connect(ui->comboBox_TurnTableType, SIGNAL(currentIndexChanged(int)), this,
            SLOT(on_comboBox_TurnTableType_currentIndexChanged(int)), Qt::UniqueConnection);
    ui->comboBox_TurnTableType->setCurrentIndex(m_turnTableType);

    connect(&m_workOrder, &FormWorkOrderDetails::signalInputParam, this, &MultiCalib::onSignalInputParam);

    ui->pushButton_mode_switch->hide();
    ui->comboBox_calib_multi_total->setCurrentIndex(1);
    if (AutoTurnTableTestType::instance()->isNormalTest())
        ui->radioButtonNormalTest->setChecked(true);
    else
        ui->radioButtonNoLineTest->setChecked(true);
}

MultiCalib::~MultiCalib() = default;

// Widget signals that the form also connects by name are connected here by signature, so the
// unique connection recognises the by-name one and each slot still runs once.
void MultiCalib::makeConnections()
{
    const auto u = Qt::UniqueConnection;
    connect(ui->comboBox_neihuan_manual, SIGNAL(currentIndexChanged(int)), this, SLOT(on_comboBox_neihuan_manual_currentIndexChanged(int)), u);
    connect(ui->comboBox_waihuan_manual, SIGNAL(currentIndexChanged(int)), this, SLOT(on_comboBox_waihuan_manual_currentIndexChanged(int)), u);
    connect(ui->pushButton_show_cmd_page, &QPushButton::clicked, this, &MultiCalib::on_pushButton_show_cmd_page, u);
    connect(ui->pushButton_show_setting_page, &QPushButton::clicked, this, &MultiCalib::on_pushButton_show_setting_page, u);
    connect(&m_settings, SIGNAL(Send_QString_times(QString)), this, SIGNAL(Send_QString_times(QString)), u);
    connect(&m_settings, &Settings::dcModelStored, this, &MultiCalib::readDcModel, u);
    connect(this, SIGNAL(signal_log_from_multi_calib(uint8_t,QString)), &m_cmdPage, SLOT(rev_log_from_multi_calib(uint8_t,QString)), u);
    connect(ui->pushButton_advanced_calib, &QPushButton::clicked, this, &MultiCalib::on_pushButton_advanced_calib, u);
    connect(ui->pushButton_advanced_calib_retest, &QPushButton::clicked, this, &MultiCalib::on_pushButton_advanced_calib_retest, u);
    connect(ui->pushButton_advanced_retest, &QPushButton::clicked, this, &MultiCalib::on_pushButton_advanced_retest, u);
    connect(ui->pushButton_waihuan_enable_advanced, SIGNAL(clicked()), this, SLOT(on_pushButton_waihuan_enable_advanced_clicked()), u);
    connect(ui->pushButton_neihuan_enable_advanced, SIGNAL(clicked()), this, SLOT(on_pushButton_neihuan_enable_advanced_clicked()), u);
    connect(ui->pushButton_neihuan_unEnable_advanced, SIGNAL(clicked()), this, SLOT(on_pushButton_neihuan_unEnable_advanced_clicked()), u);
    connect(ui->pushButton_waihuan_unEnable_advanced, SIGNAL(clicked()), this, SLOT(on_pushButton_waihuan_unEnable_advanced_clicked()), u);
    connect(ui->pushButton_log_replay, &QPushButton::clicked, this, &MultiCalib::on_clicked_pushButton_log_replay, u);
    connect(ui->pushButton_log_replay_setting_all, &QPushButton::clicked, this, &MultiCalib::on_clicked_pushButton_log_replay_setting_all, u);
    connect(ui->pushButton_log_replay_setting_fast, &QPushButton::clicked, this, &MultiCalib::on_clicked_pushButton_log_replay_setting_fast, u);
    connect(ui->pushButton_log_replay_setting_middle, &QPushButton::clicked, this, &MultiCalib::on_clicked_pushButton_log_replay_setting_middle, u);
    connect(ui->pushButton_log_replay_setting_slow, &QPushButton::clicked, this, &MultiCalib::on_clicked_pushButton_log_replay_setting_slow, u);
    connect(ui->pushButton_log_replay_setting_pause, &QPushButton::clicked, this, &MultiCalib::on_clicked_pushButton_log_replay_setting_pause, u);
    connect(ui->pushButton_log_replay_setting_continue, &QPushButton::clicked, this, &MultiCalib::on_clicked_pushButton_log_replay_setting_continue, u);
    connect(ui->pushButton_one_click_calib, SIGNAL(clicked()), this, SLOT(on_pushButton_one_click_calib_clicked()), u);
    connect(&m_cmdPage, SIGNAL(signal_log(uint8_t,QString)), this, SLOT(rev_log_from_worker(uint8_t,QString)), u);
    connect(this, SIGNAL(signal_log(uint8_t,QString)), &m_cmdPage, SLOT(rev_log_from_multi_calib(uint8_t,QString)), u);
    connect(&m_cmdPage, SIGNAL(addWorkOrderDetailsDalig()), this, SLOT(addWorkOrderDetailsDalig()), u);
    connect(&m_cmdPage, SIGNAL(exectuePosMethod(uint8_t)), this, SLOT(exectuePosMethod(uint8_t)), u);
    connect(&m_cmdPage, SIGNAL(signal_send_turn_table_rotate_side_to_side(float,float)), this, SIGNAL(signal_send_turn_table_rotate_side_to_side(float,float)), u);
    connect(&m_cmdPage, SIGNAL(Send_CMD_LONG_SIGNAL_times(uint16_t,float,float,uint32_t,uint32_t,int32_t,int32_t)),
            this, SIGNAL(Send_CMD_LONG_SIGNAL_times(uint16_t,float,float,uint32_t,uint32_t,int32_t,int32_t)), u);
    connect(&m_cmdPage, SIGNAL(signal_file_recoding(QString,int,int,int)), this, SIGNAL(signal_file_recoding(QString,int,int,int)));
    connect(&m_cmdPage, SIGNAL(signal_common_cmd(uint8_t)), this, SIGNAL(signal_common_cmd(uint8_t)), u);
    connect(&m_cmdPage, SIGNAL(dc_control_cmd(uint16_t)), this, SIGNAL(dc_control_cmd(uint16_t)));
    connect(&m_cmdPage, SIGNAL(signal_auto_log_imu(uint8_t)), this, SIGNAL(signal_auto_log_imu(uint8_t)), u);
}

void MultiCalib::init_auto_resize()
{
    m_autoResize = std::make_unique<AutoResize>(this, float(width()), float(height()));
    m_autoResize->setResizeKinds(AutoResize::All);
    for (QWidget *w : std::initializer_list<QWidget *>{ui->tabWidget_top, ui->tabWidget_bottom, ui->calib_multi_plot1,
                                                       ui->calib_multi_plot2, ui->calib_multi_plot3,
                                                       ui->tableWidget_calib_multi_total, ui->horizontalSlider_Percentage})
        m_autoResize->addExtraWidget(w);
    for (QTableWidget *t : m_plateTables)
        m_autoResize->addExtraWidget(t);
    m_autoResize->collectItems();
    m_autoResize->applyScale();
}

void MultiCalib::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_autoResize)
        m_autoResize->applyScale();
}

void MultiCalib::cmd_start(uint32_t pageIndex)
{
    if (pageIndex != 9)
        return;
    emit Send_CMD_LONG_SIGNAL(DeviceCmdId::SetOutputMode, OutputMode::MultiImuCalib, 0.0f, OUTPUT_MODE_FILLER::cm3,
                              OUTPUT_MODE_FILLER::cm4, OUTPUT_MODE_FILLER::cm5, OUTPUT_MODE_FILLER::cm6);
}

void MultiCalib::on_tabWidget_bottom_currentChanged(int index)
{
    m_bottomTabIndex = index;
    qDebug() << "页面:" << index;
    // Found by the page, not its index: plate pages before it may have been removed.
    QWidget *page = ui->tabWidget_bottom->widget(index);
    if (page && (page == ui->tab_4 || plateOfPage(page) >= 0)) {
        emit signal_label_record_visible(1);
    } else {
        emit signal_label_record_visible(0);
        qDebug() << "串口/屏蔽页";
    }
}

void MultiCalib::on_pushButton_show_cmd_page() { m_cmdPage.show(); }
void MultiCalib::on_pushButton_ShowLog_clicked() { m_logWindow->show(); }
void MultiCalib::onSignalSendMsg(QString text) { emit signalTranspondLog(text); }

void MultiCalib::on_comboBox_neihuan_manual_currentIndexChanged(int index)
{
    if (index == 0) {
        ui->neihuan_target_vel_manual->setEnabled(true);
        ui->neihuan_target_pos_manual->setEnabled(true);
    } else if (index == 1) {
        ui->neihuan_target_pos_manual->setEnabled(false);
        ui->neihuan_target_vel_manual->setEnabled(true);
    }
}

void MultiCalib::on_comboBox_waihuan_manual_currentIndexChanged(int index)
{
    if (index == 0) {
        ui->waihuan_target_vel_manual->setEnabled(true);
        ui->waihuan_target_pos_manual->setEnabled(true);
    } else if (index == 1) {
        ui->waihuan_target_pos_manual->setEnabled(false);
        ui->waihuan_target_vel_manual->setEnabled(true);
    }
}

void MultiCalib::on_comboBox_TurnTableType_currentIndexChanged(int index)
{
    getSettings()->setValue("turnTableType/type", index);
    getSettings()->sync();
}

void MultiCalib::on_pushButton_neihuan_enable_advanced_clicked()
{
    if (turnTableLinkedOrWarn())
        emit signal_common_cmd(30);
}
void MultiCalib::on_pushButton_waihuan_enable_advanced_clicked()
{
    if (turnTableLinkedOrWarn())
        emit signal_common_cmd(31);
}
void MultiCalib::on_pushButton_neihuan_unEnable_advanced_clicked()
{
    if (turnTableLinkedOrWarn())
        emit signal_common_cmd(32);
}
void MultiCalib::on_pushButton_waihuan_unEnable_advanced_clicked()
{
    if (turnTableLinkedOrWarn())
        emit signal_common_cmd(33);
}

void MultiCalib::heat_box_end()
{
    g_expected_calib_flag = 16383;
    SoundPlayer::instance().playLooping(Sounds::Class);
    const auto answer = Prompter::instance().ask(
        Prompter::Kind::Warning, nullptr, tr("Warning"),
        tr("The full temperature calibration retest is completed. Please check if the retest flag is 16383"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    qDebug() << (answer == QMessageBox::Yes ? "全温标定复测结束确认" : "全温标定复测结束返回");
    SoundPlayer::instance().stopLoop();
}

// Runs built by their own work; wired now so every connection of the console exists.
