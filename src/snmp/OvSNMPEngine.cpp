// The engine adapter. Each credential set (peer, version, community or USM user,
// time-out and retries) gets a net-snmp single session for synchronous requests
// and one for asynchronous ones; the session itself holds the credentials, which
// is what registering the user before each request achieves. Asynchronous
// callbacks only queue outcomes: the pump delivers them after its turn. An
// asynchronous SNMPv3 session learns the agent's engine ID by an asynchronous
// probe of its own (OvEngineDiscovery.cpp).
#include "OvSNMPEngine.h"

#include "OvEngineRecords.h"
#include "OvException.h"
#include "OvNetSnmpConvert.h"

#include <cstdlib>
#include <optional>

#include <net-snmp/library/large_fd_set.h>

#include <poll.h>

namespace ovengine {

namespace {

OvSNMPAnswer answerOf(const netsnmp_pdu* response) {
    OvSNMPAnswer answer;
    answer.answered = true;
    answer.status = static_cast<int>(response->errstat);
    answer.errorIndex = static_cast<int>(response->errindex);
    answer.bindings = ovnetsnmp::bindingsOf(response);
    return answer;
}

int libraryError(void* handle) {
    int library = 0;
    int system = 0;
    char* text = nullptr;
    snmp_sess_error(handle, &library, &system, &text);
    std::free(text);
    // A Report sets the library's error rather than the session's.
    return library != SNMPERR_SUCCESS ? library : snmp_errno;
}

// The reason of a SEC_ERROR callback: the Report's counter, else the session's
// error; never success.
int securityStatus(const netsnmp_session* session, const netsnmp_pdu* pdu) {
    int status = ovstatus::success;
    if (pdu != nullptr && pdu->command == SNMP_MSG_REPORT)
        status = ovnetsnmp::statusOfReport(pdu);
    else if (session != nullptr)
        status = ovnetsnmp::statusOfLibraryError(session->s_snmp_errno);
    return status == ovstatus::success || status == ovstatus::error ? ovstatus::usmError : status;
}

void readSession(Session& session) {
    for (int i = 0; i < 64; ++i) {
        pollfd fd{session.socket, POLLIN, 0};
        if (::poll(&fd, 1, 0) <= 0 || !(fd.revents & (POLLIN | POLLERR)))
            return;
        fd_set set;
        FD_ZERO(&set);
        FD_SET(session.socket, &set);
        snmp_sess_read(session.handle, &set);
    }
}

} // namespace

Pending& pending() {
    static Pending state;
    return state;
}

void queue(std::uint64_t id, OvSNMPAnswer answer) {
    auto it = pending().records.find(id);
    if (it == pending().records.end() || it->second.queued)
        return;
    Record& record = it->second;
    record.queued = true;
    ovtrace::outcome(record.trace, answer);
    if (record.held != nullptr) {
        snmp_free_pdu(record.held);
        record.held = nullptr;
    }
    if (record.session != nullptr) {
        --record.session->outstanding;
        pending().noted.push_back({record.session, answer.status});
        record.session = nullptr;
    }
    pending().ready.push_back({id, std::move(answer)});
}

void* magicOf(std::uint64_t id) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(id));
}

int onAsyncEvent(int operation, netsnmp_session* session, int, netsnmp_pdu* pdu, void* magic) {
    const auto id = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(magic));
    if (auto probe = pending().probes.find(id); probe != pending().probes.end()) {
        onProbeEvent(probe->second, operation, pdu);
        return 1;
    }
    OvSNMPAnswer answer;
    switch (operation) {
    case NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE:
        if (pdu == nullptr)
            return 1;
        if (pdu->command == SNMP_MSG_REPORT) {
            answer.status = ovnetsnmp::statusOfReport(pdu);
            // While retries remain net-snmp resends by itself with the agent's
            // new time; once they are spent it says so with SEC_ERROR. A Report
            // is never an answer.
            if (answer.status == ovstatus::usmNotInTimeWindow)
                return 1;
        } else {
            answer = answerOf(pdu);
        }
        break;
    case NETSNMP_CALLBACK_OP_SEC_ERROR:
        // net-snmp gives the request up for a security reason: it ends now,
        // with that reason, not later as a time-out.
        answer.status = securityStatus(session, pdu);
        break;
    case NETSNMP_CALLBACK_OP_TIMED_OUT:
        answer.status = ovstatus::timeout;
        break;
    case NETSNMP_CALLBACK_OP_SEND_FAILED:
        answer.status = ovstatus::transportFailed;
        break;
    case NETSNMP_CALLBACK_OP_DISCONNECT:
        answer.status = ovstatus::sessionDestroyed;
        break;
    default:
        return 1;
    }
    queue(id, std::move(answer));
    return 1;
}

// The longest the library can take: each retry may double the wait.
Clock::time_point watchdogFor(std::int32_t timeout, std::int32_t retries) {
    const long long timeoutMs = std::max(timeout, 1) * 10LL;
    retries = std::min(std::max(retries, 0), 20);
    const long long total = timeoutMs * ((2LL << retries) - 1) + 2000;
    return Clock::now() + std::chrono::milliseconds(total);
}

// A failure whose library error is lost still fails.
int failureStatus(int snmpErrno) {
    const int status = ovnetsnmp::statusOfLibraryError(snmpErrno);
    return status != ovstatus::success ? status : ovstatus::error;
}

// Sends a request on its session; a failure to send is its outcome.
int transmit(std::uint64_t id, Session& session, netsnmp_pdu* pdu) {
    Record& record = pending().records[id];
    record.held = nullptr;
    prepareSend(session);
    if (snmp_sess_async_send(session.handle, pdu, onAsyncEvent, magicOf(id)) == 0) {
        OvSNMPAnswer answer;
        answer.status = failureStatus(snmp_sess_session(session.handle)->s_snmp_errno);
        snmp_free_pdu(pdu);
        queue(id, answer);
        return answer.status;
    }
    record.watchdog = watchdogFor(session.timeout, session.retries);
    return 0;
}

namespace {

void expireWatchdogs() {
    const auto now = Clock::now();
    for (auto& [id, record] : pending().records) {
        if (!record.queued && record.session != nullptr && now > record.watchdog) {
            OvSNMPAnswer answer;
            answer.status = ovstatus::timeout;
            queue(id, answer);
        }
    }
}

void settleNotedOutcomes() {
    std::vector<Noted> noted;
    noted.swap(pending().noted);
    for (const Noted& outcome : noted)
        noteOutcome(*outcome.session, outcome.status);
}

// When net-snmp next resends or times out on the session; nothing when it waits
// for no answer.
std::optional<Clock::duration> nextTimeoutOf(Session& session) {
    if (session.outstanding <= 0)
        return std::nullopt;
    netsnmp_large_fd_set sockets;
    netsnmp_large_fd_set_init(&sockets, std::max(session.socket + 1, FD_SETSIZE));
    int count = 0;
    int block = 1;
    timeval wait{};
    snmp_sess_select_info2_flags(session.handle, &count, &sockets, &wait, &block,
                                 NETSNMP_SELECT_NOALARMS);
    netsnmp_large_fd_set_cleanup(&sockets);
    if (block)
        return std::nullopt;
    return std::chrono::seconds(wait.tv_sec) + std::chrono::microseconds(wait.tv_usec);
}

} // namespace

bool initialise(const std::string& localEngineId, std::uint32_t boots) {
    return startLibrary(localEngineId, boots);
}

bool isInitialised() {
    return libraryStarted();
}

void checkAddress(const std::string& address) {
    if (address.empty() || address.find_first_of(":/ \t\r\n") != std::string::npos)
        throw OvException(-509);
}

namespace {

// One synchronous exchange on the single session of the credentials.
OvSNMPAnswer exchange(const OvSNMPTarget& target, OvPduType type,
                      const std::vector<OvVb>& bindings) {
    OvSNMPAnswer answer;
    if ((answer.status = credentialStatus(target)) != 0)
        return answer;
    Session* session = sessionFor(target, type == OvPduType::Set, false, answer.status);
    if (session == nullptr)
        return answer;
    netsnmp_pdu* pdu = ovnetsnmp::buildPdu(target, type, bindings);
    if (pdu == nullptr) {
        answer.status = ovstatus::invalidPdu;
        return answer;
    }
    prepareSend(*session);
    netsnmp_pdu* response = nullptr;
    const int result = snmp_sess_synch_response(session->handle, pdu, &response);
    if (result == STAT_SUCCESS && response != nullptr)
        answer = answerOf(response);
    else if (result == STAT_TIMEOUT)
        answer.status = ovstatus::timeout;
    else
        answer.status = failureStatus(libraryError(session->handle));
    if (response != nullptr)
        snmp_free_pdu(response);
    noteOutcome(*session, answer.status);
    return answer;
}

} // namespace

OvSNMPAnswer sendSync(const OvSNMPTarget& target, OvPduType type,
                      const std::vector<OvVb>& bindings) {
    checkAddress(target.agentAddress);
    const ovtrace::Ticket ticket = ovtrace::request(target, type, bindings);
    OvSNMPAnswer answer = exchange(target, type, bindings);
    ovtrace::outcome(ticket, answer);
    return answer;
}

int sendAsync(const OvSNMPTarget& target, OvPduType type, const std::vector<OvVb>& bindings,
              OvCompletion completion) {
    checkAddress(target.agentAddress);
    Pending& state = pending();
    const std::uint64_t id = state.nextId++;
    state.records[id].completion = std::move(completion);
    state.records[id].watchdog = watchdogFor(target.timeout, target.retries);
    state.records[id].trace = ovtrace::request(target, type, bindings);
    const auto failNow = [&](int status) {
        OvSNMPAnswer answer;
        answer.status = status;
        queue(id, answer);
        notifyActivity();
        return status;
    };
    int status = credentialStatus(target);
    if (status != 0)
        return failNow(status);
    Session* session = nullptr;
    try {
        session = sessionFor(target, type == OvPduType::Set, true, status);
    } catch (...) {
        state.records.erase(id);
        throw;
    }
    if (session == nullptr)
        return failNow(status);
    netsnmp_pdu* pdu = ovnetsnmp::buildPdu(target, type, bindings);
    if (pdu == nullptr)
        return failNow(ovstatus::invalidPdu);
    state.records[id].session = session;
    ++session->outstanding;
    if (session->engineKnown) {
        status = transmit(id, *session, pdu);
    } else {
        // The agent's engine ID first: the request waits for it, and the send
        // never waits on the network.
        state.records[id].held = pdu;
        session->waiting.push_back(id);
        status = session->discovering ? 0 : discover(*session);
    }
    notifyActivity();
    return status;
}

void completeLater(OvSNMPAnswer answer, OvCompletion completion) {
    Pending& state = pending();
    const std::uint64_t id = state.nextId++;
    state.records[id].completion = std::move(completion);
    queue(id, std::move(answer));
    notifyActivity();
}

void collect() {
    forEachAsyncSession([](Session& session) {
        readSession(session);
        if (session.outstanding > 0)
            snmp_sess_timeout(session.handle);
    });
    finishProbes();
    expireWatchdogs();
    settleNotedOutcomes();
    closeRetiredSessions();
}

std::function<void()> takeDue() {
    Pending& state = pending();
    while (!state.ready.empty()) {
        Ready item = std::move(state.ready.front());
        state.ready.pop_front();
        auto it = state.records.find(item.id);
        if (it == state.records.end())
            continue;
        OvCompletion completion = std::move(it->second.completion);
        state.records.erase(it);
        return [completion = std::move(completion), answer = std::move(item.answer)] {
            if (completion)
                completion(answer);
        };
    }
    return {};
}

bool hasDue() {
    return !pending().ready.empty();
}

bool awaitingNetwork() {
    if (!pending().probes.empty())
        return true;
    for (const auto& [id, record] : pending().records) {
        if (!record.queued && record.session != nullptr)
            return true;
    }
    return false;
}

int msUntilNextTimeout() {
    std::optional<Clock::duration> earliest;
    const auto consider = [&](Clock::duration wait) {
        if (!earliest || wait < *earliest)
            earliest = wait;
    };
    forEachAsyncSession([&](Session& session) {
        if (const auto wait = nextTimeoutOf(session))
            consider(*wait);
    });
    const auto now = Clock::now();
    for (const auto& [id, record] : pending().records) {
        if (!record.queued && record.session != nullptr)
            consider(record.watchdog - now);
    }
    if (!earliest)
        return -1;
    // Rounded up: a wake-up before net-snmp's time would find nothing to do.
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(*earliest).count();
    return us <= 0 ? 0 : static_cast<int>(std::min<long long>((us + 999) / 1000, 1 << 30));
}

int processPendingEvents(std::vector<std::exception_ptr>& errors) {
    collect();
    int delivered = 0;
    while (auto run = takeDue()) {
        ++delivered;
        try {
            run();
        } catch (...) {
            errors.push_back(std::current_exception());
        }
    }
    return delivered;
}

void waitForActivity(int milliseconds) {
    if (!pending().ready.empty())
        return;
    std::vector<pollfd> fds;
    for (int socket : asyncSockets())
        fds.push_back({socket, POLLIN, 0});
    ::poll(fds.data(), fds.size(), milliseconds);
}

int outstandingCount() {
    return static_cast<int>(pending().records.size());
}

void closeAll() {
    std::vector<std::uint64_t> open;
    for (const auto& [id, record] : pending().records) {
        if (!record.queued)
            open.push_back(id);
    }
    for (std::uint64_t id : open) {
        OvSNMPAnswer answer;
        answer.status = ovstatus::sessionDestroyed;
        queue(id, answer);
    }
    pending().probes.clear();
    pending().noted.clear();
    closeAllSessions();
}

} // namespace ovengine
