#pragma once

#include "prompts.h"

class QWidget;

namespace platform {

// The real message boxes, with German buttons.
class QtPrompts final : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr)
        : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void warning(const QString& text) override;
    void information(const QString& text) override;
    bool confirm(const QString& text) override;
    void plain(const QString& text) override;

private:
    QWidget* parent_;
};

} // namespace platform
