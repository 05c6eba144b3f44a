#pragma once

#include <string_view>

namespace kt730 {

// The modal messages of the window: the handlers' own texts ("Connection Timeout!") and the error
// box for failed conversions.
class Messages {
  public:
    virtual ~Messages() = default;
    virtual void message(std::string_view text) = 0;
    virtual void error(std::string_view text) = 0;
};

}  // namespace kt730
