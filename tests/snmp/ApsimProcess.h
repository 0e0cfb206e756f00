// Runs the real simulated access point (tools/apsim) on a free loopback port for
// one test, with its request log in a temporary folder.
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <string>
#include <vector>

class ApsimProcess {
public:
    explicit ApsimProcess(QStringList arguments) {
        log_ = folder_.filePath("requests.log");
        process_.setProgram(OV_APSIM_PATH);
        process_.setArguments(QStringList{"--listen", "127.0.0.1:0", "--log", log_} + arguments);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start();
        const QRegularExpression ready("listening on [0-9.]+:([0-9]+)");
        QElapsedTimer waited;
        waited.start();
        while (port_ == 0 && waited.elapsed() < 15000 && process_.state() != QProcess::NotRunning) {
            process_.waitForReadyRead(100);
            output_ += process_.readAll();
            const auto match = ready.match(QString::fromLocal8Bit(output_));
            if (match.hasMatch())
                port_ = static_cast<std::uint16_t>(match.captured(1).toUInt());
        }
    }
    ~ApsimProcess() {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
    }
    ApsimProcess(const ApsimProcess&) = delete;
    ApsimProcess& operator=(const ApsimProcess&) = delete;

    std::uint16_t port() const { return port_; }
    std::string output() const { return output_.toStdString(); }

    // One line per request the agent received: number, operation, version,
    // community or user, outcome, bindings (tab-separated).
    std::vector<std::string> requests() const {
        std::vector<std::string> lines;
        QFile file(log_);
        if (!file.open(QIODevice::ReadOnly))
            return lines;
        for (const QByteArray& line : file.readAll().split('\n'))
            if (!line.isEmpty())
                lines.push_back(line.toStdString());
        return lines;
    }

private:
    QTemporaryDir folder_;
    QString log_;
    QProcess process_;
    QByteArray output_;
    std::uint16_t port_ = 0;
};
