#pragma once
#include <QWidget>

// Page 5: offline decoding of recorded data files.
class DecodeDlg : public QWidget {
    Q_OBJECT
public:
    explicit DecodeDlg(QWidget *parent = nullptr);
};
