#pragma once

#include "platform/prompts.h"
#include "search/search_engine.h"

#include <functional>

namespace testsupport {

// Shows the search's notices in the boxes of `prompts`, as the search
// window does.
inline std::function<void(const search::SearchNotice&)> noticesTo(platform::Prompts& prompts,
                                                                  const QString& programDirectory) {
    return [&prompts, programDirectory](const search::SearchNotice& notice) {
        const QString text = search::searchNoticeText(notice, programDirectory);
        if (search::isWarning(notice))
            prompts.warning(text);
        else
            prompts.information(text);
    };
}

} // namespace testsupport
