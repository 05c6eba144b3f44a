#include "hart/hart_tab.h"

#include "ui_hart_tab.h"

namespace kt730 {

HartTab::HartTab(Engine& engine, QWidget* parent)
    : QWidget(parent), engine_(engine), ui_(std::make_unique<Ui::HartTab>()) {
    ui_->setupUi(this);
}

HartTab::~HartTab() = default;

}  // namespace kt730
