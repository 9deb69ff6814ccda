#pragma once

#include "widgets/window_colours.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QToolButton;

// The settings dialog. Its controls exist with their names and captions so
// that the main window can hand it the stored switches and colours; what the
// buttons do is built with the dialog's own work.
class TEinstellform : public QDialog {
    Q_OBJECT
public:
    explicit TEinstellform(QWidget* parent = nullptr);

    // What the main window hands over at its first paint.
    void applyColours(const widgets::WindowColours& colours);
    // "Suchtext nach Suche in Zwischenablage kopieren"
    void setClipboardCopy(bool copy);
    // "Kurzhinweis im Viewer an Mauscursor anzeigen"
    void setViewerHintShown(bool shown);

private:
    QCheckBox* clipboardBox_ = nullptr;  // SuchtextInClipbrdCheckBox
    QCheckBox* viewerHintBox_ = nullptr; // KurzhinweisImViewerZeigenCheckBox
    QLabel* fontLabel_ = nullptr;        // Label1
    QLabel* installedLabel_ = nullptr;   // Label2
    QLabel* currentLabel_ = nullptr;     // Label3
    QLabel* pickLabel_ = nullptr;        // Label4
    QLabel* unchangedLabel_ = nullptr;   // Label5
};
