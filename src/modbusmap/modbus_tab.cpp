#include "modbusmap/modbus_tab.h"

#include "ui_modbus_tab.h"

namespace kt730 {

ModbusTab::ModbusTab(Engine& engine, QWidget* parent)
    : QWidget(parent), engine_(engine), ui_(std::make_unique<Ui::ModbusTab>()) {
    ui_->setupUi(this);
}

ModbusTab::~ModbusTab() = default;

}  // namespace kt730
