// The request engine: turns one variable list into SNMP get, get-next and set
// requests against the module's agent and the answers back into value texts,
// synchronously or through the event pump, one table row per request.
#pragma once

#include "OvSNMPEngine.h"
#include "OvSNMPVarList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The result record of one operation.
struct OvSNMPError {
    std::int32_t code = 0; // display code; 0 is success
    std::int32_t errorIndex = 0;
    std::string message;
    std::string agentAddress;
    std::uint16_t agentPort = 0;
    bool done = false; // asynchronous reads: no further row follows
    std::uint64_t errorCount = 0;
};

// The request's copy of the session values, its time-out and retries are the
// target it sends to, so they are one record.
class OvSNMPRequest : public OvSNMPTarget {
public:
    // Receives (completion data, result, the request's variable list).
    using Completion = std::function<void(void*, const OvSNMPError&, OvSNMPVarList&)>;
    using ResultHook = std::function<void(const OvSNMPError&)>;

    struct Result {
        bool moreRows = false;
        bool ok = false;
    };

    // Copies the session records and the default time-out; retries 1.
    OvSNMPRequest();
    // Clears the active flag and waits up to 6000 ms, processing events other
    // than user input, for outstanding asynchronous answers (a completion of its
    // own that is running is not waited for); answers that arrive meanwhile
    // call nothing.
    virtual ~OvSNMPRequest();
    OvSNMPRequest(const OvSNMPRequest&) = delete;
    OvSNMPRequest& operator=(const OvSNMPRequest&) = delete;

    // Called for every failure of a synchronous operation and for send failures
    // of asynchronous ones.
    ResultHook resultHook;

    OvSNMPVarList varList;
    std::string rowCondition;
    std::uint8_t active = 1; // when 0, read and write calls do nothing

    std::int32_t pendingCount() const;
    std::uint64_t errorCount() const { return errorCount_; }

    // first = true starts at the list's OIDs, false continues a walk.
    Result ReadSync(bool first);
    void ReadAsync(Completion completion, void* data, bool first);
    // positions: comma-separated record positions to send (empty: all writable
    // records); valueSource: the texts to send for them, in the same order.
    Result WriteSync(bool readBack, const std::string& positions = {},
                     const std::vector<std::string>* valueSource = nullptr);
    void WriteAsync(Completion completion, void* data, bool readBack,
                    const std::string& positions = {},
                    const std::vector<std::string>* valueSource = nullptr);

    // The row index of the key records' current values.
    std::string RowIndexText();
    // Sets the key records' value texts from a row index; -514 when it is short.
    void DecodeRowIndex(const std::string& rowIndex);

    virtual std::string Substitute(const std::string& text);
    // Reads the key record's value from the front of the index; returns the rest.
    virtual std::string DecodeIndexPart(int position, const std::string& index);
    // The key record's value as sub-identifiers (dotted text).
    virtual std::string EncodeIndexPart(int position);
    virtual void TextFromValue(int position, const OvVb& received);
    virtual OvVb ValueFromText(int position);
    virtual void ComputeValue(int position, bool afterRead);
    virtual bool CheckCondition(const std::string& condition);
    virtual bool IsColumnEnd(const std::string& base, const std::string& previousNextOid,
                             const std::string& answerOid);

    // The target the request sends to: its copy of the session values.
    const OvSNMPTarget& target() const { return *this; }

private:
    enum class Kind { FirstRead, NextRead, Set };
    struct Built {
        Kind kind = Kind::FirstRead;
        std::vector<OvVb> bindings;
        std::vector<int> positions; // the record of each binding
    };
    struct Link; // shared with the completions of asynchronous sends

    std::string baseOid(int position) const;
    bool tableMode() const;
    Built build(Kind kind);
    void fail(std::int32_t code, const std::string& text);
    std::int32_t checkedCode(const Built& built, const OvSNMPAnswer& answer) const;
    // Files one answer, each column under its own row, and decodes the row shown:
    // the lowest that a column answered. False when every column has ended.
    bool storeStep(const std::vector<OvVb>& bindings);
    Result processRead(std::int32_t code, const std::vector<OvVb>& bindings, bool ok);
    void processAsyncRead(OvSNMPError& result, const std::vector<OvVb>& bindings);
    void readBackSet(const Built& built, const std::vector<OvVb>& bindings);
    void applyPositions(const std::string& positions, const std::vector<std::string>* source);
    void sendAsync(Built built, Completion completion, void* data, bool readBack);
    void complete(const Built& built, const OvSNMPAnswer& answer, std::optional<int> forcedCode,
                  bool counted, const Completion& completion, void* data, bool readBack);

    std::shared_ptr<Link> link_;
    std::uint64_t errorCount_ = 0;
};
