#pragma once

#include <QLoggingCategory>

// Diagnostics of the jobs: when one starts, stops at a request and ends.
// Silent by default; QT_LOGGING_RULES="trovex.jobs.debug=true" shows them.
Q_DECLARE_LOGGING_CATEGORY(lcJobs)
