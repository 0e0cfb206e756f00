// The request trace against the simulated access point: a session that writes
// every kind of secret leaves none of them in the trace, and every request the
// device logged is in it, with its answer.
#include "ApsimFixture.h"
#include "DeviceMib.h"
#include "OvSNMPRequest.h"
#include "OvTrace.h"
#include "SnmpTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <sstream>

#include <sys/stat.h>

namespace {

const std::string kReadCommunity = "ro-Qx7community";
const std::string kWriteCommunity = "rw-Qx7community";
const std::string kAuthPass = "auth-Qx7phrase";
const std::string kPrivPass = "priv-Qx7phrase";

struct TraceCredentials {
    const char* name;
    int version;
};
const TraceCredentials kV1{"SNMPv1", 0};
const TraceCredentials kV2c{"SNMPv2c", 1};
const TraceCredentials kV3{"SNMPv3 authPriv", 3};

std::unique_ptr<OvSNMPRequest> makeRequest(const ovtest::Apsim& agent, const TraceCredentials& c,
                                           const OvSNMPVarRow* table, OvListMode mode,
                                           int keys = 0) {
    auto r = std::make_unique<OvSNMPRequest>();
    r->agentPort = agent.port();
    r->version = static_cast<std::uint8_t>(c.version);
    r->readCommunity = kReadCommunity;
    r->writeCommunity = kWriteCommunity;
    r->securityModel = c.version == 3 ? 3 : c.version + 1;
    if (c.version == 3) {
        r->securityLevel = 3;
        r->securityName = "tracer";
        r->authProtocol = 3;
        r->authPassword = kAuthPass;
        r->privProtocol = 4;
        r->privPassword = kPrivPass;
    }
    r->varList = OvSNMPVarList(table, mode, keys);
    return r;
}

// One write of secret (or plain) values, then a read of the same table.
struct SecretWrite {
    const char* what;
    TraceCredentials credentials;
    const OvSNMPVarRow* table;
    OvListMode mode;
    std::string positions;
    std::vector<std::string> values;
};

const SecretWrite kWrites[] = {
    {"RADIUS secret", kV2c, mib::T18, MVT_SV, "4", {"radiusQx7secret"}},
    {"WPA pass phrase", kV2c, mib::T20, MVT_SV, "2", {"wpaQx7passphrase"}},
    {"WEP keys of both bands", kV2c, mib::T22, MVT_SV, "6,13", {"9a8b7c6d5e", "5e4d3c2b1f"}},
    {"additional SSID key", kV1, mib::T59, MVT_SV, "4", {"mssidQx7key"}},
    {"administrator password", kV2c, mib::T27, SVT_SV, "1", {"adminQx7pw"}},
    {"administrator password over SNMPv3", kV3, mib::T27, SVT_SV, "1", {"adminQx7two"}},
    {"a plain value", kV3, mib::T1, SVT_SV, "4", {"traced-ap"}},
};

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> parts;
    std::stringstream stream(line);
    std::string part;
    while (std::getline(stream, part, '\t'))
        parts.push_back(part);
    return parts;
}

struct TracedRequest {
    std::string number, operation, version, principal;
    std::vector<std::string> bindings;
};

std::string hexOf(const std::string& octets) {
    return QByteArray::fromStdString(octets).toHex().toUpper().toStdString();
}

std::string oidOf(const std::string& binding) {
    return binding.substr(0, binding.find('='));
}

class Trace : public ::testing::Test {
protected:
    void SetUp() override {
        snmptest::setUpEngine();
        path = folder.filePath("requests.trace").toStdString();
        ovtrace::open(path);
    }
    void TearDown() override { ovtrace::close(); }

    std::string text() const {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    QTemporaryDir folder;
    std::string path;
};

TEST_F(Trace, HoldsEveryRequestTheDeviceLoggedAndNoSecret) {
    ovtest::Apsim agent({"--ro-community", kReadCommunity, "--rw-community", kWriteCommunity,
                         "--v3-user", "tracer:sha:" + kAuthPass + ":aes:" + kPrivPass});
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    for (const SecretWrite& w : kWrites) {
        SCOPED_TRACE(w.what);
        auto request = makeRequest(agent, w.credentials, w.table, w.mode);
        // Some of these rows are read and written only when a window says so.
        for (std::size_t at = 0; at < w.positions.size(); at = w.positions.find(',', at) + 1) {
            request->varList.Item(std::stoi(w.positions.substr(at))).access = ovaccess::readwrite;
            if (w.positions.find(',', at) == std::string::npos)
                break;
        }
        EXPECT_TRUE(request->WriteSync(false, w.positions, &w.values).ok);
        EXPECT_TRUE(request->ReadSync(true).ok);
    }
    ASSERT_TRUE(agent.stateValue("E.2.5.3.1.1.2.4"));
    EXPECT_EQ(agent.stateValue("E.2.5.3.1.1.2.4")->text, "5e4d3c2b1f") << "the secrets went out";
    // The asynchronous way, and a walk.
    auto async = makeRequest(agent, kV3, mib::T20, MVT_SV);
    std::vector<OvSNMPError> results;
    async->ReadAsync([&](void*, const OvSNMPError& e, OvSNMPVarList&) { results.push_back(e); },
                     nullptr, true);
    ASSERT_TRUE(snmptest::waitFor([&] { return !results.empty(); }));
    EXPECT_EQ(results[0].code, 0) << results[0].message;
    auto walk = makeRequest(agent, kV2c, mib::T78, MVT_UMV, 1);
    for (OvSNMPRequest::Result step = walk->ReadSync(true); step.moreRows;)
        step = walk->ReadSync(false);
    ovtrace::close();

    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);

    const std::string trace = text();
    std::vector<std::string> secrets = {kReadCommunity, kWriteCommunity, kAuthPass, kPrivPass};
    for (const SecretWrite& w : kWrites) {
        if (std::string(w.what) != "a plain value")
            secrets.insert(secrets.end(), w.values.begin(), w.values.end());
    }
    for (const std::string& secret : secrets) {
        EXPECT_EQ(trace.find(secret), std::string::npos) << secret;
        EXPECT_EQ(trace.find(hexOf(secret)), std::string::npos) << secret << " in hex";
    }
    EXPECT_NE(trace.find("=s:traced-ap"), std::string::npos) << "plain values are written";
    // Each secret went out in a SET and came back in its answer and a read.
    std::size_t hidden = 0;
    for (std::size_t at = trace.find("=***"); at != std::string::npos;
         at = trace.find("=***", at + 1))
        ++hidden;
    EXPECT_GE(hidden, 3 * (secrets.size() - 4));

    // Requests and answers, paired by number.
    std::vector<TracedRequest> requests;
    std::map<std::string, int> answers;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto f = fields(line);
        ASSERT_GE(f.size(), 7u) << line;
        if (f[2] == "request")
            requests.push_back({f[1], f[3], f[4], f[5], {f.begin() + 7, f.end()}});
        else if (f[2] == "answer")
            ++answers[f[1]];
        else
            ADD_FAILURE() << "neither a request nor an answer: " << line;
    }
    for (const TracedRequest& r : requests)
        EXPECT_EQ(answers[r.number], 1) << "request " << r.number << " has one answer line";

    // Every request the device logged, in its order, as it arrived.
    const std::vector<ovtest::ApsimRequest> logged = agent.requests();
    ASSERT_GE(logged.size(), 2 * std::size(kWrites));
    std::size_t next = 0;
    for (const ovtest::ApsimRequest& entry : logged) {
        SCOPED_TRACE("device log line " + std::to_string(entry.sequence));
        while (next < requests.size() && (requests[next].operation != entry.operation ||
                                          requests[next].version != entry.version ||
                                          requests[next].bindings.size() != entry.oids.size()))
            ++next;
        ASSERT_LT(next, requests.size()) << entry.operation << " not in the trace";
        const TracedRequest& traced = requests[next++];
        EXPECT_EQ(traced.principal, entry.version == "v3" ? entry.principal : "community");
        for (std::size_t i = 0; i < entry.oids.size(); ++i) {
            const std::string& binding = traced.bindings[i];
            EXPECT_EQ(oidOf(binding), entry.oids[i]);
            if (entry.operation != "SET")
                continue;
            const bool secret = mib::isSecret(*OvOid::parse(entry.oids[i]));
            const std::string value = binding.substr(binding.find('=') + 1);
            if (secret)
                EXPECT_EQ(value, "***");
            else
                EXPECT_EQ(ovtest::ApsimValue::parse(value).octets(), entry.values[i].octets());
        }
    }
}

TEST_F(Trace, ATimeOutAndARefusedSetAreAnswerLines) {
    snmptest::SilentAgent silent;
    auto quiet = std::make_unique<OvSNMPRequest>();
    quiet->agentPort = silent.port();
    quiet->timeout = 5;
    quiet->retries = 0;
    quiet->varList = OvSNMPVarList(snmptest::kSystem, SVT_SV, 0);
    EXPECT_FALSE(quiet->ReadSync(true).ok);
    ovtest::Apsim agent({"--fail", "sysName=notWritable"});
    ASSERT_TRUE(agent.isRunning()) << agent.error();
    auto refused = std::make_unique<OvSNMPRequest>();
    refused->agentPort = agent.port();
    refused->version = 1;
    refused->writeCommunity = "trondax";
    refused->varList = OvSNMPVarList(snmptest::kSystem, SVT_SV, 0);
    refused->varList.Item(0).value = "name";
    EXPECT_FALSE(refused->WriteSync(false).ok);
    ovtrace::close();
    std::vector<std::vector<std::string>> answers;
    std::istringstream lines(text());
    for (std::string line; std::getline(lines, line);) {
        const auto f = fields(line);
        if (f.size() > 8 && f[2] == "answer")
            answers.push_back(f);
    }
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0][3], "GET");
    EXPECT_EQ(answers[0][6], "127.0.0.1:" + std::to_string(silent.port()));
    EXPECT_EQ(answers[0][7].rfind("timeout: ", 0), 0u) << answers[0][7];
    EXPECT_EQ(answers[1][3], "SET");
    EXPECT_EQ(answers[1][4], "v2c");
    EXPECT_EQ(answers[1][7].rfind("error 17 index 1: ", 0), 0u) << answers[1][7];
    EXPECT_EQ(answers[1][9], "1.3.6.1.2.1.1.5.0=s:name");
}

TEST(TraceFile, AFileOthersCouldReadIsNarrowedAndAFolderIsRefused) {
    QTemporaryDir folder;
    const std::string shared = folder.filePath("shared.trace").toStdString();
    QFile file(QString::fromStdString(shared));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# an earlier trace\n");
    file.close();
    ASSERT_EQ(::chmod(shared.c_str(), 0644), 0);
    ovtrace::open(shared);
    ovtrace::close();
    struct stat status {};
    ASSERT_EQ(::stat(shared.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    file.open(QIODevice::ReadOnly);
    EXPECT_TRUE(file.readAll().startsWith("# an earlier trace\n# ")) << "appended to";
    EXPECT_THROW(ovtrace::open(folder.path().toStdString()), std::runtime_error);
    EXPECT_FALSE(ovtrace::isOpen());
}

} // namespace
