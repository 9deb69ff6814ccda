#pragma once

#include "clipboard.h"

namespace platform {

// The desktop's clipboard (QGuiApplication::clipboard).
class QtClipboard final : public Clipboard {
public:
    void setText(const QString& text) override;
};

} // namespace platform
