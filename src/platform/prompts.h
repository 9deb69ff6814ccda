#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The message boxes the program shows. Core code reports through this seam
// only; the windows pass the Qt implementation, tests a recorder.
namespace platform {

class Prompts {
public:
    enum class Kind { Warning, Information, Confirmation, Plain, Error };

    virtual ~Prompts() = default;

    // The title of every box whose text the program's design gives no
    // title of its own.
    static QString defaultTitle() { return QStringLiteral("Trovex-ODT"); }

    void warning(const QString& text, const QString& title = defaultTitle()) {
        show(Kind::Warning, text, title); // warning icon, OK
    }
    void information(const QString& text, const QString& title = defaultTitle()) {
        show(Kind::Information, text, title); // information icon, OK
    }
    // Confirmation with Yes (true) and No.
    bool confirm(const QString& text, const QString& title = defaultTitle()) {
        return show(Kind::Confirmation, text, title);
    }
    void plain(const QString& text, const QString& title = defaultTitle()) {
        show(Kind::Plain, text, title); // no icon, OK
    }
    void error(const QString& text, const QString& title = defaultTitle()) {
        show(Kind::Error, text, title); // error icon, OK
    }

protected:
    // Shows one box and waits for it; the answer counts for a confirmation
    // only.
    virtual bool show(Kind kind, const QString& text, const QString& title) = 0;
};

// Test double: records every box and answers confirmations from a script
// (Yes when the script has run out).
class RecordingPrompts final : public Prompts {
public:
    struct Shown {
        Kind kind;
        QString text;
        QString title;
    };

    QStringList texts() const {
        QStringList all;
        for (const Shown& s : shown)
            all.append(s.text);
        return all;
    }

    QList<Shown> shown;
    QList<bool> answers;

protected:
    bool show(Kind kind, const QString& text, const QString& title) override {
        shown.append({kind, text, title});
        if (kind != Kind::Confirmation)
            return false;
        return answers.isEmpty() ? true : answers.takeFirst();
    }
};

} // namespace platform
