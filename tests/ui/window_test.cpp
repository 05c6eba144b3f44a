// The main window: start state, Open/Close and the automatic close, the buffer fields.
#include <QCheckBox>
#include <QTabWidget>
#include <QtTest>

#include "link/engine.h"
#include "support/window_fixture.h"

using kt730::testing::WindowFixture;

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void startState() {
        WindowFixture f;
        f.port.opened = false;
        QCOMPARE(f.window.windowTitle(), QString("KT730-T-B-2"));
        QCOMPARE(f.label("Label41")->text(), QString("KT730-T-B-2 Configuration Software"));
        QCOMPARE(f.label("Label77")->text(), QString("V6.0 (Aug 20, 2024)"));
        QCOMPARE(f.label("Label8")->text(), QString());
        auto* pages = f.get<QTabWidget>("PageControl1");
        const QStringList names{"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet10", "TabSheet8"};
        const QStringList captions{"System Parameter", "Transparent Mode",
                                   "MODBUS Parameter Configuration", "Monitoring command",
                                   "Current Output"};
        QCOMPARE(pages->count(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(pages->widget(i)->objectName(), names[i]);
            QCOMPARE(pages->tabText(i), captions[i]);
        }
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(f.combo("SPREALCOM")->count(), 12);
        QCOMPARE(f.combo("SPREALCOM")->currentText(), QString("COM1"));
        QCOMPARE(f.combo("SPREALCOM")->itemText(11), QString("COM12"));
        QCOMPARE(f.combo("ComboBox11")->currentIndex(), 3);
        QCOMPARE(f.combo("ComboBox11")->currentText(), QString("9600"));
        QCOMPARE(f.combo("ComboBox10")->currentText(), QString("None"));
        QCOMPARE(f.get<QPushButton>("Button1")->text(), QString("Open"));
        QVERIFY(f.get<QPushButton>("Button6")->isEnabled());
        QVERIFY(!f.get<QCheckBox>("CheckBox1")->isChecked());
        QVERIFY(!f.get<QCheckBox>("CheckBox2")->isChecked());
        QCOMPARE(f.get<QCheckBox>("CheckBox1")->text(), QString("COM_RTS"));
        QCOMPARE(f.get<QCheckBox>("CheckBox2")->text(), QString("COM_DTR"));
        QCOMPARE(f.get<QPushButton>("Button26")->text(), QString("Clear Buffer"));
        QCOMPARE(f.label("Label68")->text(), QString("Current(RTU_ADR)"));
        kt730::Engine& e = f.window.engine();
        QVERIFY(!e.timer2().isEnabled() && !e.timer3().isEnabled() && !e.timer4().isEnabled());
        QCOMPARE(e.timer3().interval(), std::chrono::milliseconds(1000));
        QCOMPARE(e.requestCode, 0);
        QCOMPARE(int(e.portOpen), 0);
    }

    void openUsesTheChosenSettingsAndLines_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("baud");
        QTest::addColumn<int>("parity");
        QTest::addColumn<bool>("rts");
        QTest::addColumn<bool>("dtr");
        QTest::newRow("COM3 19200 even") << "COM3"
                                         << "19200" << 2 << false << false;
        QTest::newRow("typed device, odd, lines on") << "/dev/pts/7"
                                                     << "115200" << 1 << true << true;
        QTest::newRow("typed baud in hex") << "COM13"
                                           << "$2580" << 0 << false << true;
    }
    void openUsesTheChosenSettingsAndLines() {
        QFETCH(QString, port);
        QFETCH(QString, baud);
        QFETCH(int, parity);
        QFETCH(bool, rts);
        QFETCH(bool, dtr);
        WindowFixture f;
        f.port.opened = false;
        f.combo("SPREALCOM")->setEditText(port);
        f.combo("ComboBox11")->setEditText(baud);
        f.combo("ComboBox10")->setCurrentIndex(parity);
        f.get<QCheckBox>("CheckBox1")->setChecked(rts);
        f.get<QCheckBox>("CheckBox2")->setChecked(dtr);
        f.click("Button1");
        QVERIFY(f.messages.shown.empty());
        QCOMPARE(QString::fromStdString(f.port.lastSettings.name), port);
        QCOMPARE(f.port.lastSettings.baudRate, baud == "$2580" ? 9600 : baud.toInt());
        QCOMPARE(static_cast<int>(f.port.lastSettings.parity), parity);
        QCOMPARE(f.port.rts, std::optional<bool>(rts));
        QCOMPARE(f.port.dtr, std::optional<bool>(dtr));
        QCOMPARE(f.get<QPushButton>("Button1")->text(), QString("Close"));
        QCOMPARE(int(f.window.engine().portOpen), 1);

        f.click("Button1");
        QCOMPARE(f.get<QPushButton>("Button1")->text(), QString("Open"));
        QVERIFY(!f.get<QPushButton>("Button6")->isEnabled());
        QCOMPARE(int(f.window.engine().portOpen), 0);
        QVERIFY(!f.port.opened);

        f.click("Button1");  // opening again enables the connection check
        QVERIFY(f.get<QPushButton>("Button6")->isEnabled());
    }

    void openFailuresLeaveThePortClosed_data() {
        QTest::addColumn<QString>("baud");
        QTest::addColumn<QString>("parity");
        QTest::addColumn<QString>("portError");
        QTest::addColumn<QString>("message");
        QTest::newRow("letters as baud") << "fast"
                                         << "None"
                                         << ""
                                         << "'fast' is not a valid integer value.";
        QTest::newRow("trailing blank") << "9600 "
                                        << "None"
                                        << ""
                                        << "'9600 ' is not a valid integer value.";
        QTest::newRow("unknown parity") << "9600"
                                        << "Mark"
                                        << ""
                                        << "Parity must be None, Odd or Even";
        QTest::newRow("port cannot open") << "9600"
                                          << "None"
                                          << "Error opening serial port\n\nCOM1: Permission denied"
                                          << "Error opening serial port\n\nCOM1: Permission denied";
    }
    void openFailuresLeaveThePortClosed() {
        QFETCH(QString, baud);
        QFETCH(QString, parity);
        QFETCH(QString, portError);
        QFETCH(QString, message);
        WindowFixture f;
        f.port.opened = false;
        if (!portError.isEmpty()) f.port.openError = portError.toStdString();
        f.combo("ComboBox11")->setEditText(baud);
        f.combo("ComboBox10")->setEditText(parity);
        f.click("Button1");
        QCOMPARE(f.messages.shown, std::vector<std::string>{message.toStdString()});
        QCOMPARE(int(f.window.engine().portOpen), 0);
        QCOMPARE(f.get<QPushButton>("Button1")->text(), QString("Open"));
        QVERIFY(f.get<QPushButton>("Button6")->isEnabled());
        QVERIFY(!f.port.opened);
    }

    void automaticCloseComes2000msAfterTheTimerIsArmed() {
        WindowFixture f;
        f.port.opened = false;
        f.click("Button1");
        kt730::Engine& e = f.window.engine();
        e.timer4().setInterval(std::chrono::milliseconds(2000));
        e.timer4().setEnabled(true);
        f.port.deliver("OK");  // a reply in between changes nothing
        f.advance(1999);
        QCOMPARE(f.get<QPushButton>("Button1")->text(), QString("Close"));
        f.advance(1);
        QCOMPARE(f.get<QPushButton>("Button1")->text(), QString("Open"));
        QVERIFY(!f.get<QPushButton>("Button6")->isEnabled());
        QVERIFY(!f.port.opened);
        QVERIFY(!e.timer4().isEnabled());
    }

    void clearBufferEmptiesOnlyTheReceiveField() {
        WindowFixture f;
        f.window.engine().sendText("QQS#RESET#", 200, 3);
        f.reply("OK");
        QCOMPARE(f.receiveBuffer(), QString("OK"));
        f.click("Button26");
        QCOMPARE(f.receiveBuffer(), QString());
        QCOMPARE(f.sendBuffer(), QString("QQS#RESET#"));
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
