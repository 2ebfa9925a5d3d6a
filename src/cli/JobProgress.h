#pragma once

#include "jobs/JobMonitor.h"

#include <functional>
#include <ostream>
#include <string>

namespace fmb::cli {

// Makes SIGINT and SIGTERM ask the running job to stop instead of ending the program, so an
// interrupted backup or export ends the way a cancelled one does: nothing half-written left.
void CatchInterrupts();

// The exit status of a command the user interrupted (128 + SIGINT, as shells report it).
inline constexpr int kExitInterrupted = 130;

// How a command shows its progress on standard error.
enum class ProgressDisplay {
    Line, // one line rewritten in place
    None,
};

// Runs work on a worker thread and waits for it. An interrupt (CatchInterrupts) asks the work to
// stop at once, through the monitor it is given. With ProgressDisplay::Line it rewrites one line
// of err a few times a second with text(snapshot, seconds since the start); the line is cleared
// at the end. True when the work was asked to stop.
bool RunJob(const std::function<void(JobMonitor&)>& work, ProgressDisplay display,
            std::ostream& err, const std::function<std::string(const JobSnapshot&, double)>& text);

// The progress display a command's options and its standard error call for: --quiet none,
// --progress a line, otherwise a line when standard error is a terminal.
ProgressDisplay ChooseProgressDisplay(bool quiet, bool forced, bool errorIsTerminal);

} // namespace fmb::cli
