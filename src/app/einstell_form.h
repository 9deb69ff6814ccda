#pragma once

#include <QDialog>

// The settings dialog. Its controls exist with their names and captions so
// that the main window can apply the stored switches and colours; what the
// buttons do is built with the dialog's own work.
class TEinstellform : public QDialog {
    Q_OBJECT
public:
    explicit TEinstellform(QWidget* parent = nullptr);
};
