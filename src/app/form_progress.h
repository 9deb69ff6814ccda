#pragma once

#include <QWidget>

// The progress window: a caption and a bar. No work of the program shows it
// yet; it exists so that the windows are created in their fixed order.
class TFormProgress : public QWidget {
    Q_OBJECT
public:
    explicit TFormProgress(QWidget* parent = nullptr);
};
