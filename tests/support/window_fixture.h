#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <chrono>
#include <string>

#include "app/form1.h"
#include "link/manual_clock.h"
#include "support/fake_port.h"

namespace kt730::testing {

// The real window with a fake port, a manual clock and recorded messages. Controls are reached by
// their object names, as a user's test script would.
struct WindowFixture {
    WindowFixture() : window(clock, port, messages) { port.opened = true; }

    template <typename W>
    W* get(const char* name) {
        W* w = window.findChild<W*>(QString::fromLatin1(name));
        if (w == nullptr) qFatal("no control named %s", name);
        return w;
    }
    QLineEdit* edit(const char* name) { return get<QLineEdit>(name); }
    QComboBox* combo(const char* name) { return get<QComboBox>(name); }
    QLabel* label(const char* name) { return get<QLabel>(name); }
    void click(const char* name) { get<QAbstractButton>(name)->click(); }
    // Chooses an item as the user does (runs the list's change handler).
    void choose(const char* name, int index) {
        QComboBox* c = combo(name);
        c->setCurrentIndex(index);
        emit c->activated(index);
    }

    // The module answers: the block arrives, and time moves on past the receive wait and the parse.
    void reply(std::string_view bytes) {
        port.deliver(bytes);
        advance(600);
    }
    void advance(int ms) { clock.advance(std::chrono::milliseconds(ms)); }

    std::string written() const { return port.lastWriteText(); }
    QString sendBuffer() { return edit("Edit8")->text(); }
    QString receiveBuffer() { return get<QPlainTextEdit>("Memo10")->toPlainText(); }

    ManualClock clock;
    FakePort port;
    RecordingMessages messages;
    Form1 window;
};

}  // namespace kt730::testing
