#include "app/Prompter.h"

#include <QTimer>
#include <atomic>

namespace {
class BoxPrompter : public Prompter {
public:
    QMessageBox::StandardButton ask(Kind kind, QWidget *parent, const QString &title,
                                    const QString &text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton def) override
    {
        QMessageBox::Icon icon = QMessageBox::Information;
        switch (kind) {
        case Kind::Warning: icon = QMessageBox::Warning; break;
        case Kind::Critical: icon = QMessageBox::Critical; break;
        case Kind::Question: icon = QMessageBox::Question; break;
        default: break;
        }
        QMessageBox box(icon, title, text, buttons, parent);
        box.setDefaultButton(def);
        if (kind == Kind::Notice)
            QTimer::singleShot(2000, &box, &QMessageBox::accept);
        const int r = box.exec();
        if (kind == Kind::Notice)
            return QMessageBox::Ok;
        return QMessageBox::StandardButton(r);
    }
};

BoxPrompter &boxPrompter()
{
    static BoxPrompter p;
    return p;
}
std::atomic<Prompter *> g_prompter{nullptr};
} // namespace

Prompter &Prompter::instance()
{
    Prompter *p = g_prompter.load();
    return p ? *p : boxPrompter();
}

void Prompter::install(Prompter *p)
{
    g_prompter.store(p);
}

void show_notice(const QString &text)
{
    Prompter::instance().notice(text);
}
