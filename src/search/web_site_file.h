#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

// The user's site file Adressen_Webseiten.txt, an INI file: sections Themen1
// and Themen2 list the topics under the key Liste, and one section per topic
// lists its site addresses under Liste. Values are comma-separated.
//
// QSettings is not used: it treats commas as list separators and quotes and
// backslashes as escapes, while this file is read the way the Windows profile
// functions read it, where every character of the value is taken as written.
namespace websites {

inline constexpr qsizetype kMaximumValueLength = 255;

class WebSiteFile {
public:
    // Reads the file; nothing when it does not exist or cannot be read.
    static std::optional<WebSiteFile> load(const QString& fileName);
    static WebSiteFile fromBytes(QByteArrayView bytes);

    // The value of a key, as the profile functions give it: section and key
    // names in any letter case, the value trimmed of blanks, one pair of
    // enclosing quotes dropped, cut to 255 characters; empty when missing.
    QString value(const QString& section, const QString& key) const;

    // Themen1 and Themen2 joined without a separator, then split.
    QStringList topics() const;
    QStringList sitesOfTopic(const QString& topic) const;

private:
    QStringList lines_;
};

// Splits at every "," and keeps the trimmed pieces that are not empty.
QStringList splitListValue(const QString& value);

// The hint of the site list for the selected site.
QString siteHint(const QString& address);

// The symbol text drawn on a site's picture.
QString siteSymbolText(const QString& address);

} // namespace websites
