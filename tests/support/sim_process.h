#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace kt730::testing {

// The module simulator as a child process on its own pseudo-terminal.
class SimProcess {
  public:
    explicit SimProcess(const QStringList& options = {}) {
        process_.setProgram(QStringLiteral(KT730_SIM_PATH));
        process_.setArguments(QStringList{"--quiet", "--frozen"} + options);
        process_.start();
        if (process_.waitForStarted(5000) && process_.waitForReadyRead(5000)) {
            while (!process_.canReadLine() && process_.waitForReadyRead(1000)) {
            }
            device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        }
    }
    ~SimProcess() {
        process_.terminate();
        if (!process_.waitForFinished(3000)) process_.kill();
        process_.waitForFinished(1000);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The device to open, e.g. /dev/pts/3; empty when the simulator did not start.
    const QString& device() const { return device_; }

  private:
    QProcess process_;
    QString device_;
};

}  // namespace kt730::testing
