#include "app/AutoResize.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

AutoResize::AutoResize(QWidget *window, float baseWidth, float baseHeight)
    : m_window(window), m_baseWidth(baseWidth > 0 ? baseWidth : 1), m_baseHeight(baseHeight > 0 ? baseHeight : 1)
{
}

void AutoResize::record(QWidget *w)
{
    for (const Item &i : m_items)
        if (i.widget == w)
            return;
    m_items.append({w, w->geometry(), w->font()});
}

void AutoResize::collectItems()
{
    m_items.clear();
    for (QWidget *w : m_extra)
        record(w);
    const auto children = m_window->findChildren<QWidget *>();
    for (QWidget *w : children) {
        const bool label = qobject_cast<QLabel *>(w);
        const bool input = qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractButton *>(w)
            || qobject_cast<QLineEdit *>(w) || qobject_cast<QTextEdit *>(w)
            || qobject_cast<QPlainTextEdit *>(w);
        const bool container = qobject_cast<QGroupBox *>(w);
        if ((label && (m_kinds & Labels)) || (input && (m_kinds & Inputs))
            || (container && (m_kinds & Containers)))
            record(w);
    }
}

void AutoResize::applyScale()
{
    const float sx = m_window->width() / m_baseWidth;
    const float sy = m_window->height() / m_baseHeight;
    const float sf = qMin(sx, sy);
    for (const Item &i : m_items) {
        if (!i.widget)
            continue;
        // Widgets placed by a layout keep their place; only free ones are moved.
        if (!i.widget->parentWidget() || !i.widget->parentWidget()->layout())
            i.widget->setGeometry(int(i.geometry.x() * sx), int(i.geometry.y() * sy),
                                  int(i.geometry.width() * sx), int(i.geometry.height() * sy));
        QFont f = i.font;
        if (f.pointSizeF() > 0)
            f.setPointSizeF(qMax(1.0, f.pointSizeF() * sf));
        else if (f.pixelSize() > 0)
            f.setPixelSize(qMax(1, int(f.pixelSize() * sf)));
        i.widget->setFont(f);
    }
}
