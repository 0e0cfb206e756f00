#include "OvDeviceTest.h"

#include "OvGuard.h"
#include "OvSNMPSession.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

namespace ovtest {

Agent::Agent(const QStringList& options) {
    process_.setProgram(OV_APSIM_PATH);
    process_.setArguments(QStringList{"--listen", "127.0.0.1:0", "--log",
                                      folder_.filePath("requests.log"), "--state",
                                      folder_.filePath("state")} +
                          options);
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

Agent::~Agent() {
    process_.terminate();
    if (!process_.waitForFinished(5000))
        process_.kill();
}

std::vector<AgentRequest> Agent::requests() const {
    std::vector<AgentRequest> result;
    QFile file(folder_.filePath("requests.log"));
    if (!file.open(QIODevice::ReadOnly))
        return result;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() < 5)
            continue;
        AgentRequest r{fields[1].toStdString(),
                       fields[2].toStdString(),
                       fields[3].toStdString(),
                       fields[4].toStdString(),
                       {}};
        for (qsizetype i = 5; i < fields.size(); ++i)
            r.bindings.push_back(fields[i].toStdString());
        result.push_back(r);
    }
    return result;
}

std::vector<std::vector<std::string>> Agent::sets() const {
    std::vector<std::vector<std::string>> result;
    for (const AgentRequest& r : requests()) {
        if (r.operation == "SET")
            result.push_back(r.bindings);
    }
    return result;
}

std::string Agent::value(const std::string& oid) const {
    QFile file(folder_.filePath("state"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype tab = line.indexOf('\t');
        if (tab > 0 && line.left(tab).toStdString() == oid)
            return line.mid(tab + 1).toStdString();
    }
    return {};
}

void DeviceTest::SetUpTestSuite() {
    WidgetTest::SetUpTestSuite();
    static QTemporaryDir engineFolder;
    static bool done = false;
    if (!done) {
        OvSNMPSetup(engineFolder.path().toStdString());
        ov::installGeneralErrorHandler();
        done = true;
    }
}

void DeviceTest::SetUp() {
    WidgetTest::SetUp();
    restartAgent(agentOptions());
}

void DeviceTest::restartAgent(const QStringList& options) {
    agent.reset();
    agent = std::make_unique<Agent>(options);
    ASSERT_TRUE(agent->running()) << agent->output();
    OvSNMPResetSession();
    OvSNMPDevice.agentAddress = "127.0.0.1";
    OvSNMPDevice.agentPort = agent->port();
    OvSNMPSecurity.version = 1;
    OvSNMPSecurity.securityModel = 2;
    OvSNMPSecurity.readCommunity = Agent::readCommunity;
    OvSNMPSecurity.writeCommunity = Agent::writeCommunity;
}

void DeviceTest::TearDown() {
    agent.reset();
    WidgetTest::TearDown();
}

} // namespace ovtest
