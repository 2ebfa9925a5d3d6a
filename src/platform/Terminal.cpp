#include "platform/Terminal.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fmb {

bool StandardErrorIsTerminal() {
#ifdef _WIN32
    return _isatty(2) != 0;
#else
    return ::isatty(STDERR_FILENO) == 1;
#endif
}

} // namespace fmb
