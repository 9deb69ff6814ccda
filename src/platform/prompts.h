#pragma once

#include <QString>

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

} // namespace platform
