// Pictures of every page and window of the program, to check that their texts fit: the main
// window with each of its five pages, every tab of the console, the console's windows and the
// report dialogs. Run under Xvfb; writes one PNG a page into the folder named first, in the
// language of the translation file named second (the source texts without one), and lists
// every label, button, combo item, group title and one-line text box whose text is wider than
// the widget. The console's pages are shot as a run shows them, with the longest values the
// console writes into them, at the form's size and larger.
//   xvfb-run -a page_shots /tmp/shots build/English.qm
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QTranslator>

#include <cstdio>

#include "app/MainWindow.h"
#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "production/ExcelPrintfDlg.h"
#include "production/PDFPrintDlg.h"
#include "station/AllanRetest.h"
#include "station/CalibVerdicts.h"
#include "station/ChamberLog.h"
#include "station/DcPowerFrames.h"
#include "station/FrmShowLog.h"
#include "station/MultiCalib.h"
#include "station/TempScript.h"
#include "station/UploadOutbox.h"
#include "ui_MultiCalib.h"

namespace {
QString g_folder;
int g_failures = 0;

// Texts wider than their visible widget.
void listCutTexts(QWidget *window, const QString &name)
{
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window))
            continue;
        QString text;
        int need = 0;
        const QFontMetrics fm = w->fontMetrics();
        if (auto *l = qobject_cast<QLabel *>(w)) {
            if (l->text().isEmpty())
                continue;
            if (l->wordWrap()) { // wrapped: its lines must fit its height
                need = l->heightForWidth(l->width());
                if (need <= l->height())
                    continue;
                std::printf("cut %s %s (%d px high > %d): %s\n", qPrintable(name), qPrintable(w->objectName()), need,
                            l->height(), qPrintable(l->text()));
                continue;
            }
            QTextDocument doc;
            doc.setDefaultFont(l->font());
            doc.setDocumentMargin(0);
            Qt::mightBeRichText(l->text()) ? doc.setHtml(l->text()) : doc.setPlainText(l->text());
            text = doc.toPlainText();
            need = int(doc.idealWidth()) + 2 * l->margin() + qMax(0, l->indent());
            if (need <= l->contentsRect().width())
                continue;
        } else if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)) {
            text = static_cast<QAbstractButton *>(w)->text();
            need = w->sizeHint().width();
            if (text.isEmpty() || need <= w->width())
                continue;
        } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            text = b->text();
            need = fm.horizontalAdvance(text) + 8;
            if (text.isEmpty() || need <= b->width())
                continue;
        } else if (auto *c = qobject_cast<QComboBox *>(w)) {
            for (int i = 0; i < c->count() && need <= c->width(); ++i) {
                text = c->itemText(i);
                need = fm.horizontalAdvance(text) + 28; // frame and arrow
            }
            if (need <= c->width())
                continue;
        } else if (auto *e = qobject_cast<QTextEdit *>(w)) {
            // One-line boxes only; the status logs scroll.
            const QWidget *view = e->viewport();
            if (view->height() >= 3 * fm.lineSpacing() || e->toPlainText().isEmpty())
                continue;
            text = e->toPlainText();
            e->document()->setTextWidth(view->width());
            need = fm.horizontalAdvance(text) + 2 * int(e->document()->documentMargin());
            if (need <= view->width() && e->document()->size().height() <= view->height())
                continue;
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            text = g->title();
            need = fm.horizontalAdvance(text) + 8;
            if (text.isEmpty() || need <= g->width())
                continue;
        } else {
            continue;
        }
        std::printf("cut %s %s (%d > %d): %s\n", qPrintable(name), qPrintable(w->objectName()), need, w->width(),
                    qPrintable(text));
    }
}

void shoot(QWidget *w, const QString &name)
{
    w->show();
    QApplication::processEvents();
    listCutTexts(w, name);
    const QString file = QDir(g_folder).filePath(name + ".png");
    const bool ok = w->grab().save(file);
    g_failures += ok ? 0 : 1;
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
}

QString consoleText(const char *source) { return QCoreApplication::translate("MultiCalib", source); }

// The longest of the texts, as the widget's font shows them.
QString longest(const QWidget *w, const QStringList &texts)
{
    QString out;
    for (const QString &t : texts)
        if (w->fontMetrics().horizontalAdvance(t) > w->fontMetrics().horizontalAdvance(out))
            out = t;
    return out;
}
void show(QLabel *l, const QStringList &texts) { l->setText(longest(l, texts)); }
void show(QTextEdit *e, const QStringList &texts) { e->setPlainText(longest(e, texts)); }

// The console's pages as a long run shows them: the longest values each display gets.
void fillRunValues(MultiCalib *console)
{
    Ui::MultiCalib *ui = console->form();
    const QString stamp = ChamberLog::timeText(QDateTime(QDate(2026, 12, 27), QTime(23, 59, 59)));
    const uint32_t longRun = 99 * 3600 + 59 * 60;
    for (QLabel *l : {ui->label_result_total_num, ui->label_result_ok_num, ui->label_result_ng_num})
        show(l, {"512"});
    show(ui->label_result_ok_percent, {"100.00%", "-"});
    QString positions;
    for (int imu = 1; imu <= 32; ++imu)
        positions += badPositionText(16, imu);
    show(ui->label_result_ng_position, {positions});

    // Chamber and script
    const QString temperature = ChamberLog::number(-40.125), setPoint = ChamberLog::number(-40);
    for (QTextEdit *e : {ui->textEdit_hothouse_current_temperature_advanced, ui->textEdit_hothouse_current_temperature,
                         ui->textEdit_hothouse_current_temperature_manual})
        show(e, {temperature});
    for (QTextEdit *e : {ui->textEdit_hothouse_set_temperature_advanced, ui->textEdit_hothouse_set_temperature_manual,
                         ui->textEdit_hothouse_set_slope_advanced, ui->textEdit_hothouse_temperature_slope_manual,
                         ui->textEdit_hothouse_user_temp_target, ui->textEdit_hothouse_set_temperature_by_user_manual})
        show(e, {setPoint});
    for (QTextEdit *e : {ui->textEdit_hothouse_set_temperature, ui->textEdit_hothouse_temp_slope_rev})
        show(e, {setPoint, consoleText("Warm box slave mode")});
    show(ui->textEdit_hothouse_current_loops, {TempScript::stepText(0), TempScript::stepText(1), TempScript::stepText(99)});
    const QStringList reasons = {consoleText("stopped by the operator"), consoleText("chamber not answering"), consoleText("chamber link closed"),
                                 consoleText("chamber link lost"), consoleText("DC supply link closed"),
                                 consoleText("DC supply link lost"), consoleText("all links closed"),
                                 consoleText("base-board links closed"), consoleText("base-board links lost")};
    QStringList states = {consoleText("Set temperature: 25"), consoleText("Go to:%1").arg(setPoint), consoleText("Insulation:%1。剩余：%2s").arg(setPoint).arg(36000),
                          consoleText("End of insulation:%1").arg(setPoint), consoleText("Insulation temperature: 25"),
                          consoleText("Insulation: 25. Remaining time:%1s").arg(1800), consoleText("Stop")};
    for (const QString &r : reasons)
        states << consoleText("Stopped: %1").arg(r);
    show(ui->textEdit_hothouse_current_status, states);
    show(ui->label_wenxiang_start_time, {consoleText("Start time:") + stamp});
    show(ui->label_wenxiang_auto_current_time, {consoleText("Update time:") + stamp + consoleText(" - chamber log not written")});
    show(ui->label_wenxiang_manual_current_time, {consoleText("Update time:") + stamp});
    show(ui->label_wenxiang_current_run_time, {consoleText("Run time:") + TempScript::hoursMinutes(longRun), TempScript::hoursMinutes(longRun)});
    show(ui->label_wenxiang_left_run_time, {consoleText("Remaining time:") + TempScript::hoursMinutes(longRun)});

    // Turntable
    const QString hms = consoleText("%1小时%2分钟%3秒").arg(99).arg(59).arg(59);
    for (QTextEdit *e : {ui->neihuan_current_pos_auto, ui->neihuan_current_pos_advanced, ui->neihuan_current_pos_manual,
                         ui->waihuan_current_pos_auto, ui->waihuan_current_pos_advanced, ui->waihuan_current_pos_manual})
        show(e, {QString::number(-359.9999, 'f', 4)});
    for (QTextEdit *e : {ui->neihuan_current_vel_auto, ui->neihuan_current_vel_advanced, ui->neihuan_current_vel_manual,
                         ui->waihuan_current_vel_auto, ui->waihuan_current_vel_advanced, ui->waihuan_current_vel_manual})
        show(e, {QString::number(-1000.0, 'f', 4)});
    for (QTextEdit *e : {ui->neihuan_current_status, ui->neihuan_current_status_advanced, ui->waihuan_current_status,
                         ui->waihuan_current_status_advanced})
        show(e, {"65535"});
    for (QLabel *l : {ui->label_turn_table_current_time_manual, ui->label_turn_table_current_time_auto,
                      ui->label_turn_table_current_time_auto_advanced})
        show(l, {stamp});
    show(ui->label_turn_table_current_run_time, {allanElapsedText(99 * 3600)});
    show(ui->label_turn_table_left_run_time, {hms, staticRemainingText(240, 0), fourHourRemainingText(0)});
    show(ui->label_turn_table_left_run_time_advanced, {hms});
    show(ui->label_turn_table_current_run_time_advanced, {consoleText("%1小时%2分钟").arg(99).arg(59)});
    for (QTextEdit *log : {ui->textEdit_turn_table_status_auto, ui->textEdit_turn_table_status_advanced})
        for (int i = 0; i < 8; ++i)
            log->append(stamp + " " + consoleText("Cool to room temperature, end after 30 minutes"));

    // DC supply
    show(ui->textEdit_dc_power_supply_current_voltage, {QString::number(45.5, 'f', 2)});
    show(ui->textEdit_dc_power_supply_current_current, {QString::number(20.5, 'f', 2)});
    show(ui->textEdit_dc_power_supply_max_voltage, {QString::number(45.5f, 'g', 6)});
    show(ui->textEdit_dc_power_supply_max_current, {QString::number(20.5f, 'g', 6)});
    show(ui->label_dc_power_current_time, {consoleText("Update time:") + stamp + consoleText(" - supply log not written")});
    show(ui->label_dc_power_output_state, {consoleText("Output: not confirmed since the link opened"),
                                           consoleText("Output: on (last confirmed by the supply)"),
                                           consoleText("Output: off (last confirmed by the supply)")});
    show(ui->label_dc_power_type, {DcPower::modelText(0), DcPower::modelText(1), DcPower::modelText(2), DcPower::modelText(3)});
    ui->pushButton_dc_power_supply_ON_OFF->setText(
        longest(ui->pushButton_dc_power_supply_ON_OFF, {consoleText("Manual power off"), consoleText("Manual power on")}));

    // Replay and uploads
    show(ui->label_PercentageValue, {"100"});
    show(ui->label_replay_percentage, {"100 %"});
    show(ui->label_logReplayFileName, {"/home/operator/log/log_multi/2026_1227/T2026_1227_2359_59.txt"});
    show(ui->label_uploadWaiting, {waitingUploadsText(0), waitingUploadsText(999)});
}

// Each tab of a tab widget in turn, shot through the window that holds it.
void shootTabs(QWidget *window, QTabWidget *tabs, const QString &prefix)
{
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        shoot(window, QString("%1_%2").arg(prefix).arg(i, 2, 10, QChar('0')));
    }
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("KELVANTO_CONFIG_DIR"))
        qputenv("KELVANTO_CONFIG_DIR", "/tmp/page_shots/Config");
    QApplication app(argc, argv);
    registerMetaTypes();
    ScriptedPrompter prompter;
    Prompter::install(&prompter);
    g_folder = argc > 1 ? argv[1] : "shots";
    QDir().mkpath(g_folder);
    QTranslator translator;
    if (argc > 2 && (!translator.load(argv[2]) || !QCoreApplication::installTranslator(&translator))) {
        std::fprintf(stderr, "cannot load the translation %s\n", argv[2]);
        return 1;
    }

    MainWindow main;
    main.resize(1280, 860);
    for (int page : {MainWindow::PageDecode, MainWindow::PageCalib, MainWindow::PageScreening, MainWindow::PageK350,
                     MainWindow::Page735}) {
        main.showPage(page);
        shoot(&main, QString("main_page_%1").arg(page));
    }
    main.hide();

    MultiCalib *console = main.multiCalib();
    console->setParent(nullptr);
    console->resize(1131, 711);
    shootTabs(console, console->form()->tabWidget_top, "console_top");
    shootTabs(console, console->form()->tabWidget_bottom, "console_bottom");
    fillRunValues(console);
    shootTabs(console, console->form()->tabWidget_top, "console_run_top");
    console->resize(1600, 1000);
    shootTabs(console, console->form()->tabWidget_top, "console_run_1600_top");
    shootTabs(console, console->form()->tabWidget_bottom, "console_run_1600_bottom");
    console->resize(1131, 711);
    shoot(console->commandPage(), "command_page");
    shoot(console->settingsDialog(), "settings");
    shoot(console->workOrderDialog(), "work_order");
    shoot(console->logWindow(), "log_window");
    ExcelPrintfDlg excel;
    shoot(&excel, "excel_report");
    PDFPrintDlg pdf;
    shoot(&pdf, "pdf_report");
    std::fflush(stdout);
    std::_Exit(g_failures ? 1 : 0);
}
