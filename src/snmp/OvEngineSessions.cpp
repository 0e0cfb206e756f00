#include "OvEngineSessions.h"

#include "OvException.h"
#include "OvNetSnmpConvert.h"
#include "OvSNMPSession.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

// Exported by net-snmp but missing from its installed headers.
struct session_list;
extern "C" int snmpv3_engineID_probe(session_list* slp, netsnmp_session* in_session);

namespace ovengine {

namespace {

struct ProtocolOid {
    const oid* arcs = nullptr;
    std::size_t length = 0;
};

template <std::size_t N> ProtocolOid protocolOid(const oid (&arcs)[N]) {
    return {arcs, N};
}

ProtocolOid authProtocolOid(std::int32_t code) {
    switch (code) {
    case ovproto::hmacMd5:
        return protocolOid(usmHMACMD5AuthProtocol);
    case ovproto::hmacSha:
        return protocolOid(usmHMACSHA1AuthProtocol);
    default:
        return {};
    }
}

// 3DES, IDEA and unknown codes have no OID here: such requests are refused.
ProtocolOid privProtocolOid(std::int32_t code) {
    switch (code) {
    case ovproto::des:
        return protocolOid(usmDESPrivProtocol);
    case ovproto::aes128:
        return protocolOid(usmAESPrivProtocol);
    case ovproto::aes192:
        return protocolOid(usmAES192PrivProtocol);
    case ovproto::aes256:
        return protocolOid(usmAES256PrivProtocol);
    default:
        return {};
    }
}

struct Sessions {
    bool started = false;
    std::map<std::string, std::unique_ptr<Session>> sync;
    std::map<std::string, std::unique_ptr<Session>> async;
    std::vector<std::unique_ptr<Session>> retired; // closed once nothing is outstanding
    std::map<std::string, std::string> engineIds;  // peer -> the agent's engine ID
    std::map<std::string, std::string> users;      // engine ID + name -> credentials held
    std::map<std::string, std::string> localizedKeys;
    std::function<void()> activity;

    // Sessions still open when the process ends go with it, so that leak checks
    // report only what is really lost.
    ~Sessions() {
        for (auto* group : {&sync, &async}) {
            for (auto& [key, session] : *group) {
                if (session->handle != nullptr)
                    snmp_sess_close(session->handle);
            }
        }
        for (auto& session : retired) {
            if (session->handle != nullptr)
                snmp_sess_close(session->handle);
        }
    }
};

Sessions& sessions() {
    static Sessions state;
    return state;
}

void socketsChanged() {
    notifyActivity();
}

std::string peerOf(const OvSNMPTarget& target) {
    return target.agentAddress + ":" + std::to_string(target.agentPort);
}

std::string credentialKey(const OvSNMPTarget& target, const std::string& community) {
    std::string key = std::to_string(target.version) + '\0' + peerOf(target) + '\0';
    if (target.version != 3)
        return key + community;
    return key + target.securityName + '\0' + std::to_string(target.securityLevel) + '\0' +
           std::to_string(target.authProtocol) + '\0' + std::to_string(target.privProtocol) + '\0' +
           target.authPassword + '\0' + target.privPassword;
}

// Ku of a pass phrase, derived once per protocol and pass phrase.
bool passKey(const ProtocolOid& hash, const std::string& phrase, u_char* key, size_t* length) {
    std::string cacheKey(reinterpret_cast<const char*>(hash.arcs), hash.length * sizeof(oid));
    cacheKey += '\0' + phrase;
    auto& cache = sessions().localizedKeys;
    auto it = cache.find(cacheKey);
    if (it == cache.end()) {
        size_t made = *length;
        if (generate_Ku(hash.arcs, static_cast<u_int>(hash.length),
                        reinterpret_cast<const u_char*>(phrase.data()), phrase.size(), key,
                        &made) != SNMPERR_SUCCESS)
            return false;
        it = cache.emplace(cacheKey, std::string(reinterpret_cast<char*>(key), made)).first;
    }
    std::copy(it->second.begin(), it->second.end(), key);
    *length = it->second.size();
    return true;
}

bool setUpV3(netsnmp_session& in, const OvSNMPTarget& target, std::string& name) {
    in.version = SNMP_VERSION_3;
    in.securityModel = USM_SEC_MODEL_NUMBER;
    in.securityName = name.data();
    in.securityNameLen = name.size();
    in.securityLevel = target.securityLevel;
    const ProtocolOid auth =
        target.securityLevel >= 2 ? authProtocolOid(target.authProtocol) : ProtocolOid{};
    const ProtocolOid priv =
        target.securityLevel == 3 ? privProtocolOid(target.privProtocol) : ProtocolOid{};
    in.securityAuthProto = const_cast<oid*>(auth.arcs ? auth.arcs : usmNoAuthProtocol);
    in.securityAuthProtoLen = auth.arcs ? auth.length : (sizeof(usmNoAuthProtocol) / sizeof(oid));
    in.securityPrivProto = const_cast<oid*>(priv.arcs ? priv.arcs : usmNoPrivProtocol);
    in.securityPrivProtoLen = priv.arcs ? priv.length : (sizeof(usmNoAuthProtocol) / sizeof(oid));
    if (auth.arcs) {
        in.securityAuthKeyLen = USM_AUTH_KU_LEN;
        if (!passKey(auth, target.authPassword, in.securityAuthKey, &in.securityAuthKeyLen))
            return false;
    }
    if (priv.arcs) {
        in.securityPrivKeyLen = USM_PRIV_KU_LEN;
        if (!passKey(auth, target.privPassword, in.securityPrivKey, &in.securityPrivKeyLen))
            return false;
    }
    return true;
}

std::unique_ptr<Session> openSession(const OvSNMPTarget& target, const std::string& community,
                                     bool async, int& status) {
    netsnmp_session in;
    snmp_sess_init(&in);
    std::string peerName = "udp:" + peerOf(target);
    in.peername = peerName.data();
    in.timeout = std::max(target.timeout, 1) * 10000L;
    in.retries = std::max(target.retries, 0);
    std::string name = target.securityName;
    std::string engineId;
    if (target.version == 3) {
        if (!setUpV3(in, target, name)) {
            status = ovstatus::usmError;
            return nullptr;
        }
        auto known = sessions().engineIds.find(peerOf(target));
        if (known != sessions().engineIds.end()) {
            engineId = known->second;
            in.securityEngineID = reinterpret_cast<u_char*>(engineId.data());
            in.securityEngineIDLen = engineId.size();
        }
    } else {
        in.version = target.version == 0 ? SNMP_VERSION_1 : SNMP_VERSION_2c;
        in.community = reinterpret_cast<u_char*>(const_cast<char*>(community.data()));
        in.community_len = community.size();
    }
    void* handle = snmp_sess_open(&in);
    if (handle == nullptr) {
        const int error = in.s_snmp_errno != 0 ? in.s_snmp_errno : snmp_errno;
        if (error == SNMPERR_BAD_ADDRESS)
            throw OvException(-509);
        status = ovnetsnmp::statusOfLibraryError(error);
        if (status == ovstatus::success)
            status = ovstatus::error;
        return nullptr;
    }
    netsnmp_session* opened = snmp_sess_session(handle);
    // net-snmp would probe inside the first send, waiting for the answer (the
    // open does not keep the flag): an asynchronous session learns the engine
    // ID by an exchange of its own.
    if (target.version == 3 && async)
        opened->flags |= SNMP_FLAGS_DONT_PROBE;
    // net-snmp 5.9's single-session open returns before its probe has sent
    // anything: a synchronous session probes here, once per agent.
    if (target.version == 3 && !async && opened->securityEngineIDLen == 0 &&
        !snmpv3_engineID_probe(static_cast<session_list*>(handle), &in))
        opened->securityEngineIDLen = 0;
    if (target.version == 3 && !async && opened->securityEngineIDLen == 0) {
        // The engine ID probe got no answer: the agent is silent.
        snmp_sess_close(handle);
        status = ovstatus::timeout;
        return nullptr;
    }
    if (target.version != 3 && community.empty()) {
        // net-snmp puts "public" in place of an empty community: send it empty.
        std::free(opened->community);
        opened->community = nullptr;
        opened->community_len = 0;
    }
    auto session = std::make_unique<Session>();
    session->handle = handle;
    session->socket = snmp_sess_transport(handle) ? snmp_sess_transport(handle)->sock : -1;
    session->peer = peerOf(target);
    session->v3 = target.version == 3;
    session->userName = target.securityName;
    session->credentialKey = credentialKey(target, community);
    session->timeout = target.timeout;
    session->retries = target.retries;
    session->engineKnown = !session->v3 || opened->securityEngineIDLen > 0;
    if (session->v3 && opened->securityEngineIDLen > 0)
        sessions().engineIds[session->peer] = std::string(
            reinterpret_cast<char*>(opened->securityEngineID), opened->securityEngineIDLen);
    return session;
}

// A copy that net-snmp frees with the session.
u_char* copyForLibrary(const std::string& octets) {
    auto* copy = static_cast<u_char*>(std::malloc(std::max<std::size_t>(octets.size(), 1)));
    if (copy != nullptr)
        std::memcpy(copy, octets.data(), octets.size());
    return copy;
}

void close(Session& session) {
    if (session.handle != nullptr)
        snmp_sess_close(session.handle);
    session.handle = nullptr;
}

// Moves the agent's SNMPv3 sessions out of use: new ones probe again. The peer
// is taken by value: the text may belong to one of the sessions it closes.
void retirePeer(const std::string peer) {
    Sessions& state = sessions();
    state.engineIds.erase(peer);
    for (auto it = state.sync.begin(); it != state.sync.end();) {
        if (it->second->v3 && it->second->peer == peer) {
            close(*it->second);
            it = state.sync.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = state.async.begin(); it != state.async.end();) {
        if (it->second->v3 && it->second->peer == peer) {
            state.retired.push_back(std::move(it->second));
            it = state.async.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace

bool startLibrary(const std::string& localEngineId, std::uint32_t boots) {
    Sessions& state = sessions();
    if (state.started) {
        setEngineBoots(boots);
        return true;
    }
    // The module reads no snmp.conf, no MIB files and keeps no persistent state.
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    ::setenv("MIBS", "", 1);
    netsnmp_set_mib_directory("");
    init_snmp("ovsnmp");
    const std::size_t length = std::min<std::size_t>(localEngineId.size(), 32);
    if (set_exact_engineID(reinterpret_cast<const u_char*>(localEngineId.data()), length) !=
        SNMPERR_SUCCESS)
        return false;
    setEngineBoots(boots);
    state.started = true;
    return true;
}

bool libraryStarted() {
    return sessions().started;
}

void setEngineBoots(std::uint32_t boots) {
    // The configuration token stores one more than it is given (the next boot).
    std::string count = std::to_string(boots > 0 ? boots - 1 : 0);
    engineBoots_conf("engineBoots", count.data());
}

int credentialStatus(const OvSNMPTarget& target) {
    if (target.version != 0 && target.version != 1 && target.version != 3)
        return ovstatus::unsupported;
    if (target.version != 3)
        return ovstatus::success;
    if (target.securityModel != USM_SEC_MODEL_NUMBER)
        return ovstatus::v3UnsupportedSecurityModel;
    const int level = target.securityLevel;
    if (level < 1 || level > 3)
        return ovstatus::usmUnsupportedSecurityLevel;
    if (level >= 2) {
        if (target.authProtocol == ovproto::none)
            return ovstatus::usmUnsupportedSecurityLevel;
        if (!authProtocolOid(target.authProtocol).arcs)
            return ovstatus::usmUnsupportedAuthProtocol;
        // net-snmp cannot derive a key from fewer than 8 characters (RFC 3414).
        if (target.authPassword.size() < 8)
            return ovstatus::usmShortAuthPassPhrase;
    }
    if (level == 3) {
        if (target.privProtocol == ovproto::none)
            return ovstatus::usmUnsupportedSecurityLevel;
        if (!privProtocolOid(target.privProtocol).arcs)
            return ovstatus::usmUnsupportedPrivProtocol;
        if (target.privPassword.size() < 8)
            return ovstatus::usmShortPrivPassPhrase;
    }
    return ovstatus::success;
}

Session* sessionFor(const OvSNMPTarget& target, bool write, bool async, int& status) {
    const std::string& community = write ? target.writeCommunity : target.readCommunity;
    const std::string key = credentialKey(target, community) + '\0' +
                            std::to_string(target.timeout) + '\0' + std::to_string(target.retries);
    auto& map = async ? sessions().async : sessions().sync;
    auto it = map.find(key);
    if (it != map.end())
        return it->second.get();
    auto session = openSession(target, community, async, status);
    if (!session)
        return nullptr;
    Session* opened = session.get();
    map.emplace(key, std::move(session));
    if (async)
        socketsChanged();
    return opened;
}

netsnmp_pdu* makeProbePdu() {
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
    if (pdu == nullptr)
        return nullptr;
    pdu->version = SNMP_VERSION_3;
    pdu->securityName = static_cast<char*>(std::calloc(1, 1));
    pdu->securityNameLen = 0;
    pdu->securityLevel = SNMP_SEC_LEVEL_NOAUTH;
    pdu->securityModel = SNMP_SEC_MODEL_USM;
    return pdu;
}

void adoptEngineId(Session& session, const std::string& engineId) {
    netsnmp_session* opened = snmp_sess_session(session.handle);
    if (opened->securityEngineIDLen == 0) {
        if ((opened->securityEngineID = copyForLibrary(engineId)) == nullptr)
            return;
        opened->securityEngineIDLen = engineId.size();
    }
    if (opened->contextEngineIDLen == 0 &&
        (opened->contextEngineID = copyForLibrary(engineId)) != nullptr)
        opened->contextEngineIDLen = engineId.size();
    session.engineKnown = true;
    sessions().engineIds[session.peer] = engineId;
}

void prepareSend(Session& session) {
    netsnmp_session* opened = snmp_sess_session(session.handle);
    opened->timeout = std::max(session.timeout, 1) * 10000L;
    opened->retries = std::max(session.retries, 0);
    if (!session.v3 || session.userName.empty() || opened->securityEngineIDLen == 0)
        return;
    // The USM user table holds one user per engine ID and name: make it this
    // session's, so that the request goes out with its own credentials.
    std::string userKey(reinterpret_cast<char*>(opened->securityEngineID),
                        opened->securityEngineIDLen);
    userKey += '\0' + session.userName;
    std::string& held = sessions().users[userKey];
    if (held == session.credentialKey)
        return;
    if (usmUser* user = usm_get_user(opened->securityEngineID, opened->securityEngineIDLen,
                                     opened->securityName)) {
        usm_remove_user(user);
        usm_free_user(user);
    }
    opened->flags &= ~SNMP_FLAGS_USER_CREATED;
    usm_create_user_from_session(opened);
    held = session.credentialKey;
}

void noteOutcome(Session& session, int status) {
    // A wrong digest may come from keys localised with an engine ID the agent
    // no longer has: both make the next request learn the engine ID again.
    const bool stale =
        status == ovstatus::usmUnknownEngineId || status == ovstatus::usmAuthenticationFailure;
    if (session.v3 && stale) {
        retirePeer(session.peer);
        socketsChanged();
    }
}

void forEachAsyncSession(const std::function<void(Session&)>& action) {
    std::vector<Session*> all;
    for (auto& [key, session] : sessions().async)
        all.push_back(session.get());
    for (auto& session : sessions().retired)
        all.push_back(session.get());
    for (Session* session : all)
        action(*session);
}

void closeRetiredSessions() {
    auto& retired = sessions().retired;
    const auto before = retired.size();
    for (auto it = retired.begin(); it != retired.end();) {
        if ((*it)->outstanding <= 0) {
            close(**it);
            it = retired.erase(it);
        } else {
            ++it;
        }
    }
    if (retired.size() != before)
        socketsChanged();
}

void closeAllSessions() {
    Sessions& state = sessions();
    for (auto& [key, session] : state.sync)
        close(*session);
    for (auto& [key, session] : state.async)
        close(*session);
    for (auto& session : state.retired)
        close(*session);
    state.sync.clear();
    state.async.clear();
    state.retired.clear();
    state.engineIds.clear();
    state.users.clear();
    socketsChanged();
}

void setActivityHook(std::function<void()> hook) {
    sessions().activity = std::move(hook);
}

void notifyActivity() {
    if (sessions().activity)
        sessions().activity();
}

std::vector<int> asyncSockets() {
    std::vector<int> sockets;
    forEachAsyncSession([&](Session& session) {
        if (session.socket >= 0)
            sockets.push_back(session.socket);
    });
    return sockets;
}

} // namespace ovengine
