// The database list of the main window: filling, selecting, deleting.
#include "main_window.h"

#include "new_database_dialog.h"
#include "search_window.h"

#include "database/catalogue.h"
#include "database/database_lock.h"
#include "database/database_name.h"
#include "database/database_paths.h"
#include "database/search_history.h"
#include "platform/settings_values.h"

#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>

namespace app {

namespace settings = platform::settings;

int MainWindow::selectedIndex() const {
    const auto selected = catalogue_->selectedItems();
    return selected.isEmpty() ? -1 : catalogue_->row(selected.first());
}

void MainWindow::selectRow(int row) {
    const QScopedValueRollback guard(selectingProgrammatically_, true);
    if (row < 0 || row >= catalogue_->count()) {
        catalogue_->clearSelection();
        catalogue_->setCurrentRow(-1);
        return;
    }
    catalogue_->setCurrentRow(row);
    catalogue_->item(row)->setSelected(true);
}

void MainWindow::readDatabaseNames() {
    {
        const QScopedValueRollback guard(selectingProgrammatically_, true);
        catalogue_->clear();
        for (const QString& name : database::scanCatalogue(services_.programDirectory)) {
            auto* item = new QListWidgetItem(name, catalogue_);
            item->setData(Qt::DecorationRole, listIcon_);
        }
    }

    QString stored = services_.settings.read(settings::kSelectedDatabase);
    if (stored.isEmpty())
        stored = QStringLiteral("0");
    if (updateMode_ && catalogue_->count() > 0) {
        bool ok = false;
        const int index = stored.toInt(&ok);
        if (ok)
            selectRow(index);
        return;
    }
    const QString dialogName =
        windows_.newDatabaseDialog ? windows_.newDatabaseDialog->databaseName() : QString();
    if (dialogName.isEmpty())
        return;
    // A later matching entry overrides an earlier one, as the handler runs
    // once per match.
    for (int row = 0; row < catalogue_->count(); ++row) {
        if (catalogue_->item(row)->text().contains(dialogName)) {
            selectRow(row);
            onCatalogueSelectionChanged();
        }
    }
}

void MainWindow::selectFromStoredIndex() {
    QString stored = services_.settings.read(settings::kSelectedDatabase);
    if (stored.isEmpty())
        stored = QStringLiteral("0");
    const int count = catalogue_->count();
    bool ok = false;
    int index = stored.trimmed().toInt(&ok);
    // Out of range, or edited by hand into something else: the first entry.
    if (!ok || index == -1 || index >= count || index < -1)
        index = 0;
    if (count == 0)
        return;
    selectRow(index);
    selectedDatabaseName_ = catalogue_->item(index)->text();
    currentIndex_ = index;
    rememberedSelection_ = index;
}

void MainWindow::resetSearchWindowViewer() {
    if (windows_.searchWindow)
        windows_.searchWindow->resetViewer();
}

void MainWindow::loadSearchHistory(const QString& name) {
    if (!windows_.searchWindow)
        return;
    windows_.searchWindow->setHistory(
        database::loadSearchHistory(services_.programDirectory, name));
}

void MainWindow::onCatalogueSelectionChanged() {
    resetSearchWindowViewer();
    if (running_ || searchUnderWay_ || updateRunActive_ || indexRunUnderWay()) {
        selectRow(rememberedSelection_);
        services_.pause(100);
        return;
    }
    const int index = selectedIndex();
    if (index < 0)
        return; // a click beside the entries selects nothing
    currentIndex_ = index;
    selectedDatabaseName_ = catalogue_->item(index)->text();
    services_.settings.write(settings::kSelectedDatabase, QString::number(index));

    if (windows_.searchWindow) {
        windows_.searchWindow->clearDatabaseLabels();
        windows_.searchWindow->setSortedListButtonEnabled(false);
    }
    loadSearchHistory(selectedDatabaseName_);
    readBookmark(selectedDatabaseName_);
}

void MainWindow::readBookmark(const QString& name) {
    bookmarkPosition_ = 0;
    const QString bookmark = services_.settings.read(settings::kBookmarkPrefix + name);
    if (bookmark.isEmpty())
        return;
    bool ok = false;
    const qint64 position = bookmark.trimmed().toLongLong(&ok);
    if (ok)
        bookmarkPosition_ = position;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == catalogue_->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            // The press does not change the selection; the menu acts on the
            // selected entry.
            openContextMenuAt(press->globalPosition().toPoint() + QPoint(10, 10));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::openContextMenuAt(const QPoint& screenPosition) {
    if (catalogue_->count() == 0)
        return;
    catalogueMenu_->popup(screenPosition);
}

void MainWindow::onDeleteDatabaseChosen() {
    const int index = selectedIndex();
    if (index < 0)
        return; // nothing selected: nothing to ask about
    workingDatabaseName_ = catalogue_->item(index)->text();
    const bool yes =
        services_.prompts.confirm(QStringLiteral("Möchten Sie die Datenbank \"") +
                                  workingDatabaseName_ + QStringLiteral("\" wirklich löschen?"));
    if (yes) {
        resetSearchWindowViewer();
        if (windows_.searchWindow) {
            windows_.searchWindow->setSortedListButtonEnabled(false);
            windows_.searchWindow->clearDatabaseLabels();
        }
        // The name is checked and the database held before any file goes:
        // a run of it in this or another program keeps its files.
        database::DatabaseLock lock;
        if (const QString refused = database::databaseNameMessage(workingDatabaseName_);
            !refused.isEmpty()) {
            services_.prompts.warning(refused);
        } else if (!lock.acquire(services_.programDirectory, workingDatabaseName_)) {
            services_.prompts.warning(lock.message());
        } else {
            const QStringList left =
                database::deleteDatabaseFiles(services_.programDirectory, workingDatabaseName_);
            if (!left.isEmpty())
                services_.prompts.warning(database::filesLeftMessage(workingDatabaseName_, left));
        }
    }
    readDatabaseNames();
    if (catalogue_->count() > 0)
        selectRow(0);
}

} // namespace app
