#include "OvSNMPRequest.h"

#include "OvCatalog.h"
#include "OvException.h"
#include "OvSNMPPump.h"
#include "OvSNMPSession.h"
#include "OvValueText.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <charconv>

struct OvSNMPRequest::Link {
    OvSNMPRequest* owner = nullptr;
    std::int32_t pending = 0;
    std::int32_t delivering = 0; // completions running now (nested boxes make more than one)
};

namespace {

constexpr int kDestroyWaitMs = 6000;

OvOid parseOid(const std::string& text) {
    auto oid = OvOid::parse(text);
    if (!oid)
        throw OvException(ovcode::BadSnmpSyntax);
    return *oid;
}

// Counts a completion as running until it returns or throws; then it is no
// longer pending.
struct Delivery {
    explicit Delivery(std::int32_t& delivering, std::int32_t& pending)
        : delivering_(delivering), pending_(pending) {
        ++delivering_;
    }
    ~Delivery() {
        --delivering_;
        --pending_;
    }
    Delivery(const Delivery&) = delete;
    Delivery& operator=(const Delivery&) = delete;

private:
    std::int32_t& delivering_;
    std::int32_t& pending_;
};

} // namespace

OvSNMPRequest::OvSNMPRequest() : link_(std::make_shared<Link>()) {
    agentAddress = OvSNMPDevice.agentAddress;
    agentPort = OvSNMPDevice.agentPort;
    contextEngineId = OvSNMPScope.contextEngineId;
    contextName = OvSNMPScope.contextName;
    version = OvSNMPSecurity.version;
    readCommunity = OvSNMPSecurity.readCommunity;
    writeCommunity = OvSNMPSecurity.writeCommunity;
    securityModel = OvSNMPSecurity.securityModel;
    securityLevel = OvSNMPSecurity.securityLevel;
    securityName = OvSNMPSecurity.securityName;
    authPassword = OvSNMPSecurity.authPassword;
    privPassword = OvSNMPSecurity.privPassword;
    authProtocol = OvSNMPSecurity.authProtocol;
    privProtocol = OvSNMPSecurity.privProtocol;
    timeout = OvSNMPDefaultTimeout;
    retries = 1;
    link_->owner = this;
}

OvSNMPRequest::~OvSNMPRequest() {
    active = 0;
    link_->owner = nullptr; // late answers only lower the pending count
    if (QCoreApplication::instance() == nullptr || SnmpEventProcessor::instance().inTurn())
        return;
    // A request destroyed inside its own completion waits only for the others.
    const auto waiting = [this] { return link_->pending > link_->delivering; };
    QElapsedTimer waited;
    waited.start();
    while (waiting() && waited.elapsed() < kDestroyWaitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (waiting())
            ovengine::waitForActivity(5);
    }
}

std::int32_t OvSNMPRequest::pendingCount() const {
    return link_->pending;
}

bool OvSNMPRequest::tableMode() const {
    return varList.mode == MVT_FMV || varList.mode == MVT_UMV;
}

std::string OvSNMPRequest::baseOid(int position) const {
    const std::string& oid = varList.Item(position).oid;
    return varList.instanceSuffix.empty() ? oid : oid + "." + varList.instanceSuffix;
}

void OvSNMPRequest::fail(std::int32_t code, const std::string& text) {
    ++errorCount_;
    if (!resultHook)
        return;
    OvSNMPError error;
    error.code = code;
    error.message = text;
    error.errorCount = errorCount_;
    resultHook(error);
}

OvSNMPRequest::Built OvSNMPRequest::build(Kind kind) {
    Built built;
    built.kind = kind;
    const int mode = varList.mode;
    if (kind == Kind::NextRead && (mode == SVT_SV || mode == MVT_SV))
        throw OvException(-510);
    for (int i = 0; i < varList.Count(); ++i) {
        OvSNMPVar& record = varList.Item(i);
        const std::string base = baseOid(i);
        OvVb binding;
        if (kind == Kind::Set) {
            if ((tableMode() && i < varList.keyCount) || !varList.IsWritable(i))
                continue;
            if (mode == SVT_SV)
                binding = ValueFromText(i), binding.oid = parseOid(base + ".0");
            else if (mode == MVT_SV)
                binding = ValueFromText(i), binding.oid = parseOid(base);
            else if (tableMode()) {
                const std::string index = RowIndexText();
                binding = ValueFromText(i);
                binding.oid = parseOid(index.empty() ? base : base + "." + index);
            } else
                throw OvException(ovcode::BadItemType);
        } else {
            if (!varList.IsReadable(i))
                continue;
            if (kind == Kind::FirstRead) {
                record.nextOid.clear();
                binding.oid = parseOid(mode == SVT_SV ? base + ".0" : base);
            } else {
                binding.oid = parseOid(record.nextOid.empty() ? base : record.nextOid);
            }
        }
        built.bindings.push_back(std::move(binding));
        built.positions.push_back(i);
    }
    return built;
}

// The display code of an outcome; an answer that does not fit its request (other
// OIDs, or another number of bindings) is an invalid PDU.
std::int32_t OvSNMPRequest::checkedCode(const Built& built, const OvSNMPAnswer& answer) const {
    if (answer.status == 0 && answer.answered) {
        bool fits = answer.bindings.size() == built.bindings.size();
        const bool getNext = built.kind != Kind::Set && tableMode();
        if (fits && !getNext) {
            for (std::size_t i = 0; i < built.bindings.size(); ++i)
                fits = fits && answer.bindings[i].oid == built.bindings[i].oid;
        }
        if (!fits)
            return ov::mapStatus(ovstatus::invalidPdu).code;
    }
    return ov::mapStatus(answer.status).code;
}

OvSNMPRequest::Result OvSNMPRequest::ReadSync(bool first) {
    if (!active)
        return {false, false};
    if (varList.mode > MVT_UMV) {
        fail(ovcode::BadItemType, ov::textOfCode(ovcode::BadItemType));
        return {false, false};
    }
    const Built built = build(first ? Kind::FirstRead : Kind::NextRead);
    const OvPduType type = tableMode() ? OvPduType::GetNext : OvPduType::Get;
    const OvSNMPAnswer answer = ovengine::sendSync(target(), type, built.bindings);
    const std::int32_t code = checkedCode(built, answer);
    bool ok = true;
    if (code != 0 && !(code == -102 && tableMode())) {
        ok = false;
        fail(code, ov::textOfCode(code));
    }
    return processRead(code, code == 0 ? answer.bindings : built.bindings, ok);
}

void OvSNMPRequest::ReadAsync(Completion completion, void* data, bool first) {
    if (!active)
        return;
    if (varList.mode > MVT_UMV) {
        fail(ovcode::BadItemType, ov::textOfCode(ovcode::BadItemType));
        ++link_->pending;
        auto link = link_;
        ovengine::completeLater({}, [link, completion, data](const OvSNMPAnswer& answer) {
            Delivery delivery(link->delivering, link->pending);
            if (link->owner != nullptr)
                link->owner->complete({}, answer, ovcode::BadItemType, true, completion, data,
                                      true);
        });
        return;
    }
    sendAsync(build(first ? Kind::FirstRead : Kind::NextRead), std::move(completion), data, true);
}

void OvSNMPRequest::sendAsync(Built built, Completion completion, void* data, bool readBack) {
    const OvPduType type = built.kind == Kind::Set ? OvPduType::Set
                           : tableMode()           ? OvPduType::GetNext
                                                   : OvPduType::Get;
    auto link = link_;
    auto shared = std::make_shared<Built>(std::move(built));
    auto counted = std::make_shared<bool>(false);
    const int status = ovengine::sendAsync(
        target(), type, shared->bindings,
        [link, shared, counted, completion, data, readBack](const OvSNMPAnswer& answer) {
            Delivery delivery(link->delivering, link->pending);
            if (link->owner != nullptr && answer.status != ovstatus::sessionDestroyed)
                link->owner->complete(*shared, answer, std::nullopt, *counted, completion, data,
                                      readBack);
        });
    ++link_->pending;
    if (status != 0) {
        *counted = true;
        const OvStatus mapped = ov::mapStatus(status);
        fail(mapped.code, mapped.text);
    }
}

void OvSNMPRequest::complete(const Built& built, const OvSNMPAnswer& answer,
                             std::optional<int> forcedCode, bool counted,
                             const Completion& completion, void* data, bool readBack) {
    OvSNMPError result;
    result.code = forcedCode ? *forcedCode : checkedCode(built, answer);
    result.message = ov::textOfCode(result.code);
    result.errorIndex = answer.errorIndex;
    result.agentAddress = agentAddress;
    result.agentPort = agentPort;
    const bool isRead = built.kind != Kind::Set;
    // An error of another kind than ours still ends the request as a failure; the
    // general error handler shows what it was.
    std::exception_ptr escaped;
    try {
        if (result.code == 0 && readBack && isRead)
            processAsyncRead(result, answer.bindings);
        else if (result.code == -102 && tableMode() && isRead)
            processAsyncRead(result, built.bindings);
        else if (result.code == 0 && readBack)
            readBackSet(built, answer.bindings), result.done = true;
        else
            result.done = true;
    } catch (const OvException& error) {
        result.code = error.code();
        result.message = error.text();
        result.done = true;
    } catch (...) {
        escaped = std::current_exception();
        result.code = ovcode::UnknownError;
        result.message = ov::textOfCode(result.code);
        result.done = true;
    }
    if (result.code != 0 && !counted)
        ++errorCount_;
    result.errorCount = errorCount_;
    try {
        if (completion)
            completion(data, result, varList);
    } catch (...) {
        if (escaped)
            OvReportGeneralError(escaped);
        throw;
    }
    if (escaped)
        std::rethrow_exception(escaped);
}
