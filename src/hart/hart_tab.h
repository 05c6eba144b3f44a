#pragma once

#include <QWidget>
#include <memory>

#include "link/engine.h"

namespace Ui {
class HartTab;
}

namespace kt730 {

// The second tab, "Transparent Mode": HART frames to the instrument through the module.
class HartTab : public QWidget {
    Q_OBJECT
public:
    HartTab(Engine& engine, QWidget* parent = nullptr);
    ~HartTab() override;

    Ui::HartTab& ui() { return *ui_; }

private:
    Engine& engine_;
    std::unique_ptr<Ui::HartTab> ui_;
};

}  // namespace kt730
