#include "system/system_tab.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "link/command_text.h"
#include "link/guard.h"
#include "link/int_text.h"
#include "link/qt_text.h"
#include "link/send_area_writer.h"
#include "system/reply_fields.h"
#include "ui_system_tab.h"

namespace kt730 {

namespace {

// Queries of this tab.
constexpr std::string_view kConnectionQuery = "QQQ#QV#";
constexpr std::string_view kSystemQuery = "QQQ#QX#";

// Set commands: the keyword part before the parameters; every one ends with "#".
constexpr std::string_view kBaudAPrefix = "QQS#BA1:";
constexpr std::string_view kBaudBPrefix = "QQS#BA2:";
constexpr std::string_view kSlaveAddressPrefix = "QQS#ADR:";
constexpr std::string_view kModePrefix = "QQS#MD:";
constexpr std::string_view kDelayAPrefix = "QQS#XY1:";
constexpr std::string_view kDelayBPrefix = "QQS#XY2:";
constexpr std::string_view kPollIntervalPrefix = "QQS#JTM:";
constexpr std::string_view kBaseAPrefix = "QQS#AADR:";
constexpr std::string_view kBaseBPrefix = "QQS#BADR:";
constexpr std::string_view kResetCommand = "QQS#RESET#";
constexpr std::string_view kHiddenCommand = "QQS#YB:1#";
constexpr std::string_view kCommandEnd = "#";

// The factory command for the board's production data, built as a text.
constexpr std::string_view kProductionPrefix = "KVRTNB#PCBSN:";
constexpr int kSerialWidth = 8;
constexpr int kInspectorWidth = 3;

// The connection check reply holds this anywhere.
constexpr std::string_view kAliveMarker = "QV:";

// The system parameter reply. Each field stands at a fixed distance from its marker's first
// character; "AADR" carries both base addresses with one separator character between them.
constexpr std::string_view kSystemReplyMarker = "QX";
constexpr std::string_view kBaudAMarker = "BA1:";
constexpr std::string_view kBaudBMarker = "BA2:";
constexpr std::size_t kBaudAt = 4;
constexpr std::size_t kParityAt = 5;
constexpr std::string_view kModeMarker = "MD:";
constexpr std::size_t kModeAt = 3;
constexpr std::string_view kSlaveAddressMarker = "ADR:";
constexpr std::size_t kSlaveAddressAt = 4;
constexpr std::size_t kSlaveAddressLength = 3;
constexpr std::string_view kDelayAMarker = "XY1:";
constexpr std::string_view kDelayBMarker = "XY2:";
constexpr std::size_t kDelayAt = 4;
constexpr std::string_view kPollIntervalMarker = "JTM:";
constexpr std::size_t kPollIntervalAt = 4;
constexpr std::size_t kPollIntervalLength = 3;
constexpr std::string_view kBaseAddressMarker = "AADR";
constexpr std::size_t kBaseAAt = 5;
constexpr std::size_t kBaseBAt = 11;
constexpr std::size_t kBaseLength = 5;

std::int32_t wholeNumber(const QString& text) { return textToInt(toUtf8(text)); }

// A list read by its item index; a list that is not there reads as "no selection".
int itemIndex(const QComboBox* list) { return list != nullptr ? list->currentIndex() : -1; }

// An index past the list's items leaves it with no item selected and an empty text.
void selectItem(QComboBox* list, int index) {
    list->setCurrentIndex(index < list->count() ? index : -1);
}

// The list's item from the reply digit at `pos`; a reply that ends before it leaves the list.
void selectFromDigit(QComboBox* list, std::string_view reply, std::size_t pos) {
    if (const auto digit = replyDigit(reply, pos)) selectItem(list, *digit);
}

// A text field takes what the reply holds there; like any edit control it ends at a zero byte.
void setFromChars(QLineEdit* field, std::string_view reply, std::size_t pos, std::size_t count) {
    field->setText(bytesToQString(shownText(replyChars(reply, pos, count))));
}

}  // namespace

SystemTab::SystemTab(Engine& engine, QWidget* parent)
    : QWidget(parent), engine_(engine), ui_(std::make_unique<Ui::SystemTab>()) {
    ui_->setupUi(this);
    // The mode list starts with its first item's text shown but nothing selected, so "Set" before
    // any choice or query sends "no selection".
    ui_->ComboBox7->setCurrentIndex(-1);
    ui_->ComboBox7->setEditText(QStringLiteral("0_Transparent Mode"));

    connect(ui_->Button6, &QPushButton::clicked, this, &SystemTab::Button6Click);
    connect(ui_->Button23, &QPushButton::clicked, this, &SystemTab::Button23Click);
    connect(ui_->Button5, &QPushButton::clicked, this, &SystemTab::Button5Click);
    connect(ui_->Button9, &QPushButton::clicked, this, &SystemTab::Button9Click);
    connect(ui_->Button29, &QPushButton::clicked, this, &SystemTab::Button29Click);
    connect(ui_->Button24, &QPushButton::clicked, this, &SystemTab::Button24Click);
    connect(ui_->Button15, &QPushButton::clicked, this, &SystemTab::Button15Click);
    connect(ui_->Button33, &QPushButton::clicked, this, &SystemTab::Button33Click);
    connect(ui_->Button27, &QPushButton::clicked, this, &SystemTab::Button27Click);
    connect(ui_->Button30, &QPushButton::clicked, this, &SystemTab::Button30Click);
    connect(ui_->Button28, &QPushButton::clicked, this, &SystemTab::Button28Click);
    connect(ui_->Button32, &QPushButton::clicked, this, &SystemTab::Button32Click);
    connect(ui_->Button60, &QPushButton::clicked, this, &SystemTab::Button60Click);

    engine_.registerParse(request::kConnection, [this] { parseConnectionReply(); });
    engine_.registerParse(request::kSystemQuery, [this] { parseSystemReply(); });
}

SystemTab::~SystemTab() = default;

void SystemTab::setModbusModeList(QComboBox* comboBox14) { comboBox14_ = comboBox14; }

void SystemTab::setModbusTestAddress(QLineEdit* edit18) { edit18_ = edit18; }

void SystemTab::sendQuery(std::string_view command, std::int32_t code, std::int32_t kind) {
    guarded(engine_.messages(), [&] {
        engine_.clearBuffers();
        SendAreaWriter w(engine_.sendArea());
        w.put(command);
        engine_.sendCommand(w.length(), ShowForm::Text, code, kind);
    });
}

template <typename Fill>
void SystemTab::sendSet(Fill&& fill) {
    guarded(engine_.messages(), [&] {
        // Buffers are emptied before any control is read, so a failed conversion leaves them empty.
        engine_.clearBuffers();
        SendAreaWriter w(engine_.sendArea());
        fill(w);
        engine_.sendCommand(w.length(), ShowForm::Text, request::kSet, timeout::kSetOrHart);
    });
}

void SystemTab::Button6Click() {
    sendQuery(kConnectionQuery, request::kConnection, timeout::kConnection);
}

void SystemTab::Button23Click() { sendQuery(kSystemQuery, request::kSystemQuery, timeout::kQuery); }

void SystemTab::Button5Click() {
    sendSet([this](SendAreaWriter& w) {
        w.put(kBaudAPrefix);
        w.put(indexDigit(ui_->ComboBox2->currentIndex()));
        w.put(indexDigit(ui_->ComboBox4->currentIndex()));
        w.put(kCommandEnd);
    });
    armAutoClose();
}

void SystemTab::Button9Click() {
    sendSet([this](SendAreaWriter& w) {
        w.put(kBaudBPrefix);
        w.put(indexDigit(ui_->ComboBox8->currentIndex()));
        w.put(indexDigit(ui_->ComboBox9->currentIndex()));
        w.put(kCommandEnd);
    });
    armAutoClose();
}

void SystemTab::armAutoClose() {
    // The module switches to the new line settings, so the PC port is closed a little later; a
    // second baud command meanwhile does not postpone it (the timer rule).
    engine_.timer4().setInterval(Engine::kAutoCloseDelay);
    engine_.timer4().setEnabled(true);
}

void SystemTab::Button29Click() {
    sendSet([this](SendAreaWriter& w) {
        w.put(kSlaveAddressPrefix);
        w.put(threeDigits(wholeNumber(ui_->Edit14->text())));
        w.put(kCommandEnd);
    });
}

void SystemTab::Button24Click() { sendListDigit(kModePrefix, ui_->ComboBox7); }

void SystemTab::Button22Click() { sendListDigit(kModePrefix, comboBox14_); }

void SystemTab::Button15Click() { sendListDigit(kDelayAPrefix, ui_->RS485ADY); }

void SystemTab::Button33Click() { sendListDigit(kDelayBPrefix, ui_->RS485BDY); }

void SystemTab::sendListDigit(std::string_view prefix, const QComboBox* list) {
    sendSet([&](SendAreaWriter& w) {
        w.put(prefix);
        w.put(indexDigit(itemIndex(list)));
        w.put(kCommandEnd);
    });
}

void SystemTab::Button27Click() {
    sendSet([this](SendAreaWriter& w) {
        w.put(kPollIntervalPrefix);
        w.put(threeDigits(wholeNumber(ui_->Edit6->text())));
        w.put(kCommandEnd);
    });
}

void SystemTab::Button30Click() {
    sendSet([](SendAreaWriter& w) { w.put(kResetCommand); });
}

void SystemTab::Button28Click() {
    sendSet([this](SendAreaWriter& w) {
        w.put(kBaseAPrefix);
        w.put(fiveDigits(wholeNumber(ui_->ABadr->text())));
        w.put(kCommandEnd);
    });
}

void SystemTab::Button32Click() {
    sendSet([this](SendAreaWriter& w) {
        w.put(kBaseBPrefix);
        w.put(fiveDigits(wholeNumber(ui_->BBadr->text())));
        w.put(kCommandEnd);
    });
}

void SystemTab::Label8DblClick() {
    sendSet([](SendAreaWriter& w) { w.put(kHiddenCommand); });
}

void SystemTab::Button60Click() {
    // The factory command keeps the pending request and the buffers as they are: its reply is
    // handled by whatever was awaited before.
    guarded(engine_.messages(), [this] {
        const std::int32_t serial = wholeNumber(ui_->PCBSN->text());
        const std::int32_t inspector = wholeNumber(ui_->JIANZHI->currentText());
        const std::string command =
            std::string(kProductionPrefix) + zeroPadded(serial, kSerialWidth) + "," +
            zeroPadded(inspector, kInspectorWidth) + std::string(kCommandEnd);
        engine_.showAndWrite(
            std::span(reinterpret_cast<const std::uint8_t*>(command.data()), command.size()),
            ShowForm::Text);
    });
}

void SystemTab::Edit14Change() {
    guarded(engine_.messages(), [this] {
        if (edit18_) edit18_->setText(ui_->Edit14->text());
    });
}

void SystemTab::parseConnectionReply() {
    engine_.requestCode = request::kNone;
    engine_.timeoutKind = timeout::kNone;
    if (!findMarker(engine_.replyText(), kAliveMarker)) return;
    // The module is there: the query and set buttons are usable. Nothing disables them today, so
    // this shows only if a later change does.
    for (QPushButton* button : {ui_->Button24, ui_->Button29, ui_->Button15, ui_->Button27,
                                ui_->Button5, ui_->Button9, ui_->Button23}) {
        button->setEnabled(true);
    }
}

void SystemTab::parseSystemReply() {
    // Each field step searches its own marker over the whole reply; a conversion error ends the
    // parse with the earlier steps kept.
    const std::string_view reply = engine_.replyText();
    if (!findMarker(reply, kSystemReplyMarker)) return;
    if (const auto at = findMarker(reply, kBaudAMarker)) {
        selectFromDigit(ui_->ComboBox2, reply, *at + kBaudAt);
        selectFromDigit(ui_->ComboBox4, reply, *at + kParityAt);
    }
    if (const auto at = findMarker(reply, kBaudBMarker)) {
        selectFromDigit(ui_->ComboBox8, reply, *at + kBaudAt);
        selectFromDigit(ui_->ComboBox9, reply, *at + kParityAt);
    }
    if (const auto at = findMarker(reply, kModeMarker)) {
        if (const auto mode = replyDigit(reply, *at + kModeAt)) {
            selectItem(ui_->ComboBox7, *mode);
            if (comboBox14_) selectItem(comboBox14_, *mode);
        }
    }
    // "ADR:" is also found inside "AADR:" when that stands first.
    if (const auto at = findMarker(reply, kSlaveAddressMarker)) {
        setFromChars(ui_->Edit14, reply, *at + kSlaveAddressAt, kSlaveAddressLength);
    }
    if (const auto at = findMarker(reply, kDelayAMarker)) {
        selectFromDigit(ui_->RS485ADY, reply, *at + kDelayAt);
    }
    if (const auto at = findMarker(reply, kDelayBMarker)) {
        selectFromDigit(ui_->RS485BDY, reply, *at + kDelayAt);
    }
    if (const auto at = findMarker(reply, kPollIntervalMarker)) {
        setFromChars(ui_->Edit6, reply, *at + kPollIntervalAt, kPollIntervalLength);
    }
    if (const auto at = findMarker(reply, kBaseAddressMarker)) {
        setFromChars(ui_->ABadr, reply, *at + kBaseAAt, kBaseLength);
        setFromChars(ui_->BBadr, reply, *at + kBaseBAt, kBaseLength);
    }
}

}  // namespace kt730
