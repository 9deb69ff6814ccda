#pragma once

#include "indexing/index_run.h"
#include "platform/prompts.h"

#include <functional>

namespace testsupport {

// Shows the run's messages in the boxes of `prompts`, as the main window does.
inline std::function<void(const indexing::IndexMessage&)> messagesTo(platform::Prompts& prompts) {
    return [&prompts](const indexing::IndexMessage& message) {
        if (message.warning())
            prompts.warning(message.text);
        else
            prompts.information(message.text);
    };
}

} // namespace testsupport
