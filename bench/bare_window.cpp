// Reference for the start-up benchmark: a bare Qt window holding N plain widgets in a layout.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include "app/startup_probe.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    for (int i = 1; i < count; ++i) layout->addWidget(new QLabel(QString::number(i)));
    window.show();
    kt730::exitWhenShown(window);
    return QApplication::exec();
}
