// kt730-config: the configuration tool of the KT730-T-B-2 HART to Modbus RTU converter module.
#include <QApplication>
#include <QCommandLineParser>

#include "app/form1.h"
#include "app/startup_probe.h"
#include "link/qt_clock.h"
#include "link/qt_messages.h"
#include "link/qt_serial_port.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("kt730-config");
    QApplication::setApplicationVersion("6.0 (Aug 20, 2024)");

    QCommandLineParser options;
    options.setApplicationDescription(
        "Configuration tool for the KT730-T-B-2 HART to Modbus RTU converter module.");
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption portOption(
        "port", "Serial port to preset in the window, e.g. /dev/ttyUSB0 or /dev/pts/3.", "NAME");
    options.addOption(portOption);
    options.process(app);

    kt730::QtClock clock;
    kt730::QtSerialPort port;
    kt730::QtMessages messages;
    kt730::Form1 window(clock, port, messages);
    messages.setParent(&window);
    if (options.isSet(portOption)) {
        window.presetPortName(options.value(portOption));
    }
    window.show();
    if (qEnvironmentVariableIsSet("KT730_EXIT_WHEN_SHOWN")) kt730::exitWhenShown(window);
    return QApplication::exec();
}
