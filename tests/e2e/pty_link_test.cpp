// The real window on a real serial port: a pseudo-terminal whose other end the test plays.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "app/form1.h"
#include "link/qt_clock.h"
#include "link/qt_serial_port.h"
#include "support/fake_port.h"
#include "support/pty_pair.h"

using kt730::testing::PtyPair;
using kt730::testing::RecordingMessages;

class PtyLinkTest : public QObject {
    Q_OBJECT

  private slots:
    void commandGoesOutAndTheReplyIsShown() {
        PtyPair pty;
        QVERIFY2(pty.ok(), "no pseudo-terminal");
        kt730::QtClock clock;
        kt730::QtSerialPort port;
        RecordingMessages messages;
        kt730::Form1 window(clock, port, messages);
        window.presetPortName(QString::fromStdString(pty.path()));
        window.show();

        window.findChild<QPushButton*>("Button1")->click();
        QCOMPARE(messages.shown, std::vector<std::string>{});
        QCOMPARE(window.findChild<QPushButton*>("Button1")->text(), QString("Close"));

        window.findChild<QPushButton*>("Button6")->click();
        QCOMPARE(window.findChild<QLineEdit*>("Edit8")->text(), QString("QQQ#QV#"));
        std::string written;
        QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(written += pty.read(10, 7)),
                                  QString("QQQ#QV#"), 3000);

        pty.write("QV:6.0");
        auto* memo = window.findChild<QPlainTextEdit*>("Memo10");
        QTRY_COMPARE_WITH_TIMEOUT(memo->toPlainText(), QString("QV:6.0"), 3000);
        // The connection check's parse clears the pending request; no time-out follows.
        QTRY_COMPARE_WITH_TIMEOUT(window.engine().requestCode, 0, 3000);
        QTest::qWait(3200);
        QCOMPARE(messages.shown, std::vector<std::string>{});

        window.findChild<QPushButton*>("Button1")->click();
        QCOMPARE(window.findChild<QPushButton*>("Button1")->text(), QString("Open"));
    }

    void aVanishedDeviceLeavesTheWindowOpenAndCommandsTimeOut() {
        auto pty = std::make_unique<PtyPair>();
        QVERIFY2(pty->ok(), "no pseudo-terminal");
        kt730::QtClock clock;
        kt730::QtSerialPort port;
        RecordingMessages messages;
        kt730::Form1 window(clock, port, messages);
        window.presetPortName(QString::fromStdString(pty->path()));
        window.findChild<QPushButton*>("Button1")->click();
        QCOMPARE(window.findChild<QPushButton*>("Button1")->text(), QString("Close"));

        pty.reset();  // the adapter is pulled out
        QTest::qWait(300);
        window.findChild<QPushButton*>("Button6")->click();
        QTRY_COMPARE_WITH_TIMEOUT(messages.shown, std::vector<std::string>{"Connection Timeout!"},
                                  5000);
        QCOMPARE(window.findChild<QPushButton*>("Button1")->text(), QString("Close"));
        window.findChild<QPushButton*>("Button1")->click();
        QCOMPARE(window.findChild<QPushButton*>("Button1")->text(), QString("Open"));
    }

    void aMissingDeviceGivesTheOpenError() {
        kt730::QtClock clock;
        kt730::QtSerialPort port;
        RecordingMessages messages;
        kt730::Form1 window(clock, port, messages);
        window.presetPortName("/dev/kt730-no-such-port");
        window.findChild<QPushButton*>("Button1")->click();
        QCOMPARE(messages.shown.size(), std::size_t{1});
        QVERIFY(QString::fromStdString(messages.shown[0]).startsWith("Error opening serial port"));
        QCOMPARE(window.findChild<QPushButton*>("Button1")->text(), QString("Open"));
    }
};

QTEST_MAIN(PtyLinkTest)
#include "pty_link_test.moc"
