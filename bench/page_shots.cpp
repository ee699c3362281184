// Pictures of every page and window of the program, to check that their texts fit: the main
// window with each of its five pages, every tab of the console, the console's windows and the
// report dialogs. Run under Xvfb; writes one PNG a page into the folder named first, in the
// language of the translation file named second (the source texts without one), and lists
// every label, button, combo item and group title whose text is wider than the widget.
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
#include <QTranslator>

#include <cstdio>

#include "app/MainWindow.h"
#include "app/MetaTypes.h"
#include "app/Prompter.h"
#include "production/ExcelPrintfDlg.h"
#include "production/PDFPrintDlg.h"
#include "station/FrmShowLog.h"
#include "station/MultiCalib.h"
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
            if (l->wordWrap() || l->text().isEmpty())
                continue;
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
