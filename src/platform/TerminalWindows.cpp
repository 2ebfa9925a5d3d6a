#include "platform/Terminal.h"

#include <io.h>

namespace fmb {

bool StandardErrorIsTerminal() {
    return _isatty(2) != 0;
}

} // namespace fmb
