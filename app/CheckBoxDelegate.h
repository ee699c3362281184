#pragma once
// Draws a centred check box in one column of a table and toggles the cell on mouse release,
// Space or Select.
#include <QStyledItemDelegate>

class CheckBoxDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CheckBoxDelegate(QObject *parent = nullptr);
    void setColumn(int column) { m_column = column; }
    int column() const { return m_column; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
    // The check box's rectangle inside a cell.
    static QRect checkBoxRect(const QStyleOptionViewItem &option);

private:
    int m_column = 0;
};
