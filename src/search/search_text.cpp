#include "search_text.h"

#include "textio/utf8.h"

namespace search {

QString trimBlanksAndControls(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20)
        --end;
    return text.sliced(begin, end - begin).toString();
}

QByteArray searchPattern(QStringView searchText) {
    return textio::utf8EncodePerUnit(trimBlanksAndControls(searchText));
}

QByteArray retryPattern(QStringView searchText) {
    QByteArray pattern = searchPattern(searchText);
    if (pattern.size() > 40)
        pattern.remove(0, 4);
    return pattern;
}

QString upperPerUnit(QStringView text) {
    QString upper(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        upper[i] = text[i].toUpper();
    return upper;
}

QString lowerPerUnit(QStringView text) {
    QString lower(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        lower[i] = text[i].toLower();
    return lower;
}

} // namespace search
