// The system parameter tab: its controls, the connection check, the system parameter query and
// its reply, and every system set command with its exact bytes. Expected bytes are worked out by
// hand from the command layouts.
#include <QGroupBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <string>

#include "link/engine.h"
#include "support/window_fixture.h"

using kt730::testing::WindowFixture;
using namespace std::string_literals;

namespace {

constexpr int kUnchanged = -2;

// Sets controls from "Name=text" (typed into a field or a list's text) or "Name#index" (an item
// chosen from a list, as the engineer does).
void apply(WindowFixture& f, const QStringList& inputs) {
    for (const QString& input : inputs) {
        const qsizetype cut = input.indexOf(QRegularExpression("[=#]"));
        QVERIFY2(cut > 0, qPrintable(input));
        const QByteArray name = input.left(cut).toLatin1();
        const QString value = input.mid(cut + 1);
        if (input[cut] == '#') {
            f.choose(name.constData(), value.toInt());
        } else if (auto* list = f.window.findChild<QComboBox*>(QString::fromLatin1(name))) {
            list->setEditText(value);
        } else {
            f.edit(name.constData())->setText(value);
        }
    }
}

void trigger(WindowFixture& f, const QString& control) {
    if (control == "Label8") {
        QTest::mouseDClick(f.label("Label8"), Qt::LeftButton);
    } else {
        f.click(control.toLatin1().constData());
    }
}

QPlainTextEdit* memo10(WindowFixture& f) { return f.get<QPlainTextEdit>("Memo10"); }

QByteArray writtenBytes(const WindowFixture& f) { return QByteArray::fromStdString(f.written()); }

// The controls the system parameter reply can change, as "index|text" for lists and the text for
// fields.
const char* const kReplyLists[] = {"ComboBox2", "ComboBox4",  "ComboBox8", "ComboBox9",
                                   "ComboBox7", "ComboBox14", "RS485ADY",  "RS485BDY"};
const char* const kReplyFields[] = {"Edit14", "Edit18", "Edit6", "ABadr", "BBadr"};

QString listState(QComboBox* list, int index) {
    return QString::number(index) + "|" + list->currentText();
}

QMap<QString, QString> replyControls(WindowFixture& f) {
    QMap<QString, QString> state;
    for (const char* name : kReplyLists) {
        QComboBox* list = f.combo(name);
        state[name] = listState(list, list->currentIndex());
    }
    for (const char* name : kReplyFields) state[name] = f.edit(name)->text();
    return state;
}

// `before` with the changes applied: "Name=index" for a list (its text is then that item's, or
// empty for no selection), "Name=text" for a field.
QMap<QString, QString> withChanges(WindowFixture& f, QMap<QString, QString> before,
                                   const QStringList& changes) {
    for (const QString& change : changes) {
        const QString name = change.section('=', 0, 0);
        const QString value = change.section('=', 1);
        if (auto* list = f.window.findChild<QComboBox*>(name)) {
            const int index = value.toInt();
            before[name] = QString::number(index) + "|" + (index >= 0 ? list->itemText(index) : "");
        } else {
            before[name] = value;
        }
    }
    return before;
}

void compareControls(const QMap<QString, QString>& actual, const QMap<QString, QString>& expected) {
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        QCOMPARE(it.key() + " = " + actual.value(it.key()), it.key() + " = " + it.value());
    }
}

}  // namespace

class SystemTabTest : public QObject {
    Q_OBJECT

  private slots:
    // ---- The tab's controls ----

    void controlsStartAsTheWindowDescribesThem_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("group");  // title of the enclosing group box
        QTest::addColumn<QString>("label");  // a label standing in the same group
        QTest::addColumn<QString>("text");   // caption, field text or list text at start
        QTest::addColumn<int>("index");      // list item index at start
        QTest::addColumn<QStringList>("items");

        const QStringList bauds{"1200",  "2400",  "4800",  "9600",
                                "19200", "38400", "57600", "115200"};
        const QStringList parities{"None", "Odd", "Even"};
        const QStringList delays{"0 50ms", "1 100ms", "2 200ms", "3 300ms", "4 400ms", "5 500ms"};
        const QStringList modes{"0_Transparent Mode", "1_Single Meter MODBUS Mode",
                                "2_Multi-Slave MODBUS Operation",
                                "3_Monitoring to MODBUS RTU (Custom)", "4_Monitoring Data Output"};
        const QStringList inspectors{"001", "002", "003", "004", "005", "006", "007",
                                     "008", "009", "101", "102", "103", "104"};
        const QString groupA = "RS485A Serial Port Parameters";
        const QString groupB = "RS485B Serial Port Parameters";
        auto row = [](const char* name, const QString& group, const QString& label,
                      const QString& text, int index, const QStringList& items) {
            QTest::newRow(name) << name << group << label << text << index << items;
        };
        row("Button6", "Serial Parameters", "", "Communication Query", kUnchanged, {});
        row("ComboBox2", groupA, "Baud Rate:", "9600", 3, bauds);
        row("ComboBox4", groupA, "Parity:", "None", 0, parities);
        row("Button5", groupA, "", "Set", kUnchanged, {});
        row("ComboBox8", groupB, "Baud Rate:", "9600", 3, bauds);
        row("ComboBox9", groupB, "Parity:", "None", 0, parities);
        row("Button9", groupB, "", "Set", kUnchanged, {});
        row("ComboBox7", "", "Module Operation Mode:", "0_Transparent Mode", -1, modes);
        row("Button24", "", "", "Set", kUnchanged, {});
        row("Edit14", "", "Modbus Slave Address:", "", kUnchanged, {});
        row("Button29", "", "", "Set", kUnchanged, {});
        row("RS485ADY", "", "RS485A Response Time:", "3 300ms", 3, delays);
        row("Button15", "", "", "Set", kUnchanged, {});
        row("RS485BDY", "", "RS485B Response Time:", "3 300ms", 3, delays);
        row("Button33", "", "", "Set", kUnchanged, {});
        row("Edit6", "", "Meter Polling Interval:", "", kUnchanged, {});
        row("Button27", "", " *0.02s", "Set", kUnchanged, {});
        row("ABadr", "", "RS485A Base Address:", "00000", kUnchanged, {});
        row("Button28", "", "", "Set", kUnchanged, {});
        row("BBadr", "", "RS485B Base Address:", "00000", kUnchanged, {});
        row("Button32", "", "", "Set", kUnchanged, {});
        row("Button30", "", "", "Parameter Initialization", kUnchanged, {});
        row("Button23", "", "", "System Parameters", kUnchanged, {});
        row("PCBSN", "", "PCBSN:", "00000000", kUnchanged, {});
        row("JIANZHI", "", "Inspector:", "001", 0, inspectors);
        row("Button60", "", "", "Set", kUnchanged, {});
        row("ComboBox14", "Module Operation Mode", "", "", -1,
            {"Transparent Mode", "MODBUS Single Meter Operation Mode",
             "MODBUS Multi-Slave Operation Mode"});
        row("Button22", "Module Operation Mode", "", "Set", kUnchanged, {});
    }
    void controlsStartAsTheWindowDescribesThem() {
        QFETCH(QString, name);
        QFETCH(QString, group);
        QFETCH(QString, label);
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(QStringList, items);
        WindowFixture f;
        auto* control = f.get<QWidget>(name.toLatin1().constData());

        QWidget* parent = control->parentWidget();
        while (parent != nullptr && qobject_cast<QGroupBox*>(parent) == nullptr) {
            parent = parent->parentWidget();
        }
        auto* box = qobject_cast<QGroupBox*>(parent);
        QVERIFY2(box != nullptr, "every control stands in a group box");
        QCOMPARE(box->title(), group);
        if (!label.isEmpty()) {
            QStringList labels;
            for (auto* l : box->findChildren<QLabel*>()) labels << l->text();
            QVERIFY2(labels.contains(label), qPrintable(labels.join(" / ")));
        }
        const bool onFirstTab = name != "ComboBox14" && name != "Button22";
        QCOMPARE(f.get<QWidget>(onFirstTab ? "TabSheet1" : "TabSheet3")->isAncestorOf(control),
                 true);

        if (auto* button = qobject_cast<QPushButton*>(control)) {
            QCOMPARE(button->text(), text);
            QVERIFY(button->isEnabled());
        } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
            QCOMPARE(field->text(), text);
        } else {
            auto* list = qobject_cast<QComboBox*>(control);
            QVERIFY(list != nullptr);
            QVERIFY2(list->isEditable(), "lists take typed text too");
            QStringList actualItems;
            for (int i = 0; i < list->count(); ++i) actualItems << list->itemText(i);
            QCOMPARE(actualItems, items);
            QCOMPARE(list->currentIndex(), index);
            QCOMPARE(list->currentText(), text);
        }
    }

    // ---- Set commands ----

    void setCommandSendsItsBytes_data() {
        QTest::addColumn<QString>("control");     // what the engineer presses
        QTest::addColumn<QStringList>("inputs");  // "Name=typed text" or "Name#chosen item"
        QTest::addColumn<QByteArray>("bytes");    // written and shown; empty when refused
        QTest::addColumn<QString>("error");       // the error box, empty when sent

        auto sent = [](const char* row, const char* control, const QStringList& inputs,
                       const QByteArray& bytes) {
            QTest::newRow(row) << control << inputs << bytes << QString();
        };
        auto refused = [](const char* row, const char* control, const QStringList& inputs,
                          const char* error) {
            QTest::newRow(row) << control << inputs << QByteArray() << error;
        };

        sent("RS485A start state", "Button5", {}, "QQS#BA1:30#");
        sent("RS485A 19200 even", "Button5", {"ComboBox2#4", "ComboBox4#2"}, "QQS#BA1:42#");
        sent("RS485A typed baud, no item", "Button5", {"ComboBox2=14400"}, "QQS#BA1:/0#");
        sent("RS485B 115200 odd", "Button9", {"ComboBox8#7", "ComboBox9#1"}, "QQS#BA2:71#");
        sent("RS485B 1200 none", "Button9", {"ComboBox8#0"}, "QQS#BA2:00#");

        sent("slave address 5", "Button29", {"Edit14=5"}, "QQS#ADR:005#");
        sent("slave address 247", "Button29", {"Edit14=247"}, "QQS#ADR:247#");
        sent("slave address -5", "Button29", {"Edit14=-5"}, "QQS#ADR:00+#");
        sent("slave address blanks and hex", "Button29", {"Edit14=  $1F"}, "QQS#ADR:031#");
        refused("slave address empty", "Button29", {}, "'' is not a valid integer value.");
        refused("slave address trailing blank", "Button29", {"Edit14=12 "},
                "'12 ' is not a valid integer value.");

        sent("mode at start, nothing selected", "Button24", {}, "QQS#MD:/#");
        sent("mode chosen", "Button24", {"ComboBox7#4"}, "QQS#MD:4#");
        sent("mode typed over a choice", "Button24", {"ComboBox7#1", "ComboBox7=1_Single"},
             "QQS#MD:/#");
        sent("Modbus tab mode, nothing selected", "Button22", {}, "QQS#MD:/#");
        sent("Modbus tab mode chosen", "Button22", {"ComboBox14#2"}, "QQS#MD:2#");

        sent("RS485A response start state", "Button15", {}, "QQS#XY1:3#");
        sent("RS485A response 50ms", "Button15", {"RS485ADY#0"}, "QQS#XY1:0#");
        sent("RS485B response 500ms", "Button33", {"RS485BDY#5"}, "QQS#XY2:5#");

        sent("polling 7", "Button27", {"Edit6=7"}, "QQS#JTM:007#");
        sent("polling 999", "Button27", {"Edit6=999"}, "QQS#JTM:999#");
        sent("polling 1000", "Button27", {"Edit6=1000"}, "QQS#JTM::00#");
        refused("polling empty", "Button27", {}, "'' is not a valid integer value.");
        refused("polling decimal", "Button27", {"Edit6=1.5"},
                "'1.5' is not a valid integer value.");

        sent("parameter initialization", "Button30", {}, "QQS#RESET#");

        sent("base A start state", "Button28", {}, "QQS#AADR:00000#");
        sent("base A 40001", "Button28", {"ABadr=40001"}, "QQS#AADR:40001#");
        sent("base A -7", "Button28", {"ABadr=-7"}, "QQS#AADR:0000)#");
        sent("base B 30001", "Button32", {"BBadr=30001"}, "QQS#BADR:30001#");
        sent("base B six digits", "Button32", {"BBadr=123456"}, "QQS#BADR:<3456#");
        refused("base B empty", "Button32", {"BBadr="}, "'' is not a valid integer value.");
        refused("base B too large", "Button32", {"BBadr=2147483648"},
                "'2147483648' is not a valid integer value.");

        sent("hidden command", "Label8", {}, "QQS#YB:1#");

        sent("production start state", "Button60", {}, "KVRTNB#PCBSN:00000000,001#");
        sent("production 123, seventh inspector", "Button60", {"PCBSN=123", "JIANZHI#6"},
             "KVRTNB#PCBSN:00000123,007#");
        sent("production nine digits", "Button60", {"PCBSN=123456789", "JIANZHI#12"},
             "KVRTNB#PCBSN:123456789,104#");
        sent("production typed inspector 7", "Button60", {"PCBSN=42", "JIANZHI=7"},
             "KVRTNB#PCBSN:00000042,007#");
        sent("production negative number", "Button60", {"PCBSN=-42"},
             "KVRTNB#PCBSN:-00000042,001#");
        refused("production empty serial", "Button60", {"PCBSN="},
                "'' is not a valid integer value.");
        refused("production typed inspector", "Button60", {"JIANZHI=A7"},
                "'A7' is not a valid integer value.");
        refused("production both wrong: serial first", "Button60", {"PCBSN=x", "JIANZHI="},
                "'x' is not a valid integer value.");
    }
    void setCommandSendsItsBytes() {
        QFETCH(QString, control);
        QFETCH(QStringList, inputs);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        WindowFixture f;
        apply(f, inputs);
        trigger(f, control);

        kt730::Engine& e = f.window.engine();
        const bool factory = control == "Button60";
        if (!error.isEmpty()) {
            QCOMPARE(f.messages.shown, std::vector<std::string>{error.toStdString()});
            QVERIFY(f.port.writes.empty());
            QCOMPARE(f.sendBuffer(), QString());
            QCOMPARE(e.requestCode, 0);
            QVERIFY(!e.timer3().isEnabled());
            return;
        }
        QVERIFY(f.messages.shown.empty());
        QCOMPARE(f.port.writes.size(), std::size_t{1});
        QCOMPARE(writtenBytes(f), bytes);
        QCOMPARE(f.sendBuffer(), QString::fromLatin1(bytes));
        // Set commands await a reply as "set"; the factory command awaits nothing.
        QCOMPARE(e.requestCode, factory ? 0 : 200);
        QCOMPARE(e.timeoutKind, factory ? 0 : 3);
        QCOMPARE(e.timer3().isEnabled(), !factory);
        QCOMPARE(e.timer4().isEnabled(), control == "Button5" || control == "Button9");
    }

    void baudCommandClosesThePort2000msLater_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("second");  // a second baud command 1100 ms later
        QTest::newRow("RS485A 19200 even") << "Button5" << QStringList{"ComboBox2#4", "ComboBox4#2"}
                                           << QByteArray("QQS#BA1:42#") << "Button9";
        QTest::newRow("RS485B 2400 odd") << "Button9" << QStringList{"ComboBox8#1", "ComboBox9#1"}
                                         << QByteArray("QQS#BA2:11#") << "Button9";
    }
    void baudCommandClosesThePort2000msLater() {
        QFETCH(QString, first);
        QFETCH(QStringList, inputs);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, second);
        WindowFixture f;
        f.port.opened = false;
        f.click("Button1");
        QCOMPARE(f.get<QPushButton>("Button1")->text(), QString("Close"));
        apply(f, inputs);

        f.click(first.toLatin1().constData());
        QCOMPARE(writtenBytes(f), bytes);
        f.advance(500);
        f.reply("OK");  // the module's answer does not hold the close back
        QCOMPARE(f.receiveBuffer(), QString("OK"));
        f.click(second.toLatin1().constData());  // nor does a second baud command postpone it
        f.advance(1999 - 1100);
        QVERIFY(f.port.opened);
        QCOMPARE(f.get<QPushButton>("Button1")->text(), QString("Close"));

        f.advance(1);
        QVERIFY(!f.port.opened);
        QCOMPARE(int(f.window.engine().portOpen), 0);
        QCOMPARE(f.get<QPushButton>("Button1")->text(), QString("Open"));
        QVERIFY(!f.get<QPushButton>("Button6")->isEnabled());
        QVERIFY(!f.window.engine().timer4().isEnabled());
        QVERIFY(f.messages.shown.empty());
    }

    void conversionErrorLeavesBuffersAndPendingRequest_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("clears");  // the send step's buffers are emptied before reading
        QTest::newRow("slave address") << "Button29"
                                       << "Edit14=abc"
                                       << "'abc' is not a valid integer value." << true;
        QTest::newRow("polling interval") << "Button27"
                                          << "Edit6="
                                          << "'' is not a valid integer value." << true;
        QTest::newRow("base A") << "Button28"
                                << "ABadr= 1 "
                                << "' 1 ' is not a valid integer value." << true;
        QTest::newRow("base B") << "Button32"
                                << "BBadr=0x"
                                << "'0x' is not a valid integer value." << true;
        QTest::newRow("factory: shows nothing") << "Button60"
                                                << "PCBSN=1e3"
                                                << "'1e3' is not a valid integer value." << false;
    }
    void conversionErrorLeavesBuffersAndPendingRequest() {
        QFETCH(QString, control);
        QFETCH(QString, input);
        QFETCH(QString, error);
        QFETCH(bool, clears);
        WindowFixture f;
        f.click("Button6");  // the connection check is pending with its time-out running
        memo10(f)->setPlainText("earlier reply");
        f.advance(1000);

        apply(f, {input});
        f.click(control.toLatin1().constData());
        QCOMPARE(f.messages.shown, std::vector<std::string>{error.toStdString()});
        QCOMPARE(f.port.writes.size(), std::size_t{1});
        QCOMPARE(f.sendBuffer(), clears ? QString() : QString("QQQ#QV#"));
        QCOMPARE(f.receiveBuffer(), clears ? QString() : QString("earlier reply"));
        kt730::Engine& e = f.window.engine();
        QCOMPARE(e.requestCode, 201);
        QCOMPARE(e.timeoutKind, 1);

        // The first command's time-out comes on time, unchanged.
        f.advance(1999);
        QCOMPARE(f.messages.shown.size(), std::size_t{1});
        f.advance(1);
        QCOMPARE(f.messages.shown.back(), std::string("Connection Timeout!"));
    }

    void factoryCommandKeepsBuffersAndPendingQuery() {
        WindowFixture f;
        f.click("Button23");
        f.reply("QX XY1:1");
        QCOMPARE(f.receiveBuffer(), QString("QX XY1:1"));
        apply(f, {"PCBSN=20240820", "JIANZHI#9"});
        f.click("Button60");
        QCOMPARE(f.written(), "KVRTNB#PCBSN:20240820,101#"s);
        QCOMPARE(f.sendBuffer(), QString("KVRTNB#PCBSN:20240820,101#"));
        QCOMPARE(f.receiveBuffer(), QString("QX XY1:1"));
        QCOMPARE(f.window.engine().requestCode, 202);
        QCOMPARE(f.window.engine().timeoutKind, 2);
        QVERIFY(!f.window.engine().timer3().isEnabled());
        f.advance(10000);
        QVERIFY(f.messages.shown.empty());
    }

    // ---- Queries and their time-outs ----

    void queryWithoutReplyTimesOut_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("message");  // empty: no time-out at all
        QTest::addColumn<QString>("label68");
        QTest::addColumn<bool>("lateReplyParsed");
        QTest::newRow("connection check") << "Button6" << QStringList{} << "Connection Timeout!"
                                          << "Current(RTU_ADR)" << false;
        QTest::newRow("system parameters")
            << "Button23" << QStringList{} << "Parameter Query Timeout!"
            << "" << true;
        QTest::newRow("set command") << "Button29" << QStringList{"Edit14=1"} << "!"
                                     << "Set Timeout" << false;
        QTest::newRow("factory command") << "Button60" << QStringList{} << ""
                                         << "Current(RTU_ADR)" << false;
    }
    void queryWithoutReplyTimesOut() {
        QFETCH(QString, control);
        QFETCH(QStringList, inputs);
        QFETCH(QString, message);
        QFETCH(QString, label68);
        QFETCH(bool, lateReplyParsed);
        WindowFixture f;
        apply(f, inputs);
        f.click(control.toLatin1().constData());
        f.advance(2999);
        QVERIFY(f.messages.shown.empty());
        f.advance(1);
        if (message.isEmpty()) {
            f.advance(10000);
            QVERIFY(f.messages.shown.empty());
        } else {
            QCOMPARE(f.messages.shown, std::vector<std::string>{message.toStdString()});
        }
        QCOMPARE(f.label("Label68")->text(), label68);

        // A late reply is still handled by the pending request.
        f.reply("QX XY1:0 QV:");
        QCOMPARE(f.receiveBuffer(), QString("QX XY1:0 QV:"));
        QCOMPARE(f.combo("RS485ADY")->currentIndex(), lateReplyParsed ? 0 : 3);
    }

    void connectionCheck_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("alive");
        QTest::newRow("QV: at the start") << QByteArray("QV:KT730 V6.0") << true;
        QTest::newRow("QV: further in") << QByteArray("OK,QV:1") << true;
        QTest::newRow("QV: after a zero byte") << QByteArray("\0QV:", 4) << true;
        QTest::newRow("QV without colon") << QByteArray("QV 1") << false;
        QTest::newRow("a system reply") << QByteArray("QX:BA1:52") << false;
        QTest::newRow("cut inside the marker") << QByteArray("QV") << false;
    }
    void connectionCheck() {
        QFETCH(QByteArray, reply);
        QFETCH(bool, alive);
        WindowFixture f;
        // The check enables this tab's query and set buttons; disable them to see it happen.
        const char* const buttons[] = {"Button24", "Button29", "Button15", "Button27",
                                       "Button5",  "Button9",  "Button23"};
        for (const char* b : buttons) f.get<QPushButton>(b)->setEnabled(false);

        f.click("Button6");
        QCOMPARE(f.written(), "QQQ#QV#"s);
        QCOMPARE(f.sendBuffer(), QString("QQQ#QV#"));
        QCOMPARE(f.window.engine().requestCode, 201);
        QCOMPARE(f.window.engine().timeoutKind, 1);
        f.reply(reply.toStdString());
        kt730::Engine& e = f.window.engine();
        QCOMPARE(e.requestCode, 0);
        QCOMPARE(e.timeoutKind, 0);
        for (const char* b : buttons) QCOMPARE(f.get<QPushButton>(b)->isEnabled(), alive);
        QCOMPARE(f.combo("ComboBox2")->currentIndex(), 3);  // never read as a system reply
        f.advance(5000);
        QVERIFY(f.messages.shown.empty());

        // Nothing is pending any more: a further block is only shown.
        f.reply("QX XY1:1");
        QCOMPARE(f.receiveBuffer(), QString("QX XY1:1"));
        QCOMPARE(f.combo("RS485ADY")->currentIndex(), 3);
    }

    // ---- The system parameter reply ----

    void systemReplyFillsControls_data() {
        QTest::addColumn<QStringList>("before");  // controls set before the query
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("changes");  // "Name=item index" or "Name=text"
        QTest::addColumn<QString>("error");

        auto row = [](const char* name, const QStringList& before, const std::string& reply,
                      const QStringList& changes, const QString& error = {}) {
            QTest::newRow(name) << before << QByteArray::fromStdString(reply) << changes << error;
        };
        row("every field", {},
            "QX:BA1:52,BA2:61,MD:2,ADR:017,XY1:0,XY2:5,JTM:050,AADR:40001,30001,PCBSN:00000123,007",
            {"ComboBox2=5", "ComboBox4=2", "ComboBox8=6", "ComboBox9=1", "ComboBox7=2",
             "ComboBox14=2", "Edit14=017", "Edit18=017", "RS485ADY=0", "RS485BDY=5", "Edit6=050",
             "ABadr=40001", "BBadr=30001"});
        row("only XY1:2", {}, "QX XY1:2", {"RS485ADY=2"});
        row("MD:3 is past the Modbus tab's list", {"ComboBox7#1", "ComboBox14#1"}, "QX MD:3",
            {"ComboBox7=3", "ComboBox14=-1"});
        row("MD:9 clears both mode lists and their text", {}, "QX MD:9",
            {"ComboBox7=-1", "ComboBox14=-1"});
        row("BA1:81 baud past the list", {}, "QX BA1:81", {"ComboBox2=-1", "ComboBox4=1"});
        row("response time past the list", {}, "QX XY2:6", {"RS485BDY=-1"});
        row("BA2:x0 stops the parse, step 1 kept", {},
            "QX BA1:21 BA2:x0 MD:4 ADR:099 XY1:1 XY2:2 JTM:010 AADR:11111,22222",
            {"ComboBox2=2", "ComboBox4=1"}, "'x' is not a valid integer value.");
        row("parity not a digit: baud of the same step kept", {}, "QX BA1:5- XY1:1",
            {"ComboBox2=5"}, "'-' is not a valid integer value.");
        row("AADR: before any ADR:", {}, "QX AADR:12345,67890 ADR:999",
            {"Edit14=123", "Edit18=123", "ABadr=12345", "BBadr=67890"});
        row("AADR separators are skipped whatever they are", {}, "QX AADR#11111#22222",
            {"ABadr=11111", "BBadr=22222"});
        row("first occurrence counts", {}, "QX XY1:3 XY1:5 JTM:123 JTM:456",
            {"RS485ADY=3", "Edit6=123"});
        row("marker only whole", {}, "QX XY1 BA1 MD", {});
        row("marker QX absent", {}, "QV:BA1:52,MD:2,XY1:0,AADR:40001,30001", {});
        row("marker is case-sensitive", {}, "qx BA1:52", {});
        row("zero bytes do not stop the search", {},
            "QX\0BA2:70"s
            "\0XY2:1"s,
            {"ComboBox8=7", "ComboBox9=0", "RS485BDY=1"});

        // Replies cut short: a digit past the end leaves its list, a text takes what is there.
        row("cut before the parity digit", {}, "QX BA2:7", {"ComboBox8=7"});
        row("cut right after MD:", {"ComboBox7#1"}, "QX MD:", {});
        row("cut inside the slave address", {"Edit14=12"}, "QX ADR:0", {"Edit14=0", "Edit18=0"});
        row("cut right after ADR:", {"Edit14=12"}, "QX ADR:", {"Edit14=", "Edit18="});
        row("cut inside the first base address", {}, "QX XY2:4 AADR:1234",
            {"RS485BDY=4", "Edit14=123", "Edit18=123", "ABadr=1234", "BBadr="});
        row("cut inside the second base address", {}, "QX AADR:40001,300",
            {"Edit14=400", "Edit18=400", "ABadr=40001", "BBadr=300"});
        row("a zero byte ends a text field", {},
            "QX JTM:1\0"s
            "05"s,
            {"Edit6=1"});
    }
    void systemReplyFillsControls() {
        QFETCH(QStringList, before);
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, changes);
        QFETCH(QString, error);
        WindowFixture f;
        apply(f, before);
        const QMap<QString, QString> start = replyControls(f);

        f.click("Button23");
        QCOMPARE(f.written(), "QQQ#QX#"s);
        QCOMPARE(f.sendBuffer(), QString("QQQ#QX#"));
        f.reply(reply.toStdString());

        compareControls(replyControls(f), withChanges(f, start, changes));
        const std::vector<std::string> messages =
            error.isEmpty() ? std::vector<std::string>{}
                            : std::vector<std::string>{error.toStdString()};
        QCOMPARE(f.messages.shown, messages);
        QCOMPARE(f.window.engine().requestCode, 202);
        QCOMPARE(f.window.engine().timeoutKind, 2);
    }

    void laterBlockWhileQueryPending_data() {
        QTest::addColumn<QString>("between");  // sent between the two blocks
        QTest::addColumn<int>("delay");        // RS485ADY after the second block
        QTest::addColumn<int>("code");
        QTest::newRow("unsolicited block: parsed again") << "" << 4 << 202;
        QTest::newRow("factory command's reply: parsed as system reply") << "Button60" << 4 << 202;
        QTest::newRow("set command's reply: only shown") << "Button30" << 1 << 0;
    }
    void laterBlockWhileQueryPending() {
        QFETCH(QString, between);
        QFETCH(int, delay);
        QFETCH(int, code);
        WindowFixture f;
        f.click("Button23");
        f.reply("QX XY1:1");
        QCOMPARE(f.combo("RS485ADY")->currentIndex(), 1);
        if (!between.isEmpty()) f.click(between.toLatin1().constData());
        f.reply("QX XY1:4");
        QCOMPARE(f.receiveBuffer(), QString("QX XY1:4"));
        QCOMPARE(f.combo("RS485ADY")->currentIndex(), delay);
        QCOMPARE(f.window.engine().requestCode, code);
    }

    void systemReplyValuesAreSentBack() {
        // What the query shows is what "Set" sends: the mode digit replaces the start text.
        WindowFixture f;
        f.click("Button23");
        f.reply("QX:BA1:62,MD:1,ADR:009,XY1:4,JTM:025,AADR:00100,00200");
        const std::pair<const char*, std::string> commands[] = {
            {"Button5", "QQS#BA1:62#"},      {"Button24", "QQS#MD:1#"},
            {"Button22", "QQS#MD:1#"},       {"Button29", "QQS#ADR:009#"},
            {"Button15", "QQS#XY1:4#"},      {"Button27", "QQS#JTM:025#"},
            {"Button28", "QQS#AADR:00100#"}, {"Button32", "QQS#BADR:00200#"},
        };
        for (const auto& [button, bytes] : commands) {
            f.click(button);
            QCOMPARE(f.written(), bytes);
        }
    }

    // ---- The slave address follows into the Modbus test ----

    void slaveAddressFollowsIntoModbusTest() {
        WindowFixture f;
        QLineEdit* edit14 = f.edit("Edit14");
        QLineEdit* edit18 = f.edit("Edit18");
        QCOMPARE(edit18->text(), QString("001"));
        QTest::keyClick(edit14, Qt::Key_1);
        QCOMPARE(edit18->text(), QString("1"));
        QTest::keyClick(edit14, Qt::Key_7);
        QCOMPARE(edit18->text(), QString("17"));
        QTest::keyClick(edit14, Qt::Key_Backspace);
        QCOMPARE(edit18->text(), QString("1"));
        edit14->clear();
        QCOMPARE(edit18->text(), QString());
        QVERIFY(f.port.writes.empty());
    }
};

QTEST_MAIN(SystemTabTest)
#include "system_tab_test.moc"
