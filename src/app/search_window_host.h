#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace app {

// What the search window and its search request ask of the main window. The
// main window implements it; the search window's tests pass a recorder.
class SearchWindowHost {
public:
    virtual ~SearchWindowHost() = default;

    // The catalogue: its entries and the selected rows, in order.
    virtual QStringList catalogueEntries() const = 0;
    virtual QList<int> selectedCatalogueRows() const = 0;
    // The remembered selection index: the catalogue row of the last search,
    // or the one selected at start-up before any search. A click during a
    // run returns the catalogue to it.
    virtual int rememberedSelection() const = 0;
    virtual void rememberSelection(int index) = 0;

    // The status line. A finished status ("Fertig mit der Suche.")
    // tells the main window that the work has ended, as the end of an index
    // run does.
    virtual void showStatus(const QString& text) = 0;
    virtual void showFinishedStatus(const QString& text) = 0;
    // The progress line.
    virtual void showProgressLine(const QString& text) = 0;

    // The patience marks (their timer and label).
    virtual void startPatienceMarks() = 0;
    virtual void stopPatienceMarks() = 0;

    // Brings the main window to the foreground while a search runs.
    virtual void bringToFront() = 0;
    // The search-under-way flag: the catalogue refuses a change of selection
    // while it is set.
    virtual void setSearchUnderWay(bool underWay) = 0;
    // The settings dialog, shown modally by the search window's toolbar.
    virtual void showSettingsDialog() = 0;
};

} // namespace app
