#include "app/form1.h"

#include "app/list_rules.h"
#include "hart/hart_tab.h"
#include "link/guard.h"
#include "link/int_text.h"
#include "link/qt_text.h"
#include "modbusmap/modbus_tab.h"
#include "system/system_tab.h"
#include "ui_form1.h"
#include "ui_hart_tab.h"
#include "ui_modbus_tab.h"
#include "ui_system_tab.h"

namespace kt730 {

Form1::Form1(Clock& clock, SerialPort& port, Messages& messages, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::Form1>()),
      engine_(
          clock, port, messages,
          EngineView{
              [this](std::string_view t) { ui_->Edit8->setText(bytesToQString(t)); },
              [this](std::string_view t) { ui_->Memo10->setPlainText(bytesToQString(t)); },
              [this](std::string_view t) { modbusTab_->ui().Label68->setText(bytesToQString(t)); },
          }) {
    ui_->setupUi(this);
    systemTab_ = new SystemTab(engine_);
    hartTab_ = new HartTab(engine_);
    modbusTab_ = new ModbusTab(engine_);
    auto* monitorPage = new QWidget;
    monitorPage->setObjectName("TabSheet10");
    auto* outputPage = new QWidget;
    outputPage->setObjectName("TabSheet8");
    ui_->PageControl1->addTab(systemTab_, "System Parameter");
    ui_->PageControl1->addTab(hartTab_, "Transparent Mode");
    ui_->PageControl1->addTab(modbusTab_, "MODBUS Parameter Configuration");
    ui_->PageControl1->addTab(monitorPage, "Monitoring command");
    ui_->PageControl1->addTab(outputPage, "Current Output");
    ui_->PageControl1->setCurrentIndex(0);

    Ui::SystemTab& sys = systemTab_->ui();
    connect(sys.Button1, &QPushButton::clicked, this, &Form1::Button1Click);
    connect(ui_->Button26, &QPushButton::clicked, this, &Form1::Button26Click);
    engine_.setAutoCloseHandler([this] { Timer4Timer(); });

    // The system tab's operating mode also has a "Set" on the Modbus tab, the system parameter
    // reply fills that tab's mode list, and the slave address follows into the Modbus test.
    Ui::ModbusTab& modbusUi = modbusTab_->ui();
    systemTab_->setModbusModeList(modbusUi.ComboBox14);
    systemTab_->setModbusTestAddress(modbusUi.Edit18);
    connect(modbusUi.Button22, &QPushButton::clicked, systemTab_, &SystemTab::Button22Click);
    connect(sys.Edit14, &QLineEdit::textChanged, systemTab_, &SystemTab::Edit14Change);
    connect(ui_->Label8, &Kt730DoubleClickLabel::doubleClicked, systemTab_,
            &SystemTab::Label8DblClick);

    // The HART variables also stand under their headings on the Modbus tab.
    connect(hartTab_, &HartTab::variableShown, this, [this](int variable, const QString& text) {
        Ui::ModbusTab& modbus = modbusTab_->ui();
        const std::array<QLabel*, 4> labels = {modbus.HLabel2, modbus.HLabel3, modbus.HLabel4,
                                               modbus.HLabel5};
        if (variable >= 1 && variable <= 4) {
            labels[static_cast<std::size_t>(variable - 1)]->setText(text);
        }
    });

    applyListRules(this);
    FormCreate();
}

Form1::~Form1() = default;

void Form1::FormCreate() {
    systemTab_->ui().Button6->setEnabled(true);
    engine_.timer2().setEnabled(false);
    engine_.timer3().setEnabled(false);
    engine_.timer4().setEnabled(false);
}

void Form1::presetPortName(const QString& name) { systemTab_->ui().SPREALCOM->setEditText(name); }

void Form1::Button1Click() {
    guarded(engine_.messages(), [this] {
        Ui::SystemTab& sys = systemTab_->ui();
        SerialPort& port = engine_.port();
        if (engine_.portOpen != 0) {
            setClosed();
            return;
        }
        port.close();
        PortSettings settings;
        settings.baudRate = textToInt(toUtf8(sys.ComboBox11->currentText()));
        int parity = sys.ComboBox10->currentIndex();
        if (parity < 0)
            parity = sys.ComboBox10->findText(sys.ComboBox10->currentText().trimmed(),
                                              Qt::MatchFixedString);
        if (parity < 0) {
            engine_.messages().message("Parity must be None, Odd or Even");
            return;
        }
        settings.parity = static_cast<Parity>(parity);
        settings.name = toUtf8(sys.SPREALCOM->currentText());
        if (const auto error = port.open(settings)) {
            engine_.messages().message(*error);
            return;
        }
        port.setDtr(sys.CheckBox2->isChecked());
        port.setRts(sys.CheckBox1->isChecked());
        engine_.portOpen = 1;
        sys.Button1->setText("Close");
        sys.Button6->setEnabled(true);
    });
}

void Form1::Timer4Timer() {
    engine_.timer4().setEnabled(false);
    setClosed();
}

void Form1::setClosed() {
    Ui::SystemTab& sys = systemTab_->ui();
    engine_.portOpen = 0;
    sys.Button1->setText("Open");
    sys.Button6->setEnabled(false);
    engine_.port().close();
}

void Form1::Button26Click() { ui_->Memo10->clear(); }

}  // namespace kt730
