#include "station/TableView.h"

#include "app/CheckBoxDelegate.h"

TableView::TableView() : m_model(new QStandardItemModel(kRows, kColumns))
{
    setModel(m_model);
    for (int c = 0; c < kColumns; ++c) {
        const QString title = c < 32 ? QString("IMU%1").arg(c + 1) : tr("整个底板");
        m_model->setHeaderData(c, Qt::Horizontal, title, Qt::EditRole);
        auto *d = new CheckBoxDelegate;
        d->setColumn(c);
        setItemDelegateForColumn(c, d);
        m_delegates << d;
    }
}

// The model and the delegates live as long as the console; the grid is never destroyed
// before it.
TableView::~TableView() = default;

QString TableView::cellText(int row, int column) const
{
    return m_model->index(row, column).data(Qt::DisplayRole).toString();
}

void TableView::setCellChecked(int row, int column, bool value)
{
    m_model->setData(m_model->index(row, column), value, Qt::EditRole);
}
