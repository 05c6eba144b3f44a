// kt730-config: the configuration tool of the KT730-T-B-2 HART to Modbus RTU converter module.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <memory>

#include "app/form1.h"
#include "app/startup_probe.h"
#include "link/qt_clock.h"
#include "link/qt_messages.h"
#include "link/qt_serial_port.h"

namespace {

struct Options {
    QString port;
};

// Reads the command line; --help and --version print and end the program here, before any window
// system is needed.
Options readOptions(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Configuration tool for the KT730-T-B-2 HART to Modbus RTU converter module.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption port(
        "port", "Serial port to preset in the window, e.g. /dev/ttyUSB0 or /dev/pts/3.", "NAME");
    parser.addOption(port);
    parser.process(app);
    return Options{parser.value(port)};
}

bool hasDisplay() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

void describeApplication() {
    QCoreApplication::setApplicationName("kt730-config");
    QCoreApplication::setApplicationVersion("6.0 (Aug 20, 2024)");
}

}  // namespace

int main(int argc, char* argv[]) {
    Options options;
    {
        QCoreApplication commandLine(argc, argv);
        describeApplication();
        options = readOptions(commandLine);
    }
    if (!hasDisplay()) {
        std::fprintf(stderr,
                     "kt730-config: there is no display to show the window on.\n"
                     "Run it on a desktop session, or under a virtual display: xvfb-run -a "
                     "kt730-config\n");
        return 1;
    }

    QApplication app(argc, argv);
    describeApplication();
    kt730::QtClock clock;
    kt730::QtSerialPort port;
    kt730::QtMessages messages;
    kt730::Form1 window(clock, port, messages);
    messages.setParent(&window);
    if (!options.port.isEmpty()) window.presetPortName(options.port);
    window.show();
    if (qEnvironmentVariableIsSet("KT730_EXIT_WHEN_SHOWN")) kt730::exitWhenShown(window);
    return QApplication::exec();
}
