#pragma once

#include "app/search_window_host.h"

#include <QList>
#include <QStringList>

// The search window alone: the main window offers the databases given here,
// with the first selected when there is one; nothing else it is asked for
// matters.
struct QuietHost final : app::SearchWindowHost {
    QStringList entries;

    QStringList catalogueEntries() const override { return entries; }
    QList<int> selectedCatalogueRows() const override {
        return entries.isEmpty() ? QList<int>{} : QList<int>{0};
    }
    int rememberedSelection() const override { return entries.isEmpty() ? -1 : 0; }
    void rememberSelection(int) override {}
    void showStatus(const QString&) override {}
    void showFinishedStatus(const QString&) override {}
    void showProgressLine(const QString&) override {}
    void startPatienceMarks() override {}
    void stopPatienceMarks() override {}
    void bringToFront() override {}
    void setSearchUnderWay(bool) override {}
    void showSettingsDialog() override {}
};
