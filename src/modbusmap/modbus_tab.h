#pragma once

#include <QWidget>
#include <memory>

#include "link/engine.h"

namespace Ui {
class ModbusTab;
}

namespace kt730 {

// The third tab, "MODBUS Parameter Configuration".
class ModbusTab : public QWidget {
    Q_OBJECT
  public:
    ModbusTab(Engine& engine, QWidget* parent = nullptr);
    ~ModbusTab() override;

    Ui::ModbusTab& ui() { return *ui_; }

  private:
    Engine& engine_;
    std::unique_ptr<Ui::ModbusTab> ui_;
};

}  // namespace kt730
