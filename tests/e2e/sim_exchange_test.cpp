// The whole path: the real window, a real serial port and the module simulator on a
// pseudo-terminal. Each test is one engineer's session.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "app/form1.h"
#include "link/qt_clock.h"
#include "link/qt_serial_port.h"
#include "support/fake_port.h"
#include "support/sim_process.h"

using kt730::testing::RecordingMessages;
using kt730::testing::SimProcess;

namespace {

constexpr int kWait = 5000;  // ms for one exchange: send, reply, receive wait, parse

// The real window on the simulator's port, opened.
struct Session {
    explicit Session(const SimProcess& sim) : window(clock, port, messages) {
        window.presetPortName(sim.device());
        window.show();
        click("Button1");
    }
    template <typename W>
    W* get(const char* name) {
        return window.findChild<W*>(QString::fromLatin1(name));
    }
    void click(const char* name) { get<QAbstractButton>(name)->click(); }
    QString text(const char* name) { return get<QLineEdit>(name)->text(); }
    QString memo() { return get<QPlainTextEdit>("Memo10")->toPlainText(); }

    kt730::QtClock clock;
    kt730::QtSerialPort port;
    RecordingMessages messages;
    kt730::Form1 window;
};

}  // namespace

class SimExchangeTest : public QObject {
    Q_OBJECT

  private slots:
    void systemParametersQuerySetAndQueryAgain() {
        SimProcess sim;
        QVERIFY2(!sim.device().isEmpty(), "the simulator did not start");
        Session s(sim);
        QCOMPARE(s.get<QPushButton>("Button1")->text(), QString("Close"));

        s.click("Button6");  // Communication Query
        QTRY_VERIFY_WITH_TIMEOUT(s.memo().contains("QV:"), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(s.window.engine().requestCode, 0, kWait);

        s.click("Button23");  // System Parameters
        QTRY_COMPARE_WITH_TIMEOUT(s.text("Edit14"), QString("001"), kWait);
        QCOMPARE(s.get<QComboBox>("ComboBox2")->currentText(), QString("9600"));
        QCOMPARE(s.get<QComboBox>("ComboBox7")->currentIndex(), 0);
        QCOMPARE(s.text("ABadr"), QString("00000"));
        QCOMPARE(s.text("Edit18"), QString("001"));  // the Modbus test follows the slave address

        s.get<QLineEdit>("Edit14")->setText("17");
        s.click("Button29");
        QCOMPARE(s.text("Edit8"), QString("QQS#ADR:017#"));
        QTRY_COMPARE_WITH_TIMEOUT(s.window.engine().requestCode, 0, kWait);  // acknowledged

        s.get<QLineEdit>("Edit14")->setText("");
        s.click("Button23");
        QTRY_COMPARE_WITH_TIMEOUT(s.text("Edit14"), QString("017"), kWait);
        QCOMPARE(s.messages.shown, std::vector<std::string>{});
    }

    void hartIdentificationThenVariables() {
        SimProcess sim;
        QVERIFY2(!sim.device().isEmpty(), "the simulator did not start");
        Session s(sim);

        s.click("Button7");  // HART Device Parameter Query
        QTRY_COMPARE_WITH_TIMEOUT(s.text("Edit32"), QString("66051"), kWait);  // 01 02 03
        QCOMPARE(s.text("Edit28"), QString("38"));
        QCOMPARE(s.text("Edit29"), QString("6"));
        QCOMPARE(s.window.engine().requestCode, 0);

        s.click("Button16");  // HART Command Query, a long frame to the identified instrument
        QTRY_VERIFY_WITH_TIMEOUT(!s.text("Edit25").isEmpty(), kWait);
        QCOMPARE(s.get<QComboBox>("ComboBox3")->currentText(), QString("CuMtr_hr "));
        QCOMPARE(s.get<QLabel>("HLabel2")->text(), s.text("Edit25"));
        QVERIFY(!s.text("Edit30").isEmpty());
        QCOMPARE(s.messages.shown, std::vector<std::string>{});
    }

    void modbusReadHoldingRegisters() {
        SimProcess sim;
        QVERIFY2(!sim.device().isEmpty(), "the simulator did not start");
        Session s(sim);
        // Read two registers from 40001 of slave 1; CRC C4 0B, low byte first.
        const std::uint8_t request[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC4, 0x0B};
        kt730::Engine& engine = s.window.engine();
        engine.clearBuffers();
        std::copy(std::begin(request), std::end(request), engine.sendArea().begin());
        engine.sendCommand(sizeof request, kt730::ShowForm::Hex, 302, 1);
        QCOMPARE(s.text("Edit8"), QString("01 03 00 00 00 02 C4 0B "));
        // Slave 1, function 3, four data bytes: the loop current as a 32-bit value.
        QTRY_VERIFY_WITH_TIMEOUT(s.memo().startsWith("01 03 04 "), kWait);
        QCOMPARE(s.memo().size(), 9 * 3);
        QCOMPARE(engine.requestCode, 302);
    }

    void silentModuleTimesOut() {
        SimProcess sim({"--silent"});
        QVERIFY2(!sim.device().isEmpty(), "the simulator did not start");
        Session s(sim);
        s.click("Button6");
        QTest::qWait(2500);
        QCOMPARE(s.messages.shown, std::vector<std::string>{});
        QTRY_COMPARE_WITH_TIMEOUT(s.messages.shown, std::vector<std::string>{"Connection Timeout!"},
                                  2000);
        QCOMPARE(s.window.engine().requestCode, 201);
    }
};

QTEST_MAIN(SimExchangeTest)
#include "sim_exchange_test.moc"
