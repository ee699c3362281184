#pragma once
// The IMU selection grid: 16 plates x 32 IMU positions plus a whole-plate column of check
// boxes. A ticked cell shields that position from every verdict.
#include <QStandardItemModel>
#include <QTableView>

class CheckBoxDelegate;

class TableView : public QTableView {
    Q_OBJECT
public:
    TableView();
    ~TableView() override;

    // The cell's value as text: "true", "false", or empty when never set.
    QString cellText(int row, int column) const;
    void setCellChecked(int row, int column, bool value);
    QStandardItemModel *gridModel() const { return m_model; }

    static constexpr int kRows = 16;
    static constexpr int kColumns = 33;

private:
    QStandardItemModel *m_model;
    QList<CheckBoxDelegate *> m_delegates;
};
