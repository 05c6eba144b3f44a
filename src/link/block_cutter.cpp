#include "link/block_cutter.h"

#include <algorithm>
#include <utility>

namespace kt730 {

BlockCutter::BlockCutter(Clock& clock, Emit emit)
    : emit_(std::move(emit)), quiet_(clock.createTimer([this] { flush(); })) {}

void BlockCutter::feed(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const std::size_t take = std::min(bytes.size(), kMaxBlock - pending_.size());
        pending_.insert(pending_.end(), bytes.begin(), bytes.begin() + static_cast<long>(take));
        bytes = bytes.subspan(take);
        if (pending_.size() == kMaxBlock) flush();
    }
    if (!pending_.empty()) quiet_->start(kQuietTime);
}

void BlockCutter::reset() {
    quiet_->stop();
    pending_.clear();
}

void BlockCutter::flush() {
    quiet_->stop();
    if (pending_.empty()) return;
    std::vector<std::uint8_t> block;
    block.swap(pending_);
    emit_(block);
}

}  // namespace kt730
