#include "app/CheckBoxDelegate.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

CheckBoxDelegate::CheckBoxDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QRect CheckBoxDelegate::checkBoxRect(const QStyleOptionViewItem &option)
{
    QStyleOptionButton box;
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    const QRect r = style->subElementRect(QStyle::SE_CheckBoxIndicator, &box, option.widget);
    return QRect(option.rect.x() + (option.rect.width() - r.width()) / 2,
                 option.rect.y() + (option.rect.height() - r.height()) / 2, r.width(), r.height());
}

void CheckBoxDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    if (index.column() != m_column) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem bg = option;
    initStyleOption(&bg, index);
    bg.text.clear();
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &bg, painter, option.widget);

    QStyleOptionButton box;
    box.rect = checkBoxRect(option);
    box.state = QStyle::State_Enabled | (index.data().toBool() ? QStyle::State_On : QStyle::State_Off);
    style->drawControl(QStyle::CE_CheckBox, &box, painter, option.widget);
}

bool CheckBoxDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                   const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (index.column() != m_column)
        return QStyledItemDelegate::editorEvent(event, model, option, index);

    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() != Qt::LeftButton)
            return true; // consumed, no change
        if (!checkBoxRect(option).contains(me->pos()))
            return false;
        break;
    }
    case QEvent::MouseButtonDblClick:
        return true;
    case QEvent::KeyPress: {
        auto *ke = static_cast<QKeyEvent *>(event);
        if (ke->key() != Qt::Key_Space && ke->key() != Qt::Key_Select)
            return false;
        break;
    }
    default:
        return false;
    }
    return model->setData(index, !index.data().toBool(), Qt::EditRole);
}
