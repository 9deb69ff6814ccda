// The user's site file Adressen_Webseiten.txt on arbitrary bytes: topics and
// their sites as the search window's web panel reads them.

#include "fuzz_support.h"

#include "search/web_site_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const websites::WebSiteFile file =
        websites::WebSiteFile::fromBytes(fuzzing::inputBytes(data, size));
    for (const QString& topic : file.topics()) {
        // Topics come from the values of Themen1 and Themen2 joined.
        fuzzing::require(topic.size() <= 2 * websites::kMaximumValueLength,
                         "values are cut at 255");
        for (const QString& site : file.sitesOfTopic(topic)) {
            fuzzing::require(!site.isEmpty() && site.size() <= websites::kMaximumValueLength,
                             "sites are pieces of a value");
            websites::siteHint(site);
            websites::siteSymbolText(site);
        }
    }
    return 0;
}
