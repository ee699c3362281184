#pragma once
// Records the geometry and font of a window's widgets at a base size and rescales them on
// every resize: widths and heights by their own factors, fonts by the smaller one.
#include <QFont>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

class AutoResize {
public:
    enum Kind { Labels = 1, Inputs = 2, Containers = 4, All = 7 };
    AutoResize(QWidget *window, float baseWidth, float baseHeight);
    void setResizeKinds(int mask) { m_kinds = mask; }
    void addExtraWidget(QWidget *w) { m_extra.append(w); }
    void collectItems();
    void applyScale();

private:
    struct Item {
        QPointer<QWidget> widget;
        QRect geometry;
        QFont font;
    };
    void record(QWidget *w);

    QWidget *m_window;
    float m_baseWidth;
    float m_baseHeight;
    int m_kinds = All;
    QList<QWidget *> m_extra;
    QList<Item> m_items;
};
