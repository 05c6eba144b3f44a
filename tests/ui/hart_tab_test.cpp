// The transparent-mode tab in the real window: HART frames written to the port, replies parsed
// into the tab and the Modbus tab's value labels, refusals and time-outs. Expected frames are
// worked out by hand: the check byte is the exclusive-or of the delimiter .. last data byte.

#include "hart/hart_tab.h"

#include <QGroupBox>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <cstdint>
#include <string>
#include <vector>

#include "support/window_fixture.h"

namespace kt730::testing {
namespace {

// "FF 02 80" -> the bytes; a test's own spelling of byte strings.
std::string bytes(const char* hex) {
    std::string out;
    const std::string text(hex);
    for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
        out += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
    }
    return out;
}

std::string preamble(int count) { return std::string(static_cast<std::size_t>(count), '\xFF'); }

// How Edit8 shows bytes: each byte's pair followed by a blank.
QString shownPairs(const std::string& frame) {
    QString text;
    for (const char c : frame) {
        text += QStringLiteral("%1 ").arg(static_cast<unsigned char>(c), 2, 16, QLatin1Char('0'));
    }
    return text.toUpper();
}

// The identification reply example: manufacturer 0x26, device type 6, 5 request preambles,
// device ID 01 02 03, behind five preamble bytes (so the last preamble byte is at 4).
const std::string kIdentification =
    preamble(5) + bytes("06 80 00 0E 00 00 FE 26 06 05 05 01 03 08 00 01 02 03 5C");

struct Variable {
    std::uint8_t unit;
    const char* value;  // four bytes, most significant first
};

// A command 3 reply with byte count `count`, a loop current of 20 mA and four unit-value groups,
// behind five preamble bytes. The parse reads no check byte, so a zero stands in for it.
std::string variablesReply(int count, const std::vector<Variable>& vars) {
    std::string reply = preamble(5) + bytes("86 A6 06 01 02 03 03");
    reply += static_cast<char>(count);
    reply += bytes("00 00 41 A0 00 00");
    for (const Variable& v : vars) {
        reply += static_cast<char>(v.unit);
        reply += bytes(v.value);
    }
    return reply + '\0';
}

std::vector<Variable> allFour(Variable v) { return {v, v, v, v}; }

// The recorded messages and error boxes, for comparisons that print what differs.
QStringList shown(const WindowFixture& f) {
    QStringList list;
    for (const std::string& m : f.messages.shown) list << QString::fromStdString(m);
    return list;
}

QString qs(const char* text) { return QString::fromUtf8(text); }

const char* const kValueFields[] = {"Edit25", "Edit26", "Edit27", "Edit30"};
const char* const kValueLabels[] = {"HLabel2", "HLabel3", "HLabel4", "HLabel5"};
const char* const kUnitLists[] = {"ComboBox3", "ComboBox31", "ComboBox32", "ComboBox33"};

}  // namespace

class HartTabTest : public QObject {
    Q_OBJECT

  private:
    // Sends the identification to polling address 0 and lets the example reply come back.
    static void identify(WindowFixture& f) {
        f.click("Button7");
        f.reply(kIdentification);
    }
    static std::string sendArea(WindowFixture& f) {
        const auto area = f.window.engine().sendArea();
        return std::string(area.begin(), area.end());
    }

  private slots:
    void captions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        const char* rows[][2] = {
            {"Label39", "Preamble Length:"},
            {"Label3", "HART Address:"},
            {"Label49", "HART Command Mode:"},
            {"Label61", "Manual HART Command:"},
            {"Label13", "HEX  (76 89 FD AD)"},
            {"Label62", "(Auto-Generate Checksum)"},
            {"Button20", "Send"},
            {"Label46", "Manufacturer ID:"},
            {"Label45", "Sensor Type:"},
            {"Label47", "Preamble Byte Count:"},
            {"Label44", "Sensor Serial Number:"},
            {"Button7", "HART Device Parameter Query"},
            {"Label7", "HART Address:"},
            {"Button14", "Set"},
            {"Label43", "Current_Variable_1:"},
            {"Label42", "Current_Variable_2:"},
            {"Label78", "Current_Variable_3:"},
            {"Label55", "Current_Variable_4:"},
            {"Label50", "Unit:"},
            {"Label79", "Unit:"},
            {"Label80", "Unit:"},
            {"Label57", "Unit:"},
            {"Button16", "HART Command Query"},
            {"GroupBox20", ""},
            {"GroupBox8", "HART Device Basic Parameters"},
            {"GroupBox6", "HART Address Configuration"},
            {"GroupBox10", "Universal HART Real-Time Data"},
            {"Edit9", "6"},
            {"Edit10", ""},
            {"HLabel1", "00000"},
            {"HLabel5", "00000"},
        };
        for (const auto& row : rows) {
            QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromUtf8(row[1]);
        }
    }
    void captions() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        WindowFixture f;
        QObject* control = f.window.findChild<QObject*>(name);
        QVERIFY2(control != nullptr, qPrintable(name));
        const char* property = qobject_cast<QGroupBox*>(control) != nullptr ? "title" : "text";
        QCOMPARE(control->property(property).toString(), caption);
    }

    void listsAtStart() {
        WindowFixture f;
        QComboBox* address = f.combo("ComboBox30");
        QCOMPARE(address->count(), 16);
        QCOMPARE(address->currentIndex(), 0);
        QCOMPARE(address->itemText(0), QStringLiteral("Address 0"));
        QCOMPARE(address->itemText(2), QStringLiteral("Address 2 "));
        QCOMPARE(address->itemText(3), QStringLiteral("Address 3"));
        QCOMPARE(address->itemText(14), QStringLiteral("Address 14 "));
        QCOMPARE(address->itemText(15), QStringLiteral("Address 15"));

        // Shows "Master Mode" but has no item selected.
        QComboBox* mode = f.combo("ComboBox42");
        QCOMPARE(mode->count(), 2);
        QCOMPARE(mode->itemText(1), QStringLiteral("Secondary Master Mode"));
        QCOMPARE(mode->currentIndex(), -1);
        QCOMPARE(mode->currentText(), QStringLiteral("Master Mode"));

        QComboBox* newAddress = f.combo("ComboBox27");
        QCOMPARE(newAddress->count(), 9);
        QCOMPARE(newAddress->itemText(8), QStringLiteral("8"));
        QCOMPARE(newAddress->currentIndex(), 0);

        for (const char* name : kUnitLists) {
            QComboBox* units = f.combo(name);
            QCOMPARE(units->count(), 77);
            QCOMPARE(units->currentIndex(), 0);
            QCOMPARE(units->currentText(), QStringLiteral("inH20 "));
            QCOMPARE(units->itemText(13), QString::fromUtf8("华氏度  "));
            QCOMPARE(units->itemText(76), QStringLiteral("other"));
        }
        // The lists differ only in the blanks of two items.
        QCOMPARE(f.combo("ComboBox3")->itemText(12), QString::fromUtf8("°C  "));
        QCOMPARE(f.combo("ComboBox33")->itemText(12), QString::fromUtf8("°C "));
        QCOMPARE(f.combo("ComboBox31")->itemText(14), QString::fromUtf8("兰氏度   "));
        QCOMPARE(f.combo("ComboBox32")->itemText(14), QString::fromUtf8("兰氏度    "));
    }

    // Frames of commands 0, 6 and 3 with the address choices and preamble settings.
    void requestFrames_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("identified");  // the example identification reply came first
        QTest::addColumn<int>("mode");         // ComboBox42 item chosen, -2 for untouched
        QTest::addColumn<int>("address");      // ComboBox30 item
        QTest::addColumn<int>("newAddress");   // ComboBox27 item
        QTest::addColumn<QString>("preambleSetting");
        QTest::addColumn<std::string>("frame");
        QTest::addColumn<int>("code");

        const std::string p7 = preamble(7);
        QTest::newRow("command 0, master")
            << "Button7" << false << 0 << 0 << 0 << "6" << p7 + bytes("02 80 00 00 82") << 100;
        QTest::newRow("command 0, mode untouched")
            << "Button7" << false << -2 << 0 << 0 << "6" << p7 + bytes("02 00 00 00 02") << 100;
        QTest::newRow("command 0, secondary master, address 12")
            << "Button7" << false << 1 << 12 << 0 << "6" << p7 + bytes("02 0C 00 00 0E") << 100;
        QTest::newRow("command 0, master, address 15")
            << "Button7" << false << 0 << 15 << 0 << "6" << p7 + bytes("02 8F 00 00 8D") << 100;
        QTest::newRow("command 0, no address, mode untouched")
            << "Button7" << false << -2 << -1 << 0 << "6" << p7 + bytes("02 FF 00 00 FD") << 100;
        QTest::newRow("command 0, no address, master")
            << "Button7" << false << 0 << -1 << 0 << "6" << p7 + bytes("02 7F 00 00 7D") << 100;
        QTest::newRow("preamble setting 0 gives one 0xFF")
            << "Button7" << false << -2 << 0 << 0 << "0" << bytes("FF 02 00 00 00 02") << 100;
        QTest::newRow("preamble setting -1 gives none")
            << "Button7" << false << -2 << 0 << 0 << "-1" << bytes("02 00 00 00 02") << 100;
        QTest::newRow("preamble setting in hexadecimal")
            << "Button7" << false << -2 << 0 << 0 << "$2" << bytes("FF FF FF 02 00 00 00 02")
            << 100;
        QTest::newRow("command 6, identified, master, new address 3")
            << "Button14" << true << 0 << 0 << 3 << "6"
            << p7 + bytes("82 A6 06 01 02 03 06 01 03 26") << 106;
        QTest::newRow("command 6, identified, mode untouched")
            << "Button14" << true << -2 << 0 << 3 << "6"
            << p7 + bytes("82 26 06 01 02 03 06 01 03 A6") << 106;
        QTest::newRow("command 6 before identification, master")
            << "Button14" << false << 0 << 0 << 0 << "6"
            << p7 + bytes("82 80 00 00 00 00 06 01 00 05") << 106;
        QTest::newRow("command 6, new address 8")
            << "Button14" << true << 0 << 0 << 8 << "6"
            << p7 + bytes("82 A6 06 01 02 03 06 01 08 2D") << 106;
        QTest::newRow("command 3, identified, master")
            << "Button16" << true << 0 << 0 << 0 << "6" << p7 + bytes("82 A6 06 01 02 03 03 00 21")
            << 103;
        QTest::newRow("command 3 before identification, mode untouched")
            << "Button16" << false << -2 << 0 << 0 << "6"
            << p7 + bytes("82 00 00 00 00 00 03 00 81") << 103;
    }
    void requestFrames() {
        QFETCH(QString, button);
        QFETCH(bool, identified);
        QFETCH(int, mode);
        QFETCH(int, address);
        QFETCH(int, newAddress);
        QFETCH(QString, preambleSetting);
        QFETCH(std::string, frame);
        QFETCH(int, code);

        WindowFixture f;
        if (identified) identify(f);
        if (mode != -2) f.choose("ComboBox42", mode);
        f.combo("ComboBox30")->setCurrentIndex(address);
        f.combo("ComboBox27")->setCurrentIndex(newAddress);
        f.edit("Edit9")->setText(preambleSetting);
        f.port.writes.clear();

        f.click(qPrintable(button));

        QCOMPARE(f.port.writes.size(), std::size_t{1});
        QCOMPARE(shownPairs(f.written()), shownPairs(frame));
        QCOMPARE(f.sendBuffer(), shownPairs(frame));
        QCOMPARE(f.window.engine().requestCode, code);
        QCOMPARE(f.window.engine().timeoutKind, 3);
        QCOMPARE(shown(f), QStringList());
    }

    void identificationKeepsPollAddress_data() {
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("stored");
        QTest::newRow("address 5") << 5 << 5;
        QTest::newRow("no address") << -1 << 255;
    }
    void identificationKeepsPollAddress() {
        QFETCH(int, address);
        QFETCH(int, stored);
        WindowFixture f;
        f.combo("ComboBox30")->setCurrentIndex(address);
        f.click("Button7");
        QCOMPARE(int{f.window.engine().workBuffer()[7]}, stored);
    }

    // The settings of the manual body and the preamble that are refused: a clear message, and
    // nothing is written, not even into the send area.
    void refusedRequests_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("preambleSetting");
        QTest::addColumn<QString>("manual");
        QTest::addColumn<std::string>("message");

        const QString body15 = "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E";
        QTest::newRow("command 0, setting 499")
            << "Button7"
            << "499"
            << "" << std::string("Preamble Length must be from -1 to 498.");
        QTest::newRow("command 0, setting -2")
            << "Button7"
            << "-2"
            << "" << std::string("Preamble Length must be from -1 to 498.");
        QTest::newRow("command 0, largest integer")
            << "Button7"
            << "2147483647"
            << "" << std::string("Preamble Length must be from -1 to 498.");
        QTest::newRow("command 0, letters")
            << "Button7"
            << "abc"
            << "" << std::string("'abc' is not a valid integer value.");
        QTest::newRow("command 0, empty") << "Button7"
                                          << ""
                                          << "" << std::string("'' is not a valid integer value.");
        QTest::newRow("command 0, trailing blank")
            << "Button7"
            << "6 "
            << "" << std::string("'6 ' is not a valid integer value.");
        QTest::newRow("command 6, setting 494")
            << "Button14"
            << "494"
            << "" << std::string("Preamble Length must be from -1 to 493.");
        QTest::newRow("command 6, letters")
            << "Button14"
            << "abc"
            << "" << std::string("'abc' is not a valid integer value.");
        QTest::newRow("command 3, setting 495")
            << "Button16"
            << "495"
            << "" << std::string("Preamble Length must be from -1 to 494.");
        QTest::newRow("command 3, setting -2")
            << "Button16"
            << "-2"
            << "" << std::string("Preamble Length must be from -1 to 494.");
        QTest::newRow("manual 15 bytes, setting 488")
            << "Button20"
            << "488" << body15 << std::string("Preamble Length must be from -1 to 487.");
        QTest::newRow("manual, letters")
            << "Button20"
            << "abc"
            << "02 80 00 00" << std::string("'abc' is not a valid integer value.");
        QTest::newRow("manual, two blanks") << "Button20"
                                            << "6"
                                            << "01  02" << std::string("Data eeore!");
        QTest::newRow("manual, dash for blank") << "Button20"
                                                << "6"
                                                << "01-02" << std::string("NO SPACK");
        QTest::newRow("manual, lower case") << "Button20"
                                            << "6"
                                            << "0a" << std::string("Data eeore!");
        QTest::newRow("manual, punctuation digit") << "Button20"
                                                   << "6"
                                                   << "0-" << std::string("Data eeore!");
        QTest::newRow("manual, digits without blanks") << "Button20"
                                                       << "6"
                                                       << "01020304" << std::string("NO SPACK");
        QTest::newRow("manual, empty") << "Button20"
                                       << "6"
                                       << "" << std::string("NO SPACK");
        QTest::newRow("manual, one character") << "Button20"
                                               << "6"
                                               << "0" << std::string("NO SPACK");
    }
    void refusedRequests() {
        QFETCH(QString, button);
        QFETCH(QString, preambleSetting);
        QFETCH(QString, manual);
        QFETCH(std::string, message);

        WindowFixture f;
        f.combo("ComboBox30")->setCurrentIndex(5);
        f.edit("Edit9")->setText(preambleSetting);
        f.edit("Edit10")->setText(manual);
        Engine& engine = f.window.engine();
        engine.requestCode = 202;  // an earlier request still pending
        const std::string before = sendArea(f);

        f.click(qPrintable(button));

        QCOMPARE(shown(f), QStringList{QString::fromStdString(message)});
        QVERIFY(f.port.writes.empty());
        QVERIFY(sendArea(f) == before);
        QCOMPARE(f.sendBuffer(), QString());
        QCOMPARE(engine.requestCode, 202);
        QVERIFY(!engine.timer3().isEnabled());
        QCOMPARE(int{engine.workBuffer()[7]}, 0);  // the identification stored no address
    }

    void largestPreambleFillsTheSendArea() {
        WindowFixture f;
        f.edit("Edit9")->setText("498");
        f.click("Button7");
        QCOMPARE(shownPairs(f.written()), shownPairs(preamble(499) + bytes("02 00 00 00 02")));
        QCOMPARE(f.written().size(), std::size_t{504});
    }

    void manualCommand_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<std::string>("frame");
        const std::string p7 = preamble(7);
        QTest::newRow("example body") << "02 80 00 00" << p7 + bytes("02 80 00 00 82");
        QTest::newRow("four digits make one pair") << "0102" << p7 + bytes("01 01");
        QTest::newRow("last single character ignored") << "01 02 0" << p7 + bytes("01 02 03");
        QTest::newRow("last pair with its blank") << "01 02 " << p7 + bytes("01 02 03");
        QTest::newRow("16 pairs send 15")
            << "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F"
            << p7 + bytes("00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");
        QTest::newRow("label example") << "76 89 FD AD" << p7 + bytes("76 89 FD AD AF");
    }
    void manualCommand() {
        QFETCH(QString, typed);
        QFETCH(std::string, frame);
        WindowFixture f;
        f.edit("Edit10")->setText(typed);
        f.click("Button20");
        QCOMPARE(shownPairs(f.written()), shownPairs(frame));
        QCOMPARE(f.sendBuffer(), shownPairs(frame));
        QCOMPARE(f.window.engine().requestCode, 104);
        QCOMPARE(shown(f), QStringList());
    }

    void identification_data() {
        QTest::addColumn<int>("address");
        QTest::addColumn<std::string>("reply");
        QTest::addColumn<QStringList>("fields");    // Edit28, Edit29, Edit31, Edit32
        QTest::addColumn<int>("newAddress");        // ComboBox27 afterwards
        QTest::addColumn<std::string>("identity");  // work buffer bytes 0..7

        const QStringList example = {"38", "6", "5", "66051"};
        QTest::newRow("example") << 0 << kIdentification << example << 0
                                 << bytes("01 02 03 00 00 00 06 00");
        QTest::newRow("example, address 3")
            << 3 << kIdentification << example << 3 << bytes("01 02 03 00 00 00 06 03");
        QTest::newRow("address 12 is past the new-address list")
            << 12 << kIdentification << example << -1 << bytes("01 02 03 00 00 00 06 0C");
        QTest::newRow("noise before the reply") << 0 << std::string("OK\xFF\x02") + kIdentification
                                                << example << 0 << bytes("01 02 03 00 00 00 06 00");
        QTest::newRow("largest values")
            << 0 << preamble(2) + bytes("06 80 00 0E 00 00 FE FF FF FF 05 01 03 08 00 FF FF FF 00")
            << QStringList{"255", "255", "255", "16777215"} << 0
            << bytes("FF FF FF 00 00 00 FF 00");
        QTest::newRow("long frame reply is not an identification")
            << 0 << preamble(5) + bytes("86 80 00 0E 00 00 FE 26 06 05 05 01 03 08 00 01 02 03")
            << QStringList{"", "", "", ""} << 0 << bytes("00 00 00 00 00 00 00 00");
        QTest::newRow("text from the module")
            << 4 << std::string("ERROR#") << QStringList{"", "", "", ""} << 0
            << bytes("00 00 00 00 00 00 00 04");
        QTest::newRow("fewer than five bytes")
            << 0 << bytes("FF 06 00 00") << QStringList{"", "", "", ""} << 0
            << bytes("00 00 00 00 00 00 00 00");
    }
    void identification() {
        QFETCH(int, address);
        QFETCH(std::string, reply);
        QFETCH(QStringList, fields);
        QFETCH(int, newAddress);
        QFETCH(std::string, identity);

        WindowFixture f;
        f.combo("ComboBox30")->setCurrentIndex(address);
        f.click("Button7");
        // Whatever the fields show when the reply comes is replaced or emptied.
        for (const char* name : {"Edit28", "Edit29", "Edit31", "Edit32"}) {
            f.edit(name)->setText("stale");
        }
        f.reply(reply);

        const char* names[] = {"Edit28", "Edit29", "Edit31", "Edit32"};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(f.edit(names[i])->text(), fields[i]);
        }
        QCOMPARE(f.combo("ComboBox27")->currentIndex(), newAddress);
        if (newAddress < 0) QCOMPARE(f.combo("ComboBox27")->currentText(), QString());
        const auto& work = f.window.engine().workBuffer();
        QCOMPARE(shownPairs(std::string(work.begin(), work.begin() + 8)), shownPairs(identity));
        QCOMPARE(f.window.engine().requestCode, 0);
        QCOMPARE(f.window.engine().replyLength, static_cast<std::int32_t>(reply.size()));
        QCOMPARE(shown(f), QStringList());
    }

    // A reply without FF 06 empties the fields only: the identity and the new-address list keep
    // what an earlier identification gave them.
    void failedIdentificationKeepsIdentity() {
        WindowFixture f;
        f.combo("ComboBox30")->setCurrentIndex(2);
        identify(f);
        f.combo("ComboBox30")->setCurrentIndex(0);
        f.click("Button7");
        f.edit("Edit28")->setText("stale");
        f.reply("ERROR#");
        QCOMPARE(f.edit("Edit28")->text(), QString());
        QCOMPARE(f.combo("ComboBox27")->currentIndex(), 2);
        const auto& work = f.window.engine().workBuffer();
        QCOMPARE(shownPairs(std::string(work.begin(), work.begin() + 7)),
                 shownPairs(bytes("01 02 03 00 00 00 06")));
        // The long frame still carries the manufacturer of the earlier reply.
        f.click("Button16");
        QCOMPARE(shownPairs(f.written()),
                 shownPairs(preamble(7) + bytes("82 26 06 01 02 03 03 00 A1")));
    }

    void variables_data() {
        QTest::addColumn<std::string>("value");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("item");
        QTest::addColumn<QStringList>("unitTexts");  // ComboBox3, 31, 32, 33

        auto same = [](const char* text) {
            const QString t = QString::fromUtf8(text);
            return QStringList{t, t, t, t};
        };
        QTest::newRow("10 degrees Celsius")
            << std::string("41 20 00 00") << 32 << "10" << 12
            << QStringList{QString::fromUtf8("°C  "), QString::fromUtf8("°C  "),
                           QString::fromUtf8("°C  "), QString::fromUtf8("°C ")};
        QTest::newRow("0.1 bar") << std::string("3D CC CC CD") << 7 << "0.1000000" << 6
                                 << same("bar    ");
        QTest::newRow("flow cut to nine characters")
            << std::string("46 40 E6 B6") << 19 << "12345.677" << 19 << same("CuMtr_hr ");
        QTest::newRow("-100 percent")
            << std::string("C2 C8 00 00") << 57 << "-100" << 75 << same("%");
        QTest::newRow("exponent cut off")
            << std::string("60 AD 78 EC") << 12 << "1.0000000" << 9 << same("KPa   ");
        QTest::newRow("HART not-a-number")
            << std::string("7F A0 00 00") << 250 << "00000000" << 76 << same("other");
        QTest::newRow("positive infinity")
            << std::string("7F 80 00 00") << 1 << "00000000" << 0 << same("inH20 ");
        QTest::newRow("quiet NaN")
            << std::string("FF C0 00 00") << 61 << "NAN" << 46 << same("kg        ");
        QTest::newRow("negative infinity")
            << std::string("FF 80 00 00") << 62 << "-INF" << 47 << same("MetTon    ");
        QTest::newRow("degrees Rankine")
            << std::string("00 00 00 00") << 34 << "0" << 14
            << QStringList{QString::fromUtf8("兰氏度   "), QString::fromUtf8("兰氏度   "),
                           QString::fromUtf8("兰氏度    "), QString::fromUtf8("兰氏度   ")};
        QTest::newRow("code 75") << std::string("3F 80 00 00") << 75 << "1" << 55
                                 << same("metTOM_min ");
        QTest::newRow("code 76 is other")
            << std::string("3F 80 00 00") << 76 << "1" << 76 << same("other");
        QTest::newRow("code 78") << std::string("3F 80 00 00") << 78 << "1" << 56
                                 << same("metton_hr  ");
        QTest::newRow("code 237") << std::string("3F 80 00 00") << 237 << "1" << 11
                                  << same("MPa    ");
    }
    void variables() {
        QFETCH(std::string, value);
        QFETCH(int, unit);
        QFETCH(QString, text);
        QFETCH(int, item);
        QFETCH(QStringList, unitTexts);

        WindowFixture f;
        identify(f);
        f.click("Button16");
        f.reply(variablesReply(26, allFour({static_cast<std::uint8_t>(unit), value.c_str()})));

        for (int v = 0; v < 4; ++v) {
            QCOMPARE(f.edit(kValueFields[v])->text(), text);
            QCOMPARE(f.label(kValueLabels[v])->text(), text);
            QCOMPARE(f.combo(kUnitLists[v])->currentIndex(), item);
            QCOMPARE(f.combo(kUnitLists[v])->currentText(), unitTexts[v]);
        }
        QCOMPARE(f.label("HLabel1")->text(), QStringLiteral("00000"));  // loop current not shown
        QCOMPARE(f.window.engine().requestCode, 0);
        QVERIFY(!f.window.engine().timer3().isEnabled());
        QCOMPARE(shown(f), QStringList());
    }

    // The byte count decides how many of variables 2 to 4 change; variable 1 is always read.
    void byteCount_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("changed");
        QTest::newRow("error reply, count 2") << 2 << 1;
        QTest::newRow("count 11") << 11 << 1;
        QTest::newRow("count 12") << 12 << 2;
        QTest::newRow("count 16") << 16 << 2;
        QTest::newRow("count 17") << 17 << 3;
        QTest::newRow("count 21") << 21 << 3;
        QTest::newRow("count 22") << 22 << 4;
        QTest::newRow("count 26") << 26 << 4;
        QTest::newRow("count 255") << 255 << 4;
    }
    void byteCount() {
        QFETCH(int, count);
        QFETCH(int, changed);

        WindowFixture f;
        identify(f);
        f.click("Button16");
        f.reply(variablesReply(26, allFour({32, "41 20 00 00"})));  // 10 degrees Celsius
        f.click("Button16");
        f.reply(variablesReply(count, allFour({57, "C2 C8 00 00"})));  // -100 percent

        for (int v = 0; v < 4; ++v) {
            const bool isNew = v < changed;
            QCOMPARE(f.edit(kValueFields[v])->text(), qs(isNew ? "-100" : "10"));
            QCOMPARE(f.label(kValueLabels[v])->text(), qs(isNew ? "-100" : "10"));
            QCOMPARE(f.combo(kUnitLists[v])->currentIndex(), isNew ? 75 : 12);
        }
    }

    // A signalling NaN raises the floating-point error and ends the parse there.
    void signallingNanStopsTheParse_data() {
        QTest::addColumn<int>("at");  // variable index 0..3 carrying the signalling NaN
        QTest::newRow("variable 1") << 0;
        QTest::newRow("variable 2") << 1;
        QTest::newRow("variable 4") << 3;
    }
    void signallingNanStopsTheParse() {
        QFETCH(int, at);
        WindowFixture f;
        identify(f);
        f.click("Button16");
        f.reply(variablesReply(26, allFour({32, "41 20 00 00"})));

        std::vector<Variable> vars = allFour({57, "C2 C8 00 00"});
        vars[static_cast<std::size_t>(at)] = {61, "FF 80 00 01"};
        f.click("Button16");
        f.reply(variablesReply(26, vars));

        QCOMPARE(shown(f), QStringList{"Invalid floating point operation."});
        for (int v = 0; v < 4; ++v) {
            const bool isNew = v < at;
            QCOMPARE(f.edit(kValueFields[v])->text(), qs(isNew ? "-100" : "10"));
            QCOMPARE(f.label(kValueLabels[v])->text(), qs(isNew ? "-100" : "10"));
            QCOMPARE(f.combo(kUnitLists[v])->currentIndex(), isNew ? 75 : 12);
        }
        QCOMPARE(f.window.engine().requestCode, 0);
    }

    void variablesReplyWithoutMarkerChangesNothing() {
        WindowFixture f;
        identify(f);
        f.click("Button16");
        f.reply(variablesReply(26, allFour({32, "41 20 00 00"})));
        f.click("Button16");
        // A short-frame error answer: FF 06, not FF 86.
        f.reply(preamble(5) + bytes("06 80 03 02 40 00 C7"));
        for (int v = 0; v < 4; ++v) {
            QCOMPARE(f.edit(kValueFields[v])->text(), QStringLiteral("10"));
            QCOMPARE(f.combo(kUnitLists[v])->currentIndex(), 12);
        }
        QCOMPARE(f.window.engine().requestCode, 0);
        QCOMPARE(shown(f), QStringList());
    }

    // A reply whose marker stands at the last place the scan looks (255-byte reply text): its
    // fields lie past the reply text and come from what the receive area holds there.
    void markerAtTheEndOfTheReplyText() {
        WindowFixture f;
        identify(f);
        f.click("Button16");
        std::string reply(250, 'x');
        reply += bytes("FF 86 00 00 00");  // the last position the scan looks at
        reply += std::string(149, '\0');   // fills the receive area: 404 bytes
        reply[250 + 8] = 26;
        reply[250 + 15] = 32;
        reply.replace(250 + 16, 4, bytes("41 20 00 00"));
        f.reply(reply);
        QCOMPARE(f.edit("Edit25")->text(), QStringLiteral("10"));
        QCOMPARE(f.combo("ComboBox3")->currentIndex(), 12);
        QCOMPARE(f.edit("Edit30")->text(), QStringLiteral("0"));
    }

    // The HART senders other than Button14 enable Timer3 without setting its interval: until a
    // sender sets it, the time-out comes after the first 1000 ms.
    void firstHartRequestTimesOutAfterOneSecond_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("identification") << "Button7";
        QTest::newRow("variables") << "Button16";
        QTest::newRow("manual") << "Button20";
    }
    void firstHartRequestTimesOutAfterOneSecond() {
        QFETCH(QString, button);
        WindowFixture f;
        f.edit("Edit10")->setText("02 80 00 00");
        f.click(qPrintable(button));
        f.advance(999);
        QCOMPARE(shown(f), QStringList());
        f.advance(1);
        QCOMPARE(shown(f), QStringList{"!"});
        QCOMPARE(f.label("Label68")->text(), QStringLiteral("Set Timeout"));
    }

    void pollAddressChangeTimesOutAfterThreeSeconds() {
        WindowFixture f;
        f.click("Button14");
        QVERIFY(f.port.rts.value_or(false));
        f.advance(2999);
        QCOMPARE(shown(f), QStringList());
        f.advance(1);
        QCOMPARE(shown(f), QStringList{"!"});
        QCOMPARE(f.label("Label68")->text(), QStringLiteral("Set Timeout"));

        // The interval stays 3000 ms for the HART requests that follow.
        f.click("Button7");
        f.advance(2999);
        QCOMPARE(f.messages.shown.size(), std::size_t{1});
        f.advance(1);
        QCOMPARE(f.messages.shown.size(), std::size_t{2});
    }

    // Button14 raises RTS before it reads its inputs, so even a refused frame leaves it set.
    void pollAddressChangeRaisesRtsFirst() {
        WindowFixture f;
        f.edit("Edit9")->setText("abc");
        f.click("Button14");
        QVERIFY(f.port.rts.value_or(false));
        QVERIFY(f.port.writes.empty());
    }

    void choosingTheHartAddressIsAnnounced() {
        WindowFixture f;
        QSignalSpy spy(&f.window.hartTab(), &HartTab::hartAddressChosen);
        f.choose("ComboBox30", 7);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 7);
    }
};

}  // namespace kt730::testing

QTEST_MAIN(kt730::testing::HartTabTest)
#include "hart_tab_test.moc"
