#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "link/engine.h"

class QComboBox;
class QLineEdit;

namespace Ui {
class SystemTab;
}

namespace kt730 {

// The first tab, "System Parameter": the serial settings (handled by the main window), the
// connection check, the system parameter query and the system parameter commands.
class SystemTab : public QWidget {
    Q_OBJECT
  public:
    SystemTab(Engine& engine, QWidget* parent = nullptr);
    ~SystemTab() override;

    Ui::SystemTab& ui() { return *ui_; }

    // Controls of the Modbus tab that this tab's commands and parse use; the main window hands
    // them over. Until then the operating-mode command of that tab reads "no selection" and the
    // slave address is not copied.
    void setModbusModeList(QComboBox* comboBox14);
    void setModbusTestAddress(QLineEdit* edit18);

    void Button6Click();    // connection check "QQQ#QV#"
    void Button23Click();   // system parameter query "QQQ#QX#"
    void Button5Click();    // RS485A baud rate and parity; the port closes 2000 ms later
    void Button9Click();    // RS485B baud rate and parity; the port closes 2000 ms later
    void Button29Click();   // Modbus slave address
    void Button24Click();   // operating mode, first tab
    void Button22Click();   // operating mode, Modbus tab
    void Button15Click();   // RS485A response time
    void Button33Click();   // RS485B response time
    void Button27Click();   // meter polling interval
    void Button30Click();   // parameter initialization
    void Button28Click();   // RS485A base address
    void Button32Click();   // RS485B base address
    void Label8DblClick();  // hidden command
    void Button60Click();   // factory command: board serial number and inspector
    void Edit14Change();    // copies the slave address into the Modbus test's address

  private:
    void parseConnectionReply();  // request code 201
    void parseSystemReply();      // request code 202
    void sendQuery(std::string_view command, std::int32_t code, std::int32_t kind);
    // The send step of a set command: buffers emptied, `fill` lays out the command in the send
    // area, then it is shown and written with request code 200.
    template <typename Fill>
    void sendSet(Fill&& fill);
    void sendListDigit(std::string_view prefix, const QComboBox* list);
    void armAutoClose();

    Engine& engine_;
    std::unique_ptr<Ui::SystemTab> ui_;
    QPointer<QComboBox> comboBox14_;
    QPointer<QLineEdit> edit18_;
};

}  // namespace kt730
