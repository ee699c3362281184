#pragma once
// Every modal box of the program goes through the prompter, so tests script the answers and
// nothing waits for a person who is not there.
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

class Prompter {
public:
    enum class Kind { Information, Warning, Critical, Question, Notice };
    virtual ~Prompter() = default;

    // A box with the given buttons; returns the button pressed.
    virtual QMessageBox::StandardButton ask(Kind kind, QWidget *parent, const QString &title,
                                            const QString &text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) = 0;

    // Shortcuts.
    void information(QWidget *parent, const QString &title, const QString &text)
    {
        ask(Kind::Information, parent, title, text, QMessageBox::Ok, QMessageBox::Ok);
    }
    void warning(QWidget *parent, const QString &title, const QString &text)
    {
        ask(Kind::Warning, parent, title, text, QMessageBox::Ok, QMessageBox::Ok);
    }
    void critical(QWidget *parent, const QString &title, const QString &text)
    {
        ask(Kind::Critical, parent, title, text, QMessageBox::Ok, QMessageBox::Ok);
    }
    QMessageBox::StandardButton question(QWidget *parent, const QString &title,
                                         const QString &text,
                                         QMessageBox::StandardButtons buttons
                                         = QMessageBox::Yes | QMessageBox::No,
                                         QMessageBox::StandardButton def = QMessageBox::No)
    {
        return ask(Kind::Question, parent, title, text, buttons, def);
    }
    // Information box titled "notice" that closes itself after 2000 ms.
    void notice(const QString &text)
    {
        ask(Kind::Notice, nullptr, "notice", text, QMessageBox::Ok, QMessageBox::Ok);
    }

    static Prompter &instance();
    // Installs a prompter (caller keeps ownership); nullptr restores the message boxes.
    static void install(Prompter *p);
};

// Records every box and answers from a script (the default button when the script is empty).
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        Kind kind;
        QString title;
        QString text;
    };
    QMessageBox::StandardButton ask(Kind kind, QWidget *, const QString &title, const QString &text,
                                    QMessageBox::StandardButtons,
                                    QMessageBox::StandardButton def) override
    {
        shown.append({kind, title, text});
        if (whileShown)
            whileShown(text);
        return answers.isEmpty() ? def : answers.takeFirst();
    }
    QStringList texts() const
    {
        QStringList t;
        for (const Shown &s : shown)
            t << s.text;
        return t;
    }
    QList<Shown> shown;
    QList<QMessageBox::StandardButton> answers;
    // Runs while a box is up, before it is answered: what happens while a modal box waits.
    std::function<void(const QString &text)> whileShown;
    // Sets whileShown until the returned object goes, however the caller ends.
    struct WhileShown {
        ScriptedPrompter &prompter;
        ~WhileShown() { prompter.whileShown = nullptr; }
    };
    [[nodiscard]] WhileShown whileEachShown(std::function<void(const QString &text)> f)
    {
        whileShown = std::move(f);
        return WhileShown{*this};
    }
};

// The auto-closing notice box.
void show_notice(const QString &text);
