// The console's port lists with their saved choices, and the IMU selection file.
#include "station/MultiCalib.h"

#include "ui_MultiCalib.h"

#include <QDebug>
#include <QFontMetrics>
#include <QListView>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "app/SerialPorts.h"
#include "app/Settings.h"
#include "station/ConsoleLogic.h"
#include "station/TableView.h"

namespace {
struct EquipmentKey {
    const char *key;
    const char *fallback;
};
}

QList<QComboBox *> MultiCalib::portCombos() const
{
    QList<QComboBox *> all = m_rackPortCombos;
    all << ui->comboBox_calib_multi_turn_table << ui->comboBox_calib_multi_hot_house << ui->comboBox_calib_multi_turn_table_2
        << ui->comboBox_calib_multi_DC_power << ui->comboBox_calib_multi_serial_net;
    return all;
}

void MultiCalib::setAdjustToContentOfComboBox(QComboBox *combo)
{
    QAbstractItemView *view = combo->view();
    const QFontMetrics fm(view->font());
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(combo->itemText(i)));
    view->setFixedWidth(widest + view->verticalScrollBar()->depth());
}

void MultiCalib::setViewAndItemDelegate(QComboBox *combo)
{
    combo->setView(new QListView);
    combo->setItemDelegate(new QStyledItemDelegate(combo));
}

void MultiCalib::on_pushButton_connect_renew_com_ports_clicked()
{
    const QList<QComboBox *> combos = portCombos();
    for (QComboBox *c : combos) {
        setViewAndItemDelegate(c);
        if (c->count() > 0)
            c->clear();
    }
    QStringList items;
    for (const QString &text : availablePortTexts()) {
        const QString port = portNameOf(text);
        if (port.isEmpty())
            continue;
        const QString description = text.mid(text.indexOf(' ') + 1).section('(', 0, 0);
        items << port + " # " + (text.contains(' ') ? description : QString());
    }
    for (QComboBox *c : combos) {
        if (!items.isEmpty())
            c->addItem("");
        c->addItems(items);
        setAdjustToContentOfComboBox(c);
    }
    if (items.isEmpty())
        return;
    QSettings *s = getSettings();
    for (int i = 0; i < kRackLinks; ++i) {
        const QString saved = s->value(QString("serial_port_index/serial_multi%1").arg(i), QString("COM%1").arg(i)).toString();
        const int k = m_rackPortCombos[i]->findText(saved);
        if (k >= 0)
            m_rackPortCombos[i]->setCurrentIndex(k);
    }
    const QList<QPair<QComboBox *, EquipmentKey>> equipment = {
        {ui->comboBox_calib_multi_turn_table, {"serial_port_index/serial_table", "COM11"}},
        {ui->comboBox_calib_multi_turn_table_2, {"serial_port_index/serial_table2", "COM11"}},
        {ui->comboBox_calib_multi_serial_net, {"serial_port_index/serial_net", "COM11"}},
        {ui->comboBox_calib_multi_hot_house, {"serial_port_index/serial_hot_house", "COM12"}},
        {ui->comboBox_calib_multi_DC_power, {"serial_port_index/serial_dc_power", "COM12"}}};
    for (const auto &e : equipment) {
        const int k = e.first->findText(s->value(e.second.key, e.second.fallback).toString());
        if (k >= 0)
            e.first->setCurrentIndex(k);
    }
}

void MultiCalib::on_pushButton_connect_save_current_port_index_clicked()
{
    QSettings *s = getSettings();
    for (int i = 0; i < kRackLinks; ++i)
        s->setValue(QString("serial_port_index/serial_multi%1").arg(i), m_rackPortCombos[i]->currentText());
    s->setValue("serial_port_index/serial_table", ui->comboBox_calib_multi_turn_table->currentText());
    s->setValue("serial_port_index/serial_table2", ui->comboBox_calib_multi_turn_table_2->currentText());
    s->setValue("serial_port_index/serial_net", ui->comboBox_calib_multi_serial_net->currentText());
    s->setValue("serial_port_index/serial_hot_house", ui->comboBox_calib_multi_hot_house->currentText());
    s->setValue("serial_port_index/serial_dc_power", ui->comboBox_calib_multi_DC_power->currentText());
    s->sync();
}

// ---- selection file

void MultiCalib::ensureConfigDir(const QString &folder) { SelectionFile::ensureConfigDir(folder); }
void MultiCalib::ensureSelectFile(const QString &path) { SelectionFile::ensureSelectFile(path); }

bool MultiCalib::readSelectState(int plate, int column) const
{
    return SelectionFile(m_selectFilePath).read(plate, column);
}

void MultiCalib::writeSelectState(int plate, int column, bool value)
{
    QVector<bool> cells = SelectionFile(m_selectFilePath).readAll();
    cells[plate * SelectionFile::kColumns + column] = value;
    SelectionFile(m_selectFilePath).save(cells);
}

void MultiCalib::on_pushButton_ReadLastSelectState_clicked()
{
    qDebug() << (m_selectionReadOnce ? "手动点击读取屏蔽状态" : "程序自启动读取屏蔽状态");
    m_selectionReadOnce = true;
    const QVector<bool> cells = SelectionFile(m_selectFilePath).readAll();
    for (int p = 0; p < TableView::kRows; ++p)
        for (int c = 0; c < TableView::kColumns; ++c)
            m_selectGrid->setCellChecked(p, c, cells[p * SelectionFile::kColumns + c]);
}

void MultiCalib::on_pushButton_SaveSelectState_clicked()
{
    QVector<bool> cells(SelectionFile::kRows * SelectionFile::kColumns, false);
    for (int p = 0; p < TableView::kRows; ++p)
        for (int c = 0; c < TableView::kColumns; ++c) {
            const QString t = m_selectGrid->cellText(p, c);
            cells[p * SelectionFile::kColumns + c] = t == "true" || t == "1";
        }
    SelectionFile(m_selectFilePath).save(cells);
}
