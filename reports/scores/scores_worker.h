// The scores reporter nrv7sco: its identity and the run of its Report worker.
#pragma once

#include "report_shell.h"

inline constexpr ReportIdentity kScoresIdentity{
    .program = "nrv7sco",
    .class_name = "Rv7ScoresV1.1.1",
    .caption = "Korvala Scores v1.1.1",
    .title = "Korvala Scores to HTML Processor",
    .version = "Version 1.1.1",
    .sync_event_name = "//SEM32//RV7SCSYNC.SEM",
    .log_program = kScoLog,
};

// The whole run: the frameset, pass 1 (count the solved levels of every set), the index,
// pass 2 (one page per set with the best record of each level).
void RunScoresWorker();
