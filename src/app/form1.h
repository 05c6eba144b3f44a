#pragma once

#include <QWidget>
#include <memory>

#include "link/clock.h"
#include "link/engine.h"
#include "link/messages.h"
#include "link/serial_port.h"

namespace Ui {
class Form1;
}

namespace kt730 {

class SystemTab;
class HartTab;
class ModbusTab;

// The main window: five tab pages over the send and receive buffer fields. It owns the engine,
// opens and closes the port, and wires what crosses tabs.
class Form1 : public QWidget {
    Q_OBJECT
  public:
    Form1(Clock& clock, SerialPort& port, Messages& messages, QWidget* parent = nullptr);
    ~Form1() override;

    Engine& engine() { return engine_; }
    SystemTab& systemTab() { return *systemTab_; }
    HartTab& hartTab() { return *hartTab_; }
    ModbusTab& modbusTab() { return *modbusTab_; }

    // The port name shown in SPREALCOM at start (--port).
    void presetPortName(const QString& name);

    void Button1Click();   // Open / Close
    void Timer4Timer();    // closes the port 2000 ms after an RS485 baud command
    void Button26Click();  // Clear Buffer

  private:
    void FormCreate();
    void setClosed();

    std::unique_ptr<Ui::Form1> ui_;
    Engine engine_;
    SystemTab* systemTab_ = nullptr;
    HartTab* hartTab_ = nullptr;
    ModbusTab* modbusTab_ = nullptr;
};

}  // namespace kt730
