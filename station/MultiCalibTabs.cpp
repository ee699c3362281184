// The console's removable pages: the start-up removal from the settings, the remove and add
// buttons of the configuration page, the insert positions and the plate identity check.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QDebug>
#include <QStackedWidget>

#include "app/Settings.h"
#include "station/ConsoleActions.h"

namespace {
// The page of a plate table: the tab page that holds it, so the table keeps its layout.
QWidget *pageHolding(QWidget *w)
{
    while (w->parentWidget() && !qobject_cast<QStackedWidget *>(w->parentWidget()))
        w = w->parentWidget();
    return w;
}
} // namespace

// The page put back for a key; null for key 2 and unknown keys.
static QWidget *pageOfKey(Ui::MultiCalib *ui, const QList<QTableWidget *> &plateTables, int key)
{
    switch (key) {
    case 1: return ui->tab;
    case 3: return ui->tab_2;
    case 4: return ui->tab_turntable_manual;
    case 5: return ui->tab_turntable_auto;
    case 6: return ui->tab_wenxiang_manual;
    case 7: return ui->tab_wenxiang_auto;
    case 8: return ui->tab_power_dc;
    case 9: return ui->tab_imu;
    default: break;
    }
    if (key >= ConsolePages::kFirstBottomKey && key <= ConsolePages::kKeys)
        return pageHolding(plateTables.value(key - ConsolePages::kFirstBottomKey + 8));
    return nullptr;
}

// The names of the shown pages: a known page counts under its page-table name whatever its
// label says (the administrator mode relabels some), any other tab under its text.
static QStringList shownNames(QTabWidget *tabs, Ui::MultiCalib *ui, const QList<QTableWidget *> &plateTables)
{
    QStringList names;
    for (int i = 0; i < tabs->count(); ++i) {
        QString name = tabs->tabText(i);
        for (int k = 1; k <= ConsolePages::kKeys; ++k)
            if (ConsolePages::hasPage(k) && tabs->widget(i) == pageOfKey(ui, plateTables, k))
                name = ConsolePages::pageName(k);
        names << name;
    }
    return names;
}

void MultiCalib::initTableWidgetFormConfig()
{
    QSettings *s = getSettings();
    QStringList top, bottom;
    for (int k = 1; k <= ConsolePages::kKeys; ++k) {
        const QString v = s->value(ConsolePages::settingsKey(k), "0").toString();
        (ConsolePages::isTopKey(k) ? top : bottom) << v;
    }
    s->sync();
    for (QTabWidget *tabs : {ui->tabWidget_top, ui->tabWidget_bottom}) {
        // Stored names are the page-table names, whatever language the tabs show.
        const QStringList texts = shownNames(tabs, ui.get(), m_plateTables);
        for (int index : ConsolePages::startupRemovals(texts, tabs == ui->tabWidget_top ? top : bottom))
            tabs->removeTab(index);
    }
}

void MultiCalib::on_pushButton_remove_tableWidget_top_clicked()
{
    const int i = ui->comboBox_remove_tableWidget_items->currentIndex();
    qDebug() << "当前索引：" << i << "当前移除表名字：" << ui->comboBox_remove_tableWidget_items->currentText();
    const int key = ConsolePages::keyOfComboItem(i);
    if (key == 0)
        return;
    const QString name = ConsolePages::pageName(key);
    QSettings *s = getSettings();
    s->setValue(ConsolePages::settingsKey(key), name);
    s->sync();
    QTabWidget *tabs = ConsolePages::isTopKey(key) ? ui->tabWidget_top : ui->tabWidget_bottom;
    const int index = tabs->indexOf(pageOfKey(ui.get(), m_plateTables, key));
    if (index >= 0)
        tabs->removeTab(index);
}

void MultiCalib::on_pushButton_add_tableWidget_top_clicked()
{
    const int key = ConsolePages::keyOfComboItem(ui->comboBox_remove_tableWidget_items->currentIndex());
    const QString name = key ? ConsolePages::pageName(key) : ui->comboBox_remove_tableWidget_items->currentText();
    addItemToTableWidgetTop(name);
    addItemToTableWidgetBottom(name);
}

void MultiCalib::addItemToTableWidgetTop(QString name)
{
    const int key = ConsolePages::keyOfName(name);
    QWidget *page = ConsolePages::isTopKey(key) ? pageOfKey(ui.get(), m_plateTables, key) : nullptr;
    if (page && !shownNames(ui->tabWidget_top, ui.get(), m_plateTables).contains(name)
        && ui->tabWidget_top->indexOf(page) < 0) {
        int index = 0;
        calcBeforeTabTopCount(index, name);
        ui->tabWidget_top->insertTab(index, page, tr(name.toUtf8().constData()));
        getSettings()->setValue(ConsolePages::settingsKey(key), QString());
    }
    getSettings()->sync();
}

void MultiCalib::addItemToTableWidgetBottom(QString name)
{
    const int key = ConsolePages::keyOfName(name);
    QWidget *page = key >= ConsolePages::kFirstBottomKey ? pageOfKey(ui.get(), m_plateTables, key) : nullptr;
    if (page && !shownNames(ui->tabWidget_bottom, ui.get(), m_plateTables).contains(name)
        && ui->tabWidget_bottom->indexOf(page) < 0) {
        int index = ConsolePages::kBottomBase;
        calcBeforeTabBottomCount(index, name);
        ui->tabWidget_bottom->insertTab(index, page, tr(name.toUtf8().constData()));
        getSettings()->setValue(ConsolePages::settingsKey(key), QString());
    }
    getSettings()->sync();
}

void MultiCalib::calcBeforeTabTopCount(int &index, QString name)
{
    index = ConsolePages::pagesBefore(shownNames(ui->tabWidget_top, ui.get(), m_plateTables), name, true, index);
}

void MultiCalib::calcBeforeTabBottomCount(int &index, QString name)
{
    index = ConsolePages::pagesBefore(shownNames(ui->tabWidget_bottom, ui.get(), m_plateTables), name, false, index);
}

int MultiCalib::calcInsertIndex(QString name, AddTableWidgetType type)
{
    int index = 0;
    if (type == TableWidgetTop) {
        calcBeforeTabTopCount(index, name);
        return index;
    }
    if (type == TableWidgetBottom) {
        index = ConsolePages::kBottomBase;
        calcBeforeTabBottomCount(index, name);
        return index;
    }
    return -1;
}

QString MultiCalib::getCurTableWidgetName(int index)
{
    if (index < 0 || index >= ui->tabWidget_top->count())
        return QString();
    return ui->tabWidget_top->tabText(index);
}

void MultiCalib::removeConfigPage()
{
    const int index = ui->tabWidget_top->indexOf(ui->tab_17);
    if (index >= 0)
        ui->tabWidget_top->removeTab(index);
}

bool MultiCalib::check_mother_board_sn_unique()
{
    QVector<bool> reported;
    QStringList identity;
    for (int p = 0; p < kPlates; ++p) {
        reported << m_plateReported[size_t(p)];
        identity << m_plateIdentity[size_t(p)];
    }
    return duplicatePlateIdentity(reported, identity);
}
