// Every page and window of the program with and without the English translation: with
// "English.qm" loaded no visible text holds a Chinese character; without it the pages show
// their source texts, and with "Chinese.qm" every text the program writes in English shows in
// Chinese (its boxes and log lines too), but the texts given in English. The console's pages keep their widgets inside them, each caption beside
// the field it names and the longest run-time texts whole, in both languages and at the
// form's size or larger; so does the command page's window.
#include <QAbstractButton>
#include <QFile>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTranslator>

#include <memory>

#include "app/MainWindow.h"
#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "link/LinkFlags.h"
#include "production/ExcelPrintfDlg.h"
#include "production/PDFPrintDlg.h"
#include "station/CalibVerdicts.h"
#include "station/ConsoleDialogs.h"
#include "station/ChamberLog.h"
#include "station/FrmShowLog.h"
#include "station/MultiCalib.h"
#include "station/RunGuard.h"
#include "station/TempScript.h"
#include "ui_MultiCalib.h"
#include "tests/kit/TestKit.h"

namespace {
QString plain(const QString &text)
{
    return Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

// "where: text" for every text a widget shows: labels, buttons, group titles, tab labels, combo
// items, table headers and cells, window titles, tool tips and place-holders. The contents of
// line and text edits are values, not captions.
QStringList visibleTexts(QWidget *top)
{
    QStringList out;
    auto add = [&out](QWidget *w, const QString &what, const QString &text) {
        if (!text.trimmed().isEmpty())
            out << QString("%1 %2: %3").arg(w->objectName(), what, text);
    };
    QList<QWidget *> widgets = top->findChildren<QWidget *>();
    widgets.prepend(top);
    for (QWidget *w : widgets) {
        if (w->isWindow())
            add(w, "window title", w->windowTitle());
        add(w, "tool tip", w->toolTip());
        if (auto *l = qobject_cast<QLabel *>(w))
            add(w, "label", plain(l->text()));
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            add(w, "button", b->text());
        if (auto *g = qobject_cast<QGroupBox *>(w))
            add(w, "group", g->title());
        if (auto *t = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < t->count(); ++i)
                add(w, "tab", t->tabText(i));
        if (auto *c = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < c->count(); ++i)
                add(w, "item", c->itemText(i));
        if (auto *e = qobject_cast<QLineEdit *>(w))
            add(w, "place-holder", e->placeholderText());
        if (auto *t = qobject_cast<QTableWidget *>(w)) {
            for (int r = 0; r < t->rowCount(); ++r)
                for (int c = 0; c < t->columnCount(); ++c)
                    if (t->item(r, c))
                        add(w, "cell", t->item(r, c)->text());
        }
        if (auto *v = qobject_cast<QTableView *>(w)) {
            if (QAbstractItemModel *m = v->model()) {
                for (int c = 0; c < m->columnCount(); ++c)
                    add(w, "column", m->headerData(c, Qt::Horizontal).toString());
                for (int r = 0; r < m->rowCount(); ++r)
                    add(w, "row", m->headerData(r, Qt::Vertical).toString());
            }
        }
    }
    return out;
}

bool hasChinese(const QString &text)
{
    static const QRegularExpression chinese("[\\x{3000}-\\x{303f}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]");
    return chinese.match(text).hasMatch();
}

// The program's windows: the main window with its pages, the console's windows and the
// report dialogs of the screening page.
struct AllWindows {
    std::unique_ptr<MainWindow> main = std::make_unique<MainWindow>();
    std::unique_ptr<ExcelPrintfDlg> excel = std::make_unique<ExcelPrintfDlg>();
    std::unique_ptr<PDFPrintDlg> pdf = std::make_unique<PDFPrintDlg>();

    QList<QWidget *> windows() const
    {
        MultiCalib *console = main->multiCalib();
        return {main.get(),
                console->commandPage(),
                console->settingsDialog(),
                console->workOrderDialog(),
                console->logWindow(),
                excel.get(),
                pdf.get()};
    }
    QStringList texts() const
    {
        QStringList all;
        for (QWidget *w : windows())
            all << visibleTexts(w);
        return all;
    }
};

// Source texts of each page and window with their English texts.
const QList<QPair<QString, QString>> kSamples = {
    {QString::fromUtf8("标定统计"), "Statistics"},          // console, top tab
    {QString::fromUtf8("底板1"), "Plate 1"},                // console, bottom tab
    {QString::fromUtf8("校准命令页面"), "Command page"},    // console, button
    {QString::fromUtf8("温箱转台类型"), "Table type"},      // console, configuration page
    {QString::fromUtf8("位置指令"), "Position"},            // console, frame mode combo
    {QString::fromUtf8("整个底板"), "Whole plate"},         // console, selection grid header
    {QString::fromUtf8("底板通信"), "Plate links"},         // command page
    {QString::fromUtf8("参数设置"), "Settings"},            // settings dialog title
    {QString::fromUtf8("工单号："), "Order:"},              // work-order dialog
    {QString::fromUtf8("16筛选"), "16 screening"},          // screening page
    {QString::fromUtf8("测试人员"), "Operator"},            // quick-test pages
    {QString::fromUtf8("校准零偏"), "Calibrate bias"},      // K350 quick test
    {QString::fromUtf8("数据解码"), "Decode"},              // decoding page
    {QString::fromUtf8("选择文件"), "Select files"},        // Excel report dialog
};

// Each field of the console's pages that the console fills or reads, and the text of the caption
// that names it (the label whose buddy it is), found by the field: captions are checked by what
// they read.
const QList<QPair<const char *, const char *>> kCaptions = {
    // statistics
    {"label_result_total_num", "标定数量:"}, {"label_result_ok_num", "成功数量:"}, {"label_result_ng_num", "失败数量:"},
    {"label_result_ok_percent", "直通率:"},
    // chamber with turntable, automatic
    {"textEdit_hothouse_current_temperature_advanced", "当前温度"},
    {"textEdit_hothouse_set_temperature_advanced", "期望温度"},
    {"textEdit_hothouse_set_slope_advanced", "温度斜率"},
    {"label_turn_table_current_run_time_advanced", "运行时间："},
    {"label_turn_table_left_run_time_advanced", "剩余时间："},
    {"label_turn_table_current_time_auto_advanced", "更新时间："},
    {"waihuan_current_pos_advanced", "当前位置"}, {"waihuan_current_vel_advanced", "当前速率"},
    {"waihuan_current_status_advanced", "外框状态"}, {"neihuan_current_pos_advanced", "当前位置"},
    {"neihuan_current_vel_advanced", "当前速率"}, {"neihuan_current_status_advanced", "内框状态"},
    // chamber, automatic
    {"textEdit_hothouse_current_temperature", "当前温度"},
    {"textEdit_hothouse_set_temperature", "期望温度"},
    {"textEdit_hothouse_temp_slope_rev", "温度斜率"},
    {"textEdit_hothouse_current_loops", "当前循环"},
    {"textEdit_hothouse_user_temp_target", "设定温度"},
    {"textEdit_hothouse_current_status", "当前状态"},
    {"textEdit_hothouse_start_temp", "起始温度"},
    {"textEdit_hothouse_stop_temp", "停止温度"},
    {"textEdit_hothouse_temp_slope", "温度斜率(度/分钟)"},
    {"textEdit_hothouse_loops_num", "循环次数"},
    {"textEdit_hothouse_start_temp_last_times", "达到起始温度后停留(min)"},
    {"textEdit_hothouse_stop_temp_last_times", "达到停止温度后停留(min)"},
    // chamber, manual
    {"textEdit_hothouse_set_temperature_by_user_manual", "温度手动设定值"},
    {"textEdit_hothouse_temperature_slope_manual", "温度斜率(℃/min)"},
    {"textEdit_hothouse_current_temperature_manual", "当前温度"},
    {"textEdit_hothouse_set_temperature_manual", "期望温度"},
    // turntable, manual
    {"comboBox_neihuan_manual", "内框指令"}, {"neihuan_current_pos_manual", "当前位置"},
    {"neihuan_current_vel_manual", "当前速率"}, {"neihuan_target_pos_manual", "目标位置"},
    {"neihuan_target_vel_manual", "目标速率"}, {"comboBox_waihuan_manual", "外框指令"},
    {"waihuan_current_pos_manual", "当前位置"}, {"waihuan_current_vel_manual", "当前速率"},
    {"waihuan_target_pos_manual", "目标位置"}, {"waihuan_target_vel_manual", "目标速率"},
    {"label_turn_table_current_time_manual", "更新时间："},
    // turntable, automatic
    {"waihuan_current_pos_auto", "当前位置"}, {"waihuan_current_vel_auto", "当前速率"},
    {"waihuan_current_status", "外框状态"}, {"neihuan_current_pos_auto", "当前位置"},
    {"neihuan_current_vel_auto", "当前速率"}, {"neihuan_current_status", "内框状态"},
    {"label_turn_table_current_time_auto", "更新时间："},
    {"label_turn_table_current_run_time", "运行时间："},
    {"label_turn_table_left_run_time", "剩余时间："},
    // DC supply
    {"textEdit_dc_power_supply_current_voltage", "当前电压"},
    {"textEdit_dc_power_supply_current_current", "当前电流"},
    {"textEdit_dc_power_supply_max_voltage", "设定电压"},
    {"textEdit_dc_power_supply_max_current", "最大电流"},
    // configuration
    {"label_replay_percentage", "回放进度"}, {"horizontalSlider_Percentage", "选择回放进度"},
    {"label_logReplayFileName", "读取文件路径"}, {"comboBox_remove_tableWidget_items", "选择移除页数"},
    {"comboBox_TurnTableType", "温箱转台类型"},
    // summary and ports
    {"comboBox_calib_multi_total", "选择汇总页面显示项"}, {"comboBox_calib_multi_serial2", "串口2："},
    {"comboBox_calib_multi_serial3", "串口3："}, {"comboBox_calib_multi_serial4", "串口4："},
    {"comboBox_calib_multi_serial5", "串口5："}, {"comboBox_calib_multi_serial6", "串口6："},
    {"comboBox_calib_multi_serial7", "串口7："}, {"comboBox_calib_multi_serial8", "串口8："},
    {"comboBox_calib_multi_serial9", "串口9："}, {"comboBox_calib_multi_serial10", "串口10："},
    {"comboBox_calib_multi_serial11", "串口11："}, {"comboBox_calib_multi_serial12", "串口12："},
    {"comboBox_calib_multi_serial13", "串口13："}, {"comboBox_calib_multi_serial14", "串口14："},
    {"comboBox_calib_multi_serial15", "串口15："}, {"comboBox_calib_multi_serial16", "串口16："},
    {"comboBox_calib_multi_turn_table", "转台："}, {"comboBox_calib_multi_hot_house", "温箱："},
    {"comboBox_calib_multi_turn_table_2", "转台2："}, {"comboBox_calib_multi_DC_power", "电源："},
    {"comboBox_calib_multi_serial_net", "网络："},
};

// A widget's rectangle in the coordinates of its page.
QRect rectOnPage(QWidget *w, QWidget *page) { return QRect(w->mapTo(page, QPoint(0, 0)), w->size()); }

// The form's widgets shown on a page that do not lie wholly inside it; Qt's own parts of a
// widget (named "qt_..." or not at all) lie in it.
QStringList widgetsOutside(QWidget *page, const QString &pageName)
{
    QStringList outside;
    for (QWidget *w : page->findChildren<QWidget *>()) {
        const QRect r = rectOnPage(w, page);
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_") && w->isVisibleTo(page)
            && !page->rect().contains(r))
            outside << QString("%1 on \"%2\": %3,%4 %5x%6 on a page of %7x%8")
                           .arg(w->objectName(), pageName).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())
                           .arg(page->width()).arg(page->height());
    }
    return outside;
}

// The English or the Chinese translation, installed for the life of the object, as the program
// installs it: "English.qm", else "Chinese.qm" for the program's own texts.
struct Language : TestKit::Translation {
    explicit Language(bool english) : TestKit::Translation(english ? "/English.qm" : "/Chinese.qm") {}
};

// The caption stands left of its field on the field's row, or directly above it.
bool namesField(const QRect &caption, const QRect &field)
{
    const bool sameRow = caption.right() < field.left() && caption.center().y() >= field.top()
        && caption.center().y() <= field.bottom();
    const bool above = caption.bottom() < field.top() && field.top() - caption.bottom() <= 12
        && caption.left() <= field.right() && caption.right() >= field.left();
    return sameRow || above;
}

// The texts translations/Chinese.tsv keeps as they stand in Chinese mode (given in English), as
// patterns whose place-holders stand for anything, the longest first.
QList<QRegularExpression> givenEnglishTexts()
{
    QFile file(qEnvironmentVariable("TEST_SOURCE_DIR") + "/translations/Chinese.tsv");
    QStringList texts;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
            const QStringList parts = line.split('\t');
            if (!line.startsWith('#') && parts.size() >= 2 && parts.last() == "="
                && parts[parts.size() - 2].contains(QRegularExpression("[A-Za-z]")))
                texts << parts[parts.size() - 2];
        }
    }
    std::sort(texts.begin(), texts.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    QList<QRegularExpression> patterns;
    for (const QString &t : texts) {
        QString p = QRegularExpression::escape(t).replace(QRegularExpression("%\\d"), ".*?");
        if (t.front().isLetter())
            p.prepend("(?<![A-Za-z])");
        if (t.back().isLetter())
            p.append("(?![A-Za-z])");
        patterns << QRegularExpression(p);
    }
    return patterns;
}

// The English words of a text that the texts given in English do not account for. Data are no
// such words: the record fields and the plate tables' header as the modules name them
// ("I2c packet loss", "zupt", "state 1", "Category(3)"), abbreviations (IMU, DC), identifiers
// and paths (calib_flag_h, IMU12, /dev/ttyS0), units, names (Allan, Excel), and the button texts
// of Qt's own dialog boxes.
QStringList strayEnglish(QString text, const QList<QRegularExpression> &given)
{
    static const QRegularExpression field("^([a-z][a-z0-9_]*( \\d+)?|I2c packet loss|Category\\(\\d+\\)|Cancel)$");
    if (field.match(text).hasMatch())
        return {};
    for (const QRegularExpression &g : given)
        text.replace(g, " ");
    static const QRegularExpression token("[A-Za-z][A-Za-z0-9_./:-]*");
    static const QSet<QString> units{"min", "s", "ms", "Hz", "MHz", "mA", "mV", "V", "A", "MB", "deg", "Allan",
                                     "AllanMES", "Excel"};
    QStringList words;
    for (auto it = token.globalMatch(text); it.hasNext();) {
        QString w = it.next().captured(0);
        while (w.endsWith(':') || w.endsWith('.') || w.endsWith('-'))
            w.chop(1);
        const bool data = w.contains(QRegularExpression("[0-9_/.]")) || w == w.toUpper() || units.contains(w)
            || w.size() < 2;
        if (!data)
            words << w;
    }
    return words;
}

bool containsText(const QStringList &lines, const QString &text)
{
    for (const QString &l : lines)
        if (l.endsWith(": " + text))
            return true;
    return false;
}
} // namespace

class TestEnglishPages : public QObject {
    Q_OBJECT
    ScriptedPrompter prompter;

private slots:
    void initTestCase()
    {
        registerMetaTypes();
        Prompter::install(&prompter);
    }
    void cleanupTestCase() { Prompter::install(nullptr); }

    void withTheEnglishTranslationNoPageShowsAChineseCharacter()
    {
        QTranslator english;
        QVERIFY(english.load(qEnvironmentVariable("TEST_BINARY_DIR") + "/English.qm"));
        QVERIFY(QCoreApplication::installTranslator(&english));
        QStringList texts;
        {
            AllWindows all;
            texts = all.texts();
        }
        QCoreApplication::removeTranslator(&english);
        QVERIFY(texts.size() > 500);
        QStringList chinese;
        for (const QString &t : texts)
            if (hasChinese(t))
                chinese << t;
        if (!chinese.isEmpty())
            qWarning().noquote() << "texts without an English translation:\n" + chinese.join('\n');
        QCOMPARE(chinese.size(), 0);
        for (const auto &s : kSamples) {
            QVERIFY2(containsText(texts, s.second), qPrintable(s.second));
            QVERIFY2(!containsText(texts, s.first), qPrintable(s.first));
        }
    }

    void withoutTheTranslationThePagesShowTheirSourceTexts()
    {
        AllWindows all;
        const QStringList texts = all.texts();
        int chinese = 0;
        for (const QString &t : texts)
            chinese += hasChinese(t) ? 1 : 0;
        QVERIFY(chinese > 200);
        for (const auto &s : kSamples) {
            QVERIFY2(containsText(texts, s.first), qPrintable(s.first));
            QVERIFY2(!containsText(texts, s.second), qPrintable(s.second));
        }
    }

    // What a Chinese operator reads: the pages (also after administrator mode), the boxes and log
    // lines of a run's start and stop, the supply's output, the run-time texts.
    void inChineseNoPageBoxOrLogLineShowsAnEnglishTextOfTheProgram()
    {
        getSettings()->remove("removeTableWidget");
        const QList<QRegularExpression> given = givenEnglishTexts();
        QVERIFY(given.size() > 100);
        const Language chinese(false);
        ScriptedConsoleDialogs dialogs;
        ConsoleDialogs::install(&dialogs);
        prompter.shown.clear();
        QStringList texts;
        {
            AllWindows all;
            MultiCalib *console = all.main->multiCalib();
            Ui::MultiCalib *ui = console->form();
            // Administrator mode puts its pages back under their labels.
            dialogs.texts = QStringList{"580417"};
            console->on_pushButton_show_setting_page();
            // A start without its links, a stop by the chamber page's button, a start refused
            // while a run is under way, a supply that did not confirm its switch.
            ui->pushButton_hothouse_cmd_auto_include_dc_control->click();
            QVERIFY(console->runGuard()->begin(RunGuard::TempRetest));
            ui->pushButton_hothouse_cmd_stop->click();
            QVERIFY(console->runGuard()->begin(RunGuard::TempScript));
            ui->pushButton_temperature_retest->click();
            console->supplySwitchReadBack(1, false);
            QVERIFY(console->runGuard()->idle());
            console->linkLost_DC_power("ttyUSB0");
            // The operator closes the chamber link and asks for an FTP upload with no server set.
            g_hothouse_connected = 1;
            console->on_clicked_pushButton_connect_calib_hot_house_ctrl();
            getSettings()->remove("ftp/serverAddress");
            console->on_pushButton_ftpUpload_clicked();
            for (const QString &t : all.texts()) // "where: text"
                texts << t.mid(t.indexOf(": ") + 2);
            const QStringList log = console->logWindow()->text().split('\n');
            for (const char *line : {"Chamber link closed", "FTP upload: no server address in the settings (ftp/serverAddress)"})
                QVERIFY2(!log.filter(MultiCalib::tr(line)).isEmpty(), line);
            texts << log;
            texts << TempScript::hoursMinutes(3 * 3600 + 20 * 60) << TempScript::stepText(0) << TempScript::stepText(1);
            texts << RunGuard::busyText(RunGuard::OneClick) << RunGuard::missingLinks(0xFF, 0);
        }
        ConsoleDialogs::install(nullptr);
        for (const auto &box : prompter.shown)
            texts << box.title << box.text;
        QVERIFY(prompter.shown.size() >= 4);
        QVERIFY(texts.size() > 500);
        QStringList english;
        for (const QString &t : texts) {
            const QStringList stray = strayEnglish(t, given);
            if (!stray.isEmpty())
                english << QString("%1   [%2]").arg(t, stray.join(' '));
        }
        if (!english.isEmpty())
            qWarning().noquote() << "texts of the program shown in English:\n" + english.join('\n');
        QCOMPARE(english.size(), 0);
        QVERIFY(chinese.installed);
    }

    void consolePagesHoldTheirWidgetsNameTheirFieldsAndShowWholeTexts_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QSize>("size");
        QTest::newRow("Chinese, form size") << false << QSize(1131, 711);
        QTest::newRow("Chinese, larger") << false << QSize(1600, 1000);
        QTest::newRow("English, form size") << true << QSize(1131, 711);
        QTest::newRow("English, larger") << true << QSize(1600, 1000);
    }
    void consolePagesHoldTheirWidgetsNameTheirFieldsAndShowWholeTexts()
    {
        QFETCH(bool, english);
        QFETCH(QSize, size);
        getSettings()->remove("removeTableWidget"); // every page shown
        const Language language(english);
        QVERIFY(language.installed);
        MultiCalib console;
        Ui::MultiCalib *ui = console.form();
        // Every IMU failed: the longest list of failed positions stays on its page.
        QString positions;
        for (int plate = 1; plate <= 16; ++plate)
            for (int imu = 1; imu <= 32; ++imu)
                positions += badPositionText(plate, imu);
        ui->label_result_ng_position->setText(positions);
        // The longest run-time texts of the time and status displays, which must show whole.
        auto mc = [](const char *source) { return QCoreApplication::translate("MultiCalib", source); };
        const QString stamp = ChamberLog::timeText(QDateTime(QDate(2026, 12, 27), QTime(23, 59, 59)));
        const QString hoursMinutes = TempScript::hoursMinutes(99 * 3600 + 59 * 60);
        const QList<QPair<QWidget *, QString>> runTexts = {
            {ui->label_wenxiang_auto_current_time, mc("Update time:") + stamp + mc(" - chamber log not written")},
            {ui->label_dc_power_current_time, mc("Update time:") + stamp + mc(" - supply log not written")},
            {ui->label_wenxiang_left_run_time, mc("Remaining time:") + hoursMinutes},
            {ui->label_turn_table_left_run_time_advanced, mc("%1小时%2分钟%3秒").arg(99).arg(59).arg(59)},
            {ui->label_turn_table_current_time_auto, stamp},
            {ui->textEdit_hothouse_current_status, mc("Insulation: 25. Remaining time:%1s").arg(1800)},
            {ui->textEdit_hothouse_current_loops, TempScript::stepText(0)},
            {ui->textEdit_hothouse_set_temperature, mc("Warm box slave mode")}};
        for (const auto &t : runTexts) {
            if (auto *l = qobject_cast<QLabel *>(t.first))
                l->setText(t.second);
            else
                static_cast<QTextEdit *>(t.first)->setPlainText(t.second);
        }
        console.resize(size);
        console.show();
        QVERIFY(QTest::qWaitForWindowExposed(&console));

        QStringList outside, misplaced, cut;
        QSet<QString> checked;
        for (QTabWidget *tabs : {ui->tabWidget_top, ui->tabWidget_bottom}) {
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                QWidget *page = tabs->widget(i);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
                QCoreApplication::processEvents();
                outside << widgetsOutside(page, tabs->tabText(i));
                for (const auto &pair : kCaptions) {
                    QWidget *field = page->findChild<QWidget *>(pair.first);
                    if (!field)
                        continue;
                    checked << pair.first;
                    QLabel *caption = nullptr;
                    for (QLabel *l : page->findChildren<QLabel *>())
                        caption = l->buddy() == field ? l : caption;
                    const QString text = QCoreApplication::translate("MultiCalib", pair.second);
                    if (!caption || caption->text() != text || !caption->isVisibleTo(page) || !field->isVisibleTo(page)
                        || !namesField(rectOnPage(caption, page), rectOnPage(field, page)))
                        misplaced << QString("%1 for %2: \"%3\"").arg(text, pair.first, caption ? caption->text() : "no caption");
                }
            }
        }
        for (const auto &t : runTexts) { // each page was laid out above
            int room = t.first->contentsRect().width();
            if (auto *e = qobject_cast<QTextEdit *>(t.first))
                room = e->viewport()->width() - 2 * int(e->document()->documentMargin());
            auto *l = qobject_cast<QLabel *>(t.first);
            const bool fits = l && l->wordWrap() ? l->heightForWidth(l->width()) <= l->height()
                                                 : t.first->fontMetrics().horizontalAdvance(t.second) <= room;
            if (!fits)
                cut << QString("%1 cuts \"%2\" (%3 px wide)").arg(t.first->objectName(), t.second).arg(room);
        }
        QCOMPARE(checked.size(), kCaptions.size());
        if (!outside.isEmpty())
            qWarning().noquote() << "outside their page:\n" + outside.join('\n');
        if (!misplaced.isEmpty())
            qWarning().noquote() << "captions not beside their field:\n" + misplaced.join('\n');
        if (!cut.isEmpty())
            qWarning().noquote() << "texts wider than their display:\n" + cut.join('\n');
        QVERIFY(outside.isEmpty());
        QVERIFY(misplaced.isEmpty());
        QVERIFY(cut.isEmpty());

    }

    void theCommandPageHoldsEveryControlInItsWindow_data()
    {
        QTest::addColumn<bool>("english");
        QTest::newRow("Chinese") << false;
        QTest::newRow("English") << true;
    }
    // The internal tests too: they lay below the window's bottom edge.
    void theCommandPageHoldsEveryControlInItsWindow()
    {
        QFETCH(bool, english);
        const Language language(english);
        QVERIFY(language.installed);
        MultiCalib console;
        QWidget *page = console.commandPage();
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page));
        const QStringList outside = widgetsOutside(page, page->windowTitle());
        QVERIFY2(outside.isEmpty(), qPrintable(outside.join('\n')));
        const QList<QPair<QString, QString>> captions = {{"label_113", "multi_pos_add_angle"}, {"label_114", "multi_pos_static_time"}};
        for (const auto &pair : captions) {
            auto *caption = page->findChild<QLabel *>(pair.first);
            QWidget *field = page->findChild<QWidget *>(pair.second);
            QVERIFY(caption && field);
            QCOMPARE(caption->buddy(), field);
            QVERIFY(namesField(rectOnPage(caption, page), rectOnPage(field, page)));
        }
        page->close();
    }

    void storedPageRemovalsApplyWhateverLanguageTheTabsShow()
    {
        // The settings hold the page-table names; the tabs show English.
        QSettings *s = getSettings();
        s->setValue("removeTableWidget/removeName10", QString::fromUtf8("底板9"));
        s->setValue("removeTableWidget/removeName6", QString::fromUtf8("温箱手动"));
        QTranslator english;
        QVERIFY(english.load(qEnvironmentVariable("TEST_BINARY_DIR") + "/English.qm"));
        QVERIFY(QCoreApplication::installTranslator(&english));
        {
            MultiCalib console;
            Ui::MultiCalib *ui = console.form();
            QWidget *plate9 = ui->tableWidget_calib_multi9->parentWidget();
            while (plate9->parentWidget() && !qobject_cast<QStackedWidget *>(plate9->parentWidget()))
                plate9 = plate9->parentWidget();
            QCOMPARE(ui->tabWidget_bottom->indexOf(plate9), -1);
            QCOMPARE(ui->tabWidget_top->indexOf(ui->tab_wenxiang_manual), -1);
            QCOMPARE(ui->tabWidget_bottom->count(), 18); // 19 pages with the shield grid, one removed
            // Put back by the configuration page: the plate's own place and its English label.
            ui->comboBox_remove_tableWidget_items->setCurrentIndex(8); // plate 9
            ui->pushButton_add_tableWidget_top->click();
            QCOMPARE(ui->tabWidget_bottom->indexOf(plate9), 9);
            QCOMPARE(ui->tabWidget_bottom->tabText(9), QString("Plate 9"));
            QCOMPARE(s->value("removeTableWidget/removeName10").toString(), QString());
        }
        QCoreApplication::removeTranslator(&english);
        s->remove("removeTableWidget");
    }
};

QTEST_MAIN(TestEnglishPages)
#include "test_english_pages.moc"
