#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The four message boxes the program shows. Core code reports through this
// seam only; the windows pass the Qt implementation, tests a recorder.
namespace platform {

class Prompts {
public:
    virtual ~Prompts() = default;
    virtual void warning(const QString& text) = 0;     // warning, OK
    virtual void information(const QString& text) = 0; // information, OK
    virtual bool confirm(const QString& text) = 0;     // confirmation, Yes (true) / No
    virtual void plain(const QString& text) = 0;       // plain, OK
};

// Test double: records every box and answers confirmations from a script
// (Yes when the script has run out).
class RecordingPrompts final : public Prompts {
public:
    enum class Kind { Warning, Information, Confirmation, Plain };
    struct Shown {
        Kind kind;
        QString text;
    };

    void warning(const QString& text) override { shown.append({Kind::Warning, text}); }
    void information(const QString& text) override { shown.append({Kind::Information, text}); }
    bool confirm(const QString& text) override {
        shown.append({Kind::Confirmation, text});
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    void plain(const QString& text) override { shown.append({Kind::Plain, text}); }

    QStringList texts() const {
        QStringList all;
        for (const Shown& s : shown)
            all.append(s.text);
        return all;
    }

    QList<Shown> shown;
    QList<bool> answers;
};

} // namespace platform
