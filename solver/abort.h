// The request to stop a running solve, set from another thread through Rv7SolverAbort.
#ifndef RV7SOLV_ABORT_H
#define RV7SOLV_ABORT_H

namespace rv7solv {

// Asks the solve in progress to stop at its next expansion. Safe from any thread.
void request_abort();

// Drops an earlier request: every call starts without one.
void clear_abort();

// Whether a stop was asked for since the last clear_abort.
bool abort_requested();

}  // namespace rv7solv

#endif  // RV7SOLV_ABORT_H
