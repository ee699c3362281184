#pragma once
// The station's parameter dialog: step times of the turntable sequences, the chamber script's
// cool-down rate and modes, the static Allan quiet time, the live IMU display and the DC
// supply's register scaling. It writes the process-wide station values (equipment/StationValues.h)
// and keeps four of them in the settings file.
#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class Settings;
}

class Settings : public QDialog {
    Q_OBJECT
public:
    explicit Settings(QWidget *parent = nullptr);
    ~Settings() override;

    Ui::Settings *form() const { return ui.get(); }

    // Sets the four DC supply scaling values of a model (1 to 3); false (nothing set) for
    // "UNKNOWN" or an unknown index.
    static bool applyDcModel(int model);

public slots:
    // Applies and stores the dialog; a refused field shows a box naming it and applies nothing.
    void on_buttonBox_accepted();
    // OK closes the dialog only when every field holds a value its setting can take.
    void accept() override;

signals:
    void Send_QString_times(QString text);
    // OK stored the supply model: it applies at once.
    void dcModelStored();

private:
    struct Entered {
        uint8_t moveTime, accTime, gyroTime, gyroNonlinearityTime, accNonlinearityTime, quietTime;
        float coolDownRate;
    };
    // Reads every field; false at the first one refused, with its box when `tell` is set.
    bool readFields(Entered &out, bool tell);

    std::unique_ptr<Ui::Settings> ui;
};
