#pragma once

#include <QWidget>
#include <memory>

#include "link/engine.h"

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

private:
    Engine& engine_;
    std::unique_ptr<Ui::SystemTab> ui_;
};

}  // namespace kt730
