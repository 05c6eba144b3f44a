#include "system/system_tab.h"

#include "ui_system_tab.h"

namespace kt730 {

SystemTab::SystemTab(Engine& engine, QWidget* parent)
    : QWidget(parent), engine_(engine), ui_(std::make_unique<Ui::SystemTab>()) {
    ui_->setupUi(this);
}

SystemTab::~SystemTab() = default;

}  // namespace kt730
