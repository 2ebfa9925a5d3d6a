#pragma once

namespace fmb {

// True when the process's standard error is a terminal someone watches, rather than a file or a
// pipe: a progress line rewritten in place is for a terminal only.
bool StandardErrorIsTerminal();

} // namespace fmb
