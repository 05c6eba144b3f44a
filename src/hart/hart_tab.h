#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "link/engine.h"

namespace Ui {
class HartTab;
}

namespace kt730 {

// The second tab, "Transparent Mode": HART frames to the instrument through the module. It
// identifies the instrument (command 0), changes its polling address (command 6), reads its four
// dynamic variables (command 3) and sends manual frames typed as hexadecimal pairs.
class HartTab : public QWidget {
    Q_OBJECT
  public:
    HartTab(Engine& engine, QWidget* parent = nullptr);
    ~HartTab() override;

    Ui::HartTab& ui() { return *ui_; }

    // The manufacturer identification code of the last identification reply; the rest of the
    // instrument's identity lives in the engine's work buffer, bytes 0..7.
    std::uint8_t hartManufacturerId() const { return hartManufacturerId_; }

    void Button20Click();  // Send: the manual frame body typed in Edit10
    void Button7Click();   // HART Device Parameter Query: command 0
    void Button14Click();  // Set: command 6, the polling address of ComboBox27
    void Button16Click();  // HART Command Query: command 3

  signals:
    // The text of dynamic variable `variable` (1..4) as its value field now shows it.
    void variableShown(int variable, const QString& text);
    // The engineer chose a polling address in ComboBox30 (its item index).
    void hartAddressChosen(int index);

  private:
    // The work buffer bytes that keep the instrument's identity between exchanges.
    static constexpr std::size_t kDeviceIdByte = 0;  // three bytes, most significant first
    static constexpr std::size_t kDeviceTypeByte = 6;
    static constexpr std::size_t kPollAddressByte = 7;  // address of the last identification

    void parseIdentification();  // reply to command 0, request code 100
    void parseVariables();       // reply to command 3, request code 103

    std::uint8_t masterBit() const;
    // The first six bytes of a long request body: the delimiter 0x82 and the unique address of
    // the identified instrument (master bit with the manufacturer, device type, device ID).
    std::array<std::uint8_t, 6> longFrameHead() const;
    // Frames `body` into the send area with the preamble setting of Edit9; gives the length.
    std::size_t buildFrame(std::span<const std::uint8_t> body);

    Engine& engine_;
    std::unique_ptr<Ui::HartTab> ui_;
    std::uint8_t hartManufacturerId_ = 0;
};

}  // namespace kt730
