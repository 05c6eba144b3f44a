#pragma once

#include <string>

#include "link/messages.h"
#include "link/user_error.h"

namespace kt730 {

// Runs one handler or parse; a failed conversion stops it where it was thrown and is shown in the
// error box with a full stop added. Exceptions never leave this function.
template <typename Fn>
void guarded(Messages& messages, Fn&& fn) {
    try {
        fn();
    } catch (const UserError& e) {
        messages.error(std::string(e.what()) + ".");
    }
}

}  // namespace kt730
