#pragma once

#include "database/index_log.h"

#include <QLocale>
#include <QPoint>
#include <QRect>
#include <QString>

namespace filelist {

// The indicators the main window shows during a run, without the window:
// the progress timer (every 200 ms) shows the elapsed time and the file
// count, the patience timer (every second) the row of patience marks.

// Whole seconds between two tick counts in milliseconds, as the run clock
// counts them: each count is cut to whole seconds before subtracting.
qint64 elapsedSeconds(qint64 startTickMs, qint64 nowTickMs);

// Hours, minutes and seconds without leading zeros, joined by colons, as the
// index log writes them: 187 -> "0:3:7", 3725 -> "1:2:5".
using database::elapsedTimeText;

// The progress line: "Anzahl Dateien:     " + count with the locale's thousands
// separators + "     Zeit: " + elapsed time text.
QString progressLineText(qint64 fileCount, const QString& elapsedTimeText,
                         const QLocale& locale = QLocale());

// The patience marks: each advance() moves the step on and
// gives the label text; steps 1 to 5 show one to five marks, step 6 clears the
// label and the next advance starts again at one mark.
class PatienceMarks {
public:
    QString advance();
    int step() const { return step_; }
    void reset() { step_ = 0; }

private:
    int step_ = 0;
};

// Where the patience label stands: the middle of the close button less 20
// pixels, 2 pixels below the top of the status line.
QPoint patienceLabelPosition(const QRect& closeButton, int statusLineTop);

// Where the patience label is moved after a time-out: the close button's right edge
// minus 10 pixels (its top is kept).
int patienceLabelLeftAfterTimeout(const QRect& closeButton);

} // namespace filelist
