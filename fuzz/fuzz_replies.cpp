// Any block while any parsed request is pending: the real window's parses (system query, HART
// identification and variables) must never read outside the reply or the receive area.
#include <QApplication>
#include <cstddef>
#include <cstdint>

#include "support/window_fixture.h"

namespace {

// Live for the whole run and are never destroyed: libFuzzer ends the process from inside its
// loop, after Qt's own statics are gone.
QApplication* app = nullptr;
kt730::testing::WindowFixture* fixture = nullptr;

constexpr std::int32_t kCodes[] = {100, 103, 104, 200, 201, 202, 0};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new QApplication(*argc, *argv);
    fixture = new kt730::testing::WindowFixture;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    kt730::Engine& engine = fixture->window.engine();
    engine.requestCode = kCodes[data[0] % std::size(kCodes)];
    fixture->port.deliver(std::span(data + 1, size - 1));
    fixture->advance(600);
    fixture->messages.shown.clear();
    return 0;
}
