#pragma once

#include <stdexcept>
#include <string>

namespace kt730 {

// A conversion that failed on the engineer's input or on a reply byte. The text is what the error
// box shows, without its closing full stop. Thrown by the codecs, caught by the one guard that
// wraps every handler and every parse, never across Qt's event loop.
class UserError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace kt730
