#include "job_log.h"

Q_LOGGING_CATEGORY(lcJobs, "trovex.jobs", QtWarningMsg)
