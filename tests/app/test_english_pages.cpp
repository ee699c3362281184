// Every page and window of the program with and without the English translation: with
// "English.qm" loaded no visible text holds a Chinese character; without it the pages show
// their source texts.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTranslator>

#include <memory>

#include "app/MainWindow.h"
#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "production/ExcelPrintfDlg.h"
#include "production/PDFPrintDlg.h"
#include "station/FrmShowLog.h"
#include "station/MultiCalib.h"
#include "ui_MultiCalib.h"

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
