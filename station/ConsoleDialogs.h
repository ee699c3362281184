#pragma once
// The console's file and text input dialogs go through one chooser, so tests answer them and
// nothing waits for a person who is not there.
#include <QLineEdit>
#include <QString>
#include <QStringList>

class QWidget;

class ConsoleDialogs {
public:
    virtual ~ConsoleDialogs() = default;

    // An open-file dialog; empty when cancelled.
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &folder,
                                 const QString &filter) = 0;
    // A one-line text input; *ok is false when cancelled.
    virtual QString textInput(QWidget *parent, const QString &title, const QString &label,
                              QLineEdit::EchoMode echo, const QString &text, bool *ok) = 0;

    static ConsoleDialogs &instance();
    // Installs a chooser (caller keeps ownership); nullptr restores the real dialogs.
    static void install(ConsoleDialogs *d);
};

// Records every request and answers from a script: files in order (empty: cancelled), texts
// in order (a null text: cancelled).
class ScriptedConsoleDialogs : public ConsoleDialogs {
public:
    QString openFileName(QWidget *, const QString &caption, const QString &folder,
                         const QString &filter) override
    {
        asked << caption + "|" + folder + "|" + filter;
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString textInput(QWidget *, const QString &title, const QString &label,
                      QLineEdit::EchoMode echo, const QString &, bool *ok) override
    {
        asked << title + "|" + label + "|" + QString::number(int(echo));
        const QString t = texts.isEmpty() ? QString() : texts.takeFirst();
        if (ok)
            *ok = !t.isNull();
        return t;
    }
    QStringList asked;
    QStringList files;
    QStringList texts;
};
