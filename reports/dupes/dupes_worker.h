// The duplicate finder nrv7dup: its identity and the run of its Report worker.
#pragma once

#include "report_shell.h"

inline constexpr ReportIdentity kDupesIdentity{
    .program = "nrv7dup",
    .class_name = "Rv7DupesV1.1.4",
    .caption = "Korvala Dupes v1.1.4",
    .title = "Korvala Duplicate Level Finder",
    .version = "Version 1.1.4",
    .sync_event_name = "//SEM32//RV7DPSYNC.SEM",
    .log_program = kDupLog,
};

// The whole run: the frameset pages, pass 1 (load every level), pass 2 (compare every
// ordered pair, writing the report rows and handing score files on), the report's foot.
void RunDupesWorker();
