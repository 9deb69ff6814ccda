#pragma once

#include <QString>

namespace platform {

// The system clipboard, which receives the search text for pasting it into a
// web site. Behind a seam so that tests do not touch the user's clipboard.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
};

} // namespace platform
