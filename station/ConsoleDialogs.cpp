#include "station/ConsoleDialogs.h"

#include <QFileDialog>
#include <QInputDialog>

#include <atomic>

namespace {
class RealDialogs : public ConsoleDialogs {
public:
    QString openFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, folder, filter);
    }
    QString textInput(QWidget *parent, const QString &title, const QString &label,
                      QLineEdit::EchoMode echo, const QString &text, bool *ok) override
    {
        return QInputDialog::getText(parent, title, label, echo, text, ok);
    }
};

std::atomic<ConsoleDialogs *> g_dialogs{nullptr};
} // namespace

ConsoleDialogs &ConsoleDialogs::instance()
{
    static RealDialogs real;
    ConsoleDialogs *d = g_dialogs.load();
    return d ? *d : real;
}

void ConsoleDialogs::install(ConsoleDialogs *d) { g_dialogs.store(d); }
