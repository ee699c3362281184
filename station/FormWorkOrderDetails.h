#pragma once
// The work-order dialog: the work order number, the operator's id and the equipment of a run.
// It only collects and reports; the console stores the values and hides it.
#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

namespace Ui {
class FormWorkOrderDetails;
}

class FormWorkOrderDetails : public QDialog {
    Q_OBJECT
public:
    explicit FormWorkOrderDetails(QWidget *parent = nullptr);
    ~FormWorkOrderDetails() override;

    Ui::FormWorkOrderDetails *form() const { return ui.get(); }

    // Shows the dialog (not modal) and waits in a local event loop, which keeps timers and
    // reports running, until the dialog reports its answer (signalInputParamFinished).
    void showAndWait();

    // The answering seam: when installed, it is called (queued, inside the wait) each time the
    // dialog is shown for an answer, and answers in place of a person. Empty restores the person.
    using Answerer = std::function<void(FormWorkOrderDetails &)>;
    static void installAnswerer(Answerer answerer);

    // A close by the window frame or Escape answers like Cancel, so no wait is left open.
    void reject() override;

signals:
    void signalInputParam(QString workOrderNum, QString operatorId, QString equipment, bool confirmed);
    void signalInputParamFinished();

public slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::FormWorkOrderDetails> ui;
};
