// The request engine's answer processing, sets and hooks.
#include "OvSNMPRequest.h"

#include "OvCatalog.h"
#include "OvException.h"
#include "OvValueText.h"

#include <charconv>
#include <cstddef>
#include <optional>

namespace {

std::string answerOidAt(const std::vector<OvVb>& bindings, std::size_t k) {
    return k < bindings.size() ? bindings[k].oid.toString() : std::string();
}

// One readable column's part of a walk step.
struct ColumnStep {
    int position = 0;
    std::size_t binding = 0;  // its binding in the answer
    bool ended = false;       // the walk has left the column
    std::optional<OvOid> row; // table modes: the row index it answered
};

// The sub-identifiers of an answer after its column's OID, when it lies below it.
std::optional<OvOid> rowBelow(const std::string& base, const OvOid& answer) {
    const auto column = OvOid::parse(base);
    if (!column || answer.size() <= column->size() || !answer.startsWith(*column))
        return std::nullopt;
    return OvOid(
        {answer.arcs().begin() + static_cast<std::ptrdiff_t>(column->size()), answer.arcs().end()});
}

} // namespace

// A column that lacks the row shown keeps its answer for a later row: it shows
// nothing here and is asked again from where it stood. Rows compare by their
// sub-identifiers as numbers, so row 10 follows row 9.
bool OvSNMPRequest::storeStep(const std::vector<OvVb>& bindings) {
    std::vector<ColumnStep> columns;
    std::optional<OvOid> shown;
    std::size_t k = 0;
    for (int i = 0; i < varList.Count(); ++i) {
        if (!varList.IsReadable(i))
            continue;
        ColumnStep column{i, k++, false, std::nullopt};
        const std::string base = baseOid(i);
        const bool present = column.binding < bindings.size();
        column.ended =
            (tableMode() && !present) ||
            IsColumnEnd(base, varList.Item(i).nextOid, answerOidAt(bindings, column.binding));
        if (!column.ended && tableMode()) {
            column.row = rowBelow(base, bindings[column.binding].oid);
            column.ended = !column.row;
            if (column.row && (!shown || *column.row < *shown))
                shown = column.row;
        }
        columns.push_back(column);
    }
    bool anyLive = false;
    for (const ColumnStep& column : columns) {
        OvSNMPVar& record = varList.Item(column.position);
        if (column.ended) {
            record.value = ovtext::notDone;
            // Without a row index it stays where it left the column: asked from
            // its base it would start over.
            if (const std::string index = RowIndexText(); !index.empty())
                record.nextOid = baseOid(column.position) + "." + index;
            continue;
        }
        anyLive = true;
        if (column.row && *column.row != *shown) {
            record.value.clear();
            continue;
        }
        const bool present = column.binding < bindings.size();
        TextFromValue(column.position, present ? bindings[column.binding] : OvVb::null());
        record.nextOid = answerOidAt(bindings, column.binding);
    }
    if (!anyLive)
        return false;
    if (shown)
        DecodeRowIndex(shown->toString());
    for (int i = 0; i < varList.Count(); ++i)
        ComputeValue(i, true);
    return true;
}

OvSNMPRequest::Result OvSNMPRequest::processRead(std::int32_t code,
                                                 const std::vector<OvVb>& bindings, bool ok) {
    if (code == -102 && tableMode()) {
        std::size_t k = 0;
        for (int i = 0; i < varList.Count(); ++i) {
            if (!varList.IsReadable(i))
                continue;
            // SNMPv1 ends a walk with noSuchName for the OID that was asked.
            if (varList.Item(i).nextOid == answerOidAt(bindings, k++))
                return {false, ok};
            ok = false;
            fail(code, ov::textOfCode(code));
        }
    }
    if (!storeStep(bindings))
        return {false, ok};
    return {tableMode(), ok};
}

void OvSNMPRequest::processAsyncRead(OvSNMPError& result, const std::vector<OvVb>& bindings) {
    if (result.code == -102) {
        for (int i = 0; i < varList.Count(); ++i) {
            if (!varList.IsReadable(i))
                continue;
            if (varList.Item(i).nextOid == answerOidAt(bindings, 0)) {
                result.code = 0;
                result.message = ov::textOfCode(0);
            }
            break;
        }
        result.done = true;
        return;
    }
    result.done = !storeStep(bindings) || !tableMode();
}

// The answer of a set carries the records that were sent, in the order sent.
void OvSNMPRequest::readBackSet(const Built& built, const std::vector<OvVb>& bindings) {
    for (std::size_t k = 0; k < built.positions.size() && k < bindings.size(); ++k)
        TextFromValue(built.positions[k], bindings[k]);
    for (int i = 0; i < varList.Count(); ++i)
        ComputeValue(i, true);
}

bool OvSNMPRequest::IsColumnEnd(const std::string& base, const std::string& previousNextOid,
                                const std::string& answerOid) {
    if (!tableMode())
        return false;
    const auto column = OvOid::parse(base);
    const auto answer = OvOid::parse(answerOid);
    if (!column || !answer)
        return true;
    const auto asked = previousNextOid.empty() ? column : OvOid::parse(previousNextOid);
    // Arc by arc: base 1.2 does not hold 1.20.5, and an answer that does not
    // move forward ends the column, so a faulty agent cannot make a walk endless.
    return !(answer->size() > column->size() && answer->startsWith(*column) && asked &&
             *answer > *asked);
}

void OvSNMPRequest::applyPositions(const std::string& positions,
                                   const std::vector<std::string>* source) {
    if (positions.empty())
        return;
    std::vector<long> listed;
    std::size_t start = 0;
    while (start <= positions.size()) {
        std::size_t comma = positions.find(',', start);
        if (comma == std::string::npos)
            comma = positions.size();
        std::string item = positions.substr(start, comma - start);
        const auto first = item.find_first_not_of(" \t");
        const auto last = item.find_last_not_of(" \t");
        long value = -1;
        if (first != std::string::npos) {
            const char* end = item.data() + last + 1;
            const auto [next, ec] = std::from_chars(item.data() + first, end, value);
            if (ec != std::errc() || next != end)
                value = -1;
        }
        listed.push_back(value);
        start = comma + 1;
    }
    for (int p = 0; p < varList.Count(); ++p) {
        std::size_t place = 0;
        while (place < listed.size() && listed[place] != p)
            ++place;
        if (place == listed.size()) {
            varList.SetInvalid(p, true);
            continue;
        }
        varList.SetInvalid(p, false);
        if (source != nullptr && place < source->size())
            varList.Item(p).value = (*source)[place];
    }
}

OvSNMPRequest::Result OvSNMPRequest::WriteSync(bool readBack, const std::string& positions,
                                               const std::vector<std::string>* valueSource) {
    if (!active)
        return {false, false};
    const OvSNMPVarList saved(varList);
    Built built;
    OvSNMPAnswer answer;
    try {
        applyPositions(positions, valueSource);
        for (int i = 0; i < varList.Count(); ++i)
            ComputeValue(i, false);
        built = build(Kind::Set);
        answer = ovengine::sendSync(target(), OvPduType::Set, built.bindings);
    } catch (...) {
        varList.Assign(saved);
        throw;
    }
    // The positions, access changes and supplied values last for this set only.
    varList.Assign(saved);
    const std::int32_t code = checkedCode(built, answer);
    if (code != 0) {
        fail(code, ov::textOfCode(code));
        return {false, false};
    }
    if (readBack)
        readBackSet(built, answer.bindings);
    return {false, true};
}

void OvSNMPRequest::WriteAsync(Completion completion, void* data, bool readBack,
                               const std::string& positions,
                               const std::vector<std::string>* valueSource) {
    if (!active)
        return;
    const OvSNMPVarList saved(varList);
    Built built;
    try {
        applyPositions(positions, valueSource);
        for (int i = 0; i < varList.Count(); ++i)
            ComputeValue(i, false);
        built = build(Kind::Set);
    } catch (...) {
        varList.Assign(saved);
        throw;
    }
    varList.Assign(saved);
    sendAsync(std::move(built), std::move(completion), data, readBack);
}

std::string OvSNMPRequest::Substitute(const std::string& text) {
    return text;
}

void OvSNMPRequest::TextFromValue(int position, const OvVb& received) {
    OvSNMPVar& record = varList.Item(position);
    record.value = ::TextFromValue(received, record.type, record.options);
}

OvVb OvSNMPRequest::ValueFromText(int position) {
    const OvSNMPVar& record = varList.Item(position);
    return ::ValueFromText(record.value, record.type, record.options);
}

// Read and write expressions are empty throughout the module.
void OvSNMPRequest::ComputeValue(int, bool) {}

bool OvSNMPRequest::CheckCondition(const std::string&) {
    return true;
}
