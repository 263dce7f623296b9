// nrv7sco: writes the recorded scores of every level as HTML pages below htm.
#include "scores_worker.h"

int main(int argc, char** argv) {
  return RunReportMain(argc, argv, kScoresIdentity, RunScoresWorker);
}
