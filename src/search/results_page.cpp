#include "results_page.h"

#include "search_text.h"

#include "platform/program_directory.h"
#include "textio/text_files.h"
#include "textio/utf8.h"

namespace search {

QString settingsText(bool caseSensitive, bool wholeWords, bool foldedUmlauts) {
    if (caseSensitive && wholeWords)
        return QStringLiteral("Sucheinstellung: Gross/Kleinschreibung <u>beachten</u> und nur "
                              "<u>ganze</u> Wörter.");
    if (caseSensitive)
        return QStringLiteral("Sucheinstellung: Gross/Kleinschreibung <u>beachten</u> und "
                              "Suchtext <u>auch als Teil</u> in einem Wort/Satz finden.");
    const QString ignoredCase = foldedUmlauts ? QStringLiteral("Gross/klein <u>egal</u> (auch bei "
                                                               "Umlauten: ä = Ä)")
                                              : QStringLiteral("Gross/klein <u>egal</u>");
    if (wholeWords)
        return QStringLiteral("Sucheinstellung: ") + ignoredCase +
               QStringLiteral(" und <u>nur</u> ganze Wörter.");
    return QStringLiteral("Sucheinstellung: ") + ignoredCase +
           QStringLiteral(" und Suchtext <u>auch als Teil</u> in einem Wort/Satz finden.");
}

namespace {

bool startsCharacterReference(QStringView text, qsizetype ampersand) {
    if (ampersand + 1 >= text.size())
        return false;
    const char16_t next = text[ampersand + 1].unicode();
    return (next >= u'a' && next <= u'z') || (next >= u'A' && next <= u'Z') ||
           (next >= u'0' && next <= u'9') || next == u'#';
}

QString escaped(QStringView text, bool inAttribute) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        switch (ch.unicode()) {
        case u'&':
            out += inAttribute || startsCharacterReference(text, i) ? QStringLiteral("&amp;")
                                                                    : QStringLiteral("&");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += inAttribute ? QStringLiteral("&quot;") : QStringLiteral("\"");
            break;
        default:
            out += ch;
        }
    }
    return out;
}

} // namespace

QString htmlEscaped(QStringView text) {
    return escaped(text, true);
}

QString htmlTextEscaped(QStringView text) {
    return escaped(text, false);
}

QString markedContext(QStringView context, QStringView trimmedSearchText) {
    const qsizetype at = trimmedSearchText.isEmpty()
                             ? -1
                             : upperPerUnit(context).lastIndexOf(upperPerUnit(trimmedSearchText));
    if (at < 0)
        return htmlTextEscaped(context);
    const qsizetype end = at + trimmedSearchText.size();
    return htmlTextEscaped(context.first(at)) + QStringLiteral("<b>") +
           htmlTextEscaped(context.sliced(at, end - at)) + QStringLiteral("</b>") +
           htmlTextEscaped(context.sliced(end));
}

QString resultLineMarkup(const PageResult& result, QStringView trimmedSearchText) {
    const QString link = htmlEscaped(result.link);
    QString line = QStringLiteral("<font color=\"#000000\">") + QString::number(result.count) +
                   QStringLiteral(" mal in: <a href=\"") + link +
                   QStringLiteral("\" target=\"_blank\">") + link +
                   QStringLiteral("</a><br><font color=\"#000080\">");
    if (result.context)
        line += markedContext(*result.context, trimmedSearchText) + QStringLiteral("<br><br>");
    return line;
}

QStringList resultsPageLines(const ResultsPageInput& input) {
    const QString settings =
        settingsText(input.caseSensitive, input.wholeWords, input.foldedUmlauts);
    const bool found = !input.body.isEmpty() && !input.cancelled;
    const QString term = trimBlanksAndControls(input.searchText);
    QStringList body;
    for (const PageBodyLine& line : input.body) {
        if (line.result) {
            body.append(resultLineMarkup(*line.result, term));
            continue;
        }
        QString notice = trimBlanksAndControls(line.notice);
        if (found && (notice.contains(QStringLiteral("...wenn keine Fundstellen mehr vorhanden")) ||
                      notice.contains(QStringLiteral("Fertig mit der Suche"))))
            notice.prepend(QStringLiteral("<font color=\"#000000\">"));
        body.append(notice);
    }

    QStringList page = {
        QStringLiteral("<html>"),
        QStringLiteral("<Head>"),
        QStringLiteral("<Title> Trovex-ODT Suchergebnis </Title>"),
        QStringLiteral("<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"),
        QStringLiteral("</Head>"),
        QStringLiteral("<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#669900\" "
                       "Vlink=\"#999999\" Alink=\"#999999\" > <font face=\"verdana, arial, "
                       "helvetica\">"),
        QStringLiteral("Datenbankname: \"") + htmlTextEscaped(input.databaseName) +
            QStringLiteral("\"<br>") + settings + QStringLiteral("<br>"),
    };
    // A cancelled search has no verdict; its page carries the cancel lines
    // under the summary instead of a term line.
    if (!input.cancelled)
        page.append(
            QStringLiteral("<br>Suchbegriff: <font color=\"#cc0000\">\"<u>") +
            htmlEscaped(input.searchText) +
            (found ? QStringLiteral("\"</u><font color=\"#000000\"> wurde gefunden:<br>")
                   : QStringLiteral("\"</u><font color=\"#000000\"> wurde NICHT gefunden:<br>")));
    page.append(QString(settings.size() / 2, QLatin1Char('_')) + QStringLiteral("<br><br>"));
    page.append(body);
    page.append(QStringLiteral("</font>"));
    page.append(QStringLiteral("</body>"));
    page.append(QStringLiteral("</html>"));
    return page;
}

QByteArray resultsPageBytes(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return textio::encodeForCodePage(text, textio::CodePageUtf8);
}

QString resultsPageFileName(int pass) {
    return pass == 2 ? QStringLiteral("TX_Ergebnis2.htm") : QStringLiteral("TX_Ergebnis.htm");
}

PageWriteResult writeResultsPage(const ResultsPageInput& input, int pass,
                                 const QString& programDirectory, const PageOpener& openPage) {
    PageWriteResult result;
    result.path = platform::withTrailingSeparator(programDirectory) + resultsPageFileName(pass);
    result.written = textio::writeFileAtomically(
        result.path, resultsPageBytes(resultsPageLines(input)), &result.error);
    if (result.written && openPage)
        openPage(result.path);
    return result;
}

} // namespace search
