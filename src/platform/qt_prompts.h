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

protected:
    bool show(Kind kind, const QString& text, const QString& title) override;

private:
    QWidget* parent_;
};

} // namespace platform
