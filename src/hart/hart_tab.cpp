#include "hart/hart_tab.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <limits>
#include <string>

#include "hart/hart_frame.h"
#include "hart/hart_reply.h"
#include "hart/hart_units.h"
#include "hart/hex_input.h"
#include "link/guard.h"
#include "link/int_text.h"
#include "link/qt_text.h"
#include "ui_hart_tab.h"

namespace kt730 {

namespace {

constexpr std::uint8_t kIdentifyCommand = 0;
constexpr std::uint8_t kVariablesCommand = 3;
constexpr std::uint8_t kPollAddressCommand = 6;
constexpr std::size_t kManualByteLimit = 15;  // bytes of a typed frame body

// The last byte each parse reads, counted from the reply position.
constexpr std::size_t kIdLastByte = hart::kIdDeviceId + 2;

// Which unit list variant each variable's list shows (the lists differ in blanks only).
constexpr std::array<int, 4> kUnitListVariant = {0, 0, 1, 2};

void fillUnitList(QComboBox* list, int variant) {
    list->clear();
    for (const std::string_view item : hart::hartUnitItems(variant)) {
        list->addItem(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
    }
    list->setCurrentIndex(0);
}

}  // namespace

HartTab::HartTab(Engine& engine, QWidget* parent)
    : QWidget(parent), engine_(engine), ui_(std::make_unique<Ui::HartTab>()) {
    ui_->setupUi(this);

    // The command mode list shows "Master Mode" with no item selected, so frames go out with the
    // master bit clear until the engineer picks an item.
    ui_->ComboBox42->setCurrentIndex(-1);
    ui_->ComboBox42->setEditText(QStringLiteral("Master Mode"));

    const std::array<QComboBox*, 4> units = {ui_->ComboBox3, ui_->ComboBox31, ui_->ComboBox32,
                                             ui_->ComboBox33};
    for (std::size_t v = 0; v < units.size(); ++v) {
        fillUnitList(units[v], kUnitListVariant[v]);
    }

    connect(ui_->Button20, &QPushButton::clicked, this, &HartTab::Button20Click);
    connect(ui_->Button7, &QPushButton::clicked, this, &HartTab::Button7Click);
    connect(ui_->Button14, &QPushButton::clicked, this, &HartTab::Button14Click);
    connect(ui_->Button16, &QPushButton::clicked, this, &HartTab::Button16Click);
    connect(ui_->ComboBox30, &QComboBox::activated, this, &HartTab::hartAddressChosen);

    engine_.registerParse(request::kHartIdentify, [this] { parseIdentification(); });
    engine_.registerParse(request::kHartVariables, [this] { parseVariables(); });
}

HartTab::~HartTab() = default;

std::uint8_t HartTab::masterBit() const {
    return ui_->ComboBox42->currentIndex() == 0 ? hart::kPrimaryMasterBit : 0;
}

std::array<std::uint8_t, 6> HartTab::longFrameHead() const {
    const auto& work = engine_.workBuffer();
    return {
        hart::kLongRequestDelimiter, static_cast<std::uint8_t>(masterBit() | hartManufacturerId_),
        work[kDeviceTypeByte],       work[kDeviceIdByte],
        work[kDeviceIdByte + 1],     work[kDeviceIdByte + 2]};
}

std::size_t HartTab::buildFrame(std::span<const std::uint8_t> body) {
    // Edit9 holds the preamble count minus one; the largest integer would overflow the count,
    // and is far too large anyway.
    const std::int32_t setting = textToInt(toUtf8(ui_->Edit9->text()));
    const int preambles =
        setting == std::numeric_limits<std::int32_t>::max() ? setting : setting + 1;
    return hart::buildHartFrame(body, preambles, engine_.sendArea());
}

void HartTab::Button20Click() {
    guarded(engine_.messages(), [this] {
        engine_.clearBuffers();
        const hart::HexInput input =
            hart::parseHexBytes(toUtf8(ui_->Edit10->text()), kManualByteLimit);
        if (!input.message.empty()) {
            engine_.messages().message(input.message);
            return;
        }
        const std::size_t length = buildFrame(input.bytes);
        engine_.sendHartFrame(length, request::kHartManual);
    });
}

void HartTab::Button7Click() {
    guarded(engine_.messages(), [this] {
        engine_.clearBuffers();
        ui_->Edit28->clear();
        ui_->Edit29->clear();
        ui_->Edit31->clear();
        ui_->Edit32->clear();
        // The polling address is the item index; with no item selected it is -1, which the
        // address byte and the work buffer take modulo 256.
        const int address = ui_->ComboBox30->currentIndex();
        const std::array<std::uint8_t, 4> body = {hart::kShortRequestDelimiter,
                                                  static_cast<std::uint8_t>(masterBit() + address),
                                                  kIdentifyCommand, 0};
        const std::size_t length = buildFrame(body);
        engine_.workBuffer()[kPollAddressByte] = static_cast<std::uint8_t>(address);
        engine_.sendHartFrame(length, request::kHartIdentify);
    });
}

void HartTab::Button14Click() {
    guarded(engine_.messages(), [this] {
        engine_.port().setRts(true);
        engine_.clearBuffers();
        const auto head = longFrameHead();
        std::array<std::uint8_t, 9> body{};
        std::copy(head.begin(), head.end(), body.begin());
        body[6] = kPollAddressCommand;
        body[7] = 1;  // byte count
        body[8] = static_cast<std::uint8_t>(ui_->ComboBox27->currentIndex());
        const std::size_t length = buildFrame(body);
        engine_.sendHartFrame(length, request::kHartPollAddress);
        // Unlike the other HART requests, this one always waits 3000 ms.
        engine_.armReplyTimeout();
    });
}

void HartTab::Button16Click() {
    guarded(engine_.messages(), [this] {
        engine_.clearBuffers();
        const auto head = longFrameHead();
        std::array<std::uint8_t, 8> body{};
        std::copy(head.begin(), head.end(), body.begin());
        body[6] = kVariablesCommand;
        body[7] = 0;  // byte count
        const std::size_t length = buildFrame(body);
        engine_.sendHartFrame(length, request::kHartVariables);
    });
}

void HartTab::parseIdentification() {
    engine_.requestCode = request::kNone;
    engine_.timer3().setEnabled(false);

    const auto area = engine_.receiveArea();
    const std::size_t replyLength = engine_.replyText().size();
    engine_.replyLength = static_cast<std::int32_t>(replyLength);
    const auto m = hart::findHartReply(area, replyLength, hart::kShortReplyDelimiter);
    // A reply starts within the 255 bytes of the reply text, so its fields lie inside the receive
    // area; the bound is checked all the same.
    if (!m || *m + kIdLastByte >= area.size()) {
        ui_->Edit28->clear();
        ui_->Edit29->clear();
        ui_->Edit31->clear();
        ui_->Edit32->clear();
        return;
    }

    auto& work = engine_.workBuffer();
    hartManufacturerId_ = area[*m + hart::kIdManufacturer];
    ui_->Edit28->setText(QString::number(hartManufacturerId_));
    work[kDeviceTypeByte] = area[*m + hart::kIdDeviceType];
    ui_->Edit29->setText(QString::number(work[kDeviceTypeByte]));
    ui_->Edit31->setText(QString::number(area[*m + hart::kIdPreambles]));

    // The new-address list follows the polling address that the request used; an address past
    // its items leaves it with no selection.
    const int polled = work[kPollAddressByte];
    ui_->ComboBox27->setCurrentIndex(polled < ui_->ComboBox27->count() ? polled : -1);

    std::uint32_t deviceId = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        work[kDeviceIdByte + k] = area[*m + hart::kIdDeviceId + k];
        deviceId = deviceId * 256 + work[kDeviceIdByte + k];
    }
    ui_->Edit32->setText(QString::number(deviceId));
}

void HartTab::parseVariables() {
    engine_.requestCode = request::kNone;
    engine_.timer3().setEnabled(false);

    const auto area = engine_.receiveArea();
    const std::size_t replyLength = engine_.replyText().size();
    engine_.replyLength = static_cast<std::int32_t>(replyLength);
    const auto m = hart::findHartReply(area, replyLength, hart::kLongReplyDelimiter);
    // As for the identification, the last variable byte cannot pass the receive area.
    if (!m || *m + hart::kDvLastByte >= area.size()) {
        return;
    }

    const std::array<QLineEdit*, 4> values = {ui_->Edit25, ui_->Edit26, ui_->Edit27, ui_->Edit30};
    const std::array<QComboBox*, 4> units = {ui_->ComboBox3, ui_->ComboBox31, ui_->ComboBox32,
                                             ui_->ComboBox33};
    // Variable 1 is read whatever the byte count says; the count decides on variables 2 to 4.
    const int count = hart::hartVariableCount(area[*m + hart::kDvByteCount]);
    for (int v = 0; v < count; ++v) {
        const auto index = static_cast<std::size_t>(v);
        const std::size_t unitAt = *m + hart::kDvFirstUnit + hart::kDvGroupSize * index;
        // A signalling NaN throws here and ends the parse; the earlier variables stay shown.
        const std::string text = hart::showHartVariable(area.subspan(unitAt + 1).first<4>());
        values[index]->setText(bytesToQString(text));
        emit variableShown(v + 1, values[index]->text());
        units[index]->setCurrentIndex(hart::hartUnitItem(area[unitAt]));
    }
}

}  // namespace kt730
