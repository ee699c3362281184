#include "production/DecodeDlg.h"

#include <QDebug>
#include <QFileDialog>
#include <QStyledItemDelegate>

#include "app/AutoResize.h"
#include "app/MetaTypes.h"
#include "app/Settings.h"
#include "link/LinkFlags.h"
#include "link/WorkerThreadStart.h"
#include "production/DecodeFormats.h"
#include "production/WorkerThread_decode.h"
#include "ui_DecodeDlg.h"

namespace {

constexpr uint8_t kDecodeReport = 33;

const char *const kEnabledButton =
    "QPushButton{color:rgb(0, 85, 255);border:1px solid rgb(122, 122, 122);border-radius:5px;"
    "background:transparent;}\nQPushButton:hover{color:rgb(0, 170, 0);}\n"
    "QPushButton:pressed{background-color:rgba(0, 170, 255, 30);}";
const char *const kDisabledButton =
    "QPushButton{color:rgb(200, 200, 200);border:1px solid rgb(200, 200, 200);border-radius:5px;"
    "background:transparent;}\nQPushButton:hover{color:rgb(200, 200, 200);}\n"
    "QPushButton:pressed{background-color:rgb(200, 200, 200);}";

QString dialogOpen(QWidget *parent, const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}
QString dialogSave(QWidget *parent, const QString &title, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, title, QString(), filter);
}
DecodeDlg::FileChooser g_openChooser = dialogOpen;
DecodeDlg::FileChooser g_saveChooser = dialogSave;

} // namespace

void DecodeDlg::setFileChoosers(FileChooser open, FileChooser save)
{
    g_openChooser = open ? std::move(open) : FileChooser(dialogOpen);
    g_saveChooser = save ? std::move(save) : FileChooser(dialogSave);
}

DecodeDlg::DecodeDlg(QWidget *parent) : QWidget(parent), ui(new Ui::DecodeDlg)
{
    registerMetaTypes();
    ui->setupUi(this);

    ui->comboBox_decode->addItems(
        {tr("AHRS"), tr("INS/RTK"), tr("Calibration 256"), tr("Calibration 368"), tr("Calibration 1040"),
         tr("Nine IMU")});
    ui->comboBox_decode->setMaxVisibleItems(30);
    ui->comboBox_decode->setItemDelegate(new QStyledItemDelegate(ui->comboBox_decode));
    ui->comboBox_decode_target_file_path->addItems({tr("Current file name"), tr("Self selected path")});
    ui->progressBar->setValue(0);
    const int stored = getSettings()->value("decode_index/index", 0).toInt();
    ui->comboBox_decode->setCurrentIndex(DecodeFormat::isValidType(stored) ? stored : 0);

    init_auto_resize();

    // The form connected the buttons by name; keep exactly one connection each.
    disconnect(ui->pushButton_openfile_for_decode, nullptr, this, nullptr);
    disconnect(ui->pushButton_start_decode, nullptr, this, nullptr);
    disconnect(ui->pushButton_cancel_decode, nullptr, this, nullptr);
    connect(ui->pushButton_openfile_for_decode, SIGNAL(clicked()), this,
            SLOT(on_pushButton_openfile_for_decode_clicked()), Qt::UniqueConnection);
    connect(ui->pushButton_start_decode, SIGNAL(clicked()), this,
            SLOT(on_pushButton_start_decode_clicked()), Qt::UniqueConnection);
    connect(ui->pushButton_cancel_decode, SIGNAL(clicked()), this,
            SLOT(on_pushButton_cancel_decode_clicked()), Qt::UniqueConnection);
}

// A decode still running when the page goes stops at its next block; its worker and thread
// are released in that thread.
DecodeDlg::~DecodeDlg()
{
    retireDecoder();
}

QPointer<QThread> DecodeDlg::retireDecoder()
{
    QPointer<QThread> thread = m_worker ? m_worker->thread() : nullptr;
    if (m_worker)
        m_worker->cancel();
    retireWorker(m_worker);
    return thread;
}

void DecodeDlg::init_auto_resize()
{
    m_autoResize = std::make_unique<AutoResize>(this, width(), height());
    m_autoResize->setResizeKinds(AutoResize::All);
    m_autoResize->addExtraWidget(ui->progressBar);
    m_autoResize->collectItems();
    m_autoResize->applyScale();
}

void DecodeDlg::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_autoResize)
        m_autoResize->applyScale();
}

QString DecodeDlg::targetForSource(const QString &source)
{
    const int slash = qMax(source.lastIndexOf('/'), source.lastIndexOf('\\'));
    QString name = source.mid(slash + 1);
    const int dat = name.indexOf(".dat");
    if (dat >= 0)
        name.truncate(dat);
    return source.left(slash + 1) + name + ".txt";
}

void DecodeDlg::on_pushButton_openfile_for_decode_clicked()
{
    qDebug() << "decode";
    m_source = g_openChooser(this, tr("Open data file"), tr("data format (*.txt *.dat *.TXT *.DAT)"));
    ui->textEdit123->setText(m_source);
}

void DecodeDlg::on_pushButton_start_decode_clicked()
{
    qDebug() << "测试按钮";
    if (g_link_status.value(0) == 1) {
        ui->label_decode_status->setText(tr("Status: Please disconnect the serial port"));
        return;
    }
    if (ui->comboBox_decode_target_file_path->currentIndex() == 0) {
        // Named after the file that is decoded (the source box only shows it).
        m_target = targetForSource(m_source);
        qDebug() << m_target;
        ui->textEdit_decode_dest->setText(m_target);
    } else {
        m_target = g_saveChooser(this, tr("Save decoding file"), tr("data format (*.txt)"));
        ui->textEdit_decode_dest->setText(m_target);
        if (m_target.isEmpty())
            return;
    }

    if (m_worker) {
        qDebug() << "m_analyzeThread != NULL";
        // The request signal must reach the new worker only; the old one is left to its thread.
        disconnect(this, SIGNAL(signal_file_decode(QString, QString)), nullptr, nullptr);
        retireDecoder();
    }
    m_worker = createWorker_decode();
    connect(m_worker, SIGNAL(decodeProgressChanged(int)), ui->progressBar, SLOT(setValue(int)),
            Qt::UniqueConnection);
    connect(this, SIGNAL(signal_file_decode(QString, QString)), m_worker,
            SLOT(do_file_decode(QString, QString)), Qt::UniqueConnection);
    connect(m_worker, SIGNAL(signal_log(uint8_t, QString)), this,
            SLOT(rev_log_from_worker(uint8_t, QString)), Qt::UniqueConnection);

    g_decode_type = uint16_t(ui->comboBox_decode->currentIndex());
    if (m_target.isEmpty()) {
        ui->label_decode_status->setText(tr("Status:Please select the target file"));
        return;
    }
    if (m_source.isEmpty()) {
        ui->label_decode_status->setText(tr("Status:Please select the source file"));
        return;
    }
    ui->label_decode_status->setText(tr("Status:N/A"));
    // Written to disk only when it changes: every write waits for the disk.
    const int index = ui->comboBox_decode->currentIndex();
    if (!getSettings()->contains("decode_index/index") || getSettings()->value("decode_index/index").toInt() != index) {
        getSettings()->setValue("decode_index/index", index);
        getSettings()->sync();
    }
    emit signal_file_decode(m_source, m_target);
    ui->progressBar->setValue(0);
    qDebug() << m_target;
    setButtonsEnabled(false);
}

void DecodeDlg::on_pushButton_cancel_decode_clicked()
{
    if (m_worker)
        m_worker->cancel();
}

void DecodeDlg::rev_log_from_worker(uint8_t code, QString text)
{
    if (code != kDecodeReport)
        return;
    ui->label_decode_status->setText(text);
    if (text != "Status: Start decoding")
        setButtonsEnabled(true);
}

void DecodeDlg::setButtonsEnabled(bool on)
{
    for (QPushButton *b : {ui->pushButton_start_decode, ui->pushButton_openfile_for_decode}) {
        b->setEnabled(on);
        b->setStyleSheet(on ? kEnabledButton : kDisabledButton);
    }
    // Cancel works only while a decode runs.
    ui->pushButton_cancel_decode->setEnabled(!on);
    ui->pushButton_cancel_decode->setStyleSheet(!on ? kEnabledButton : kDisabledButton);
}
