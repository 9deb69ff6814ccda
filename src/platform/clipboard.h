#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The system clipboard, which receives the search text for pasting it into a
// web site. Behind a seam so that tests do not touch the user's clipboard.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
};

// Test double: keeps every text in order.
class MemoryClipboard final : public Clipboard {
public:
    void setText(const QString& text) override { copied.append(text); }
    QString text() const { return copied.isEmpty() ? QString() : copied.last(); }
    QStringList copied;
};

} // namespace platform
