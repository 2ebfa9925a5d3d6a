#include "platform/Terminal.h"

#include <unistd.h>

namespace fmb {

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace fmb
