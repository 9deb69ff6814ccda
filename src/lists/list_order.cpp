#include "list_order.h"

#include "textio/text_files.h"
#include "textio/utf8.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <numeric>

namespace lists {
namespace {

constexpr std::size_t kItemsBetweenChecks = 4096;

QString textTheUserSees(std::string_view item) {
    return textio::utf8DecodeLenient(QByteArrayView(item.data(), qsizetype(item.size())));
}

bool isAscii(std::string_view item) {
    return std::all_of(item.begin(), item.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

QCollator listCollator(const QLocale& locale) {
    // The C locale has no alphabetical order: Qt compares its texts code by
    // code, and its sort keys even keep case. The root order of ICU, which
    // English uses unchanged, stands in for it.
    QCollator collator(locale.language() == QLocale::C ? QLocale(QLocale::English) : locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

std::optional<std::vector<std::size_t>> listOrder(const DistinctItems& items,
                                                  const QCollator& collator,
                                                  const std::function<bool()>& keepGoing) {
    // One sort key per item instead of decoding both items at every
    // comparison of the sort.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(items.size());
    for (std::size_t index = 0; index < items.size(); ++index) {
        if (index % kItemsBetweenChecks == 0 && !keepGoing())
            return std::nullopt;
        keys.push_back(listSortKey(collator, items.item(index)));
    }
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (const int byCollator = keys[a].compare(keys[b]))
            return byCollator < 0;
        return compareLowerCaseForms(items.item(a), items.item(b)) < 0;
    });
    return order;
}

QCollatorSortKey listSortKey(const QCollator& collator, std::string_view item) {
    return collator.sortKey(textTheUserSees(item));
}

void appendListLine(QByteArray& out, std::string_view item) {
    if (isAscii(item))
        out.append(item.data(), qsizetype(item.size()));
    else
        out.append(textio::encodeForCodePage(textTheUserSees(item), textio::CodePageUtf8));
    out.append("\r\n", 2);
}

} // namespace lists
