// nrv7dup: finds duplicate levels and writes an HTML report below htm.
#include "dupes_worker.h"

int main(int argc, char** argv) {
  return RunReportMain(argc, argv, kDupesIdentity, RunDupesWorker);
}
