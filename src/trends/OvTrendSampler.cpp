#include "OvTrendSampler.h"

#include "DeviceMib.h"
#include "OvOptionList.h"
#include "OvSNMPRequest.h"

#include <QDateTime>

#include <charconv>
#include <string>
#include <vector>

namespace {

// Positions in a band's traffic statistics table (T37, T38).
constexpr int kTransmittedFrames = 6, kTransmitErrors = 8, kTotalRetries = 9, kReceivedFrames = 11,
              kFcsErrors = 13;
constexpr int kCountersPerBand = 5;
constexpr int kTemperatureRow = 1 + 2 * kCountersPerBand;

// A counter's value text: decimal digits only, within 32 bits.
bool parseTrendCount(const std::string& text, std::uint32_t& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end;
}

std::string instanceOid(const char* oid) {
    return std::string(oid) + ".0";
}

// Uptime, then per band transmitted, received, transmit errors, FCS errors and
// retries (their instances as the table holds them), then the temperature.
const OvSNMPVarRow* trendRows() {
    static const std::string uptime = instanceOid(mib::T1[2].oid);
    static const std::string temperature = instanceOid(mib::T79[0].oid);
    static const std::vector<OvSNMPVarRow> rows = [] {
        std::vector<OvSNMPVarRow> list;
        list.push_back({uptime.c_str(), "sysUpTime", ovtype::uinteger, ovaccess::readonly});
        for (const OvSNMPVarRow* band : {mib::T37, mib::T38})
            for (int p :
                 {kTransmittedFrames, kReceivedFrames, kTransmitErrors, kFcsErrors, kTotalRetries})
                list.push_back({band[p].oid, band[p].name, ovtype::uinteger, ovaccess::readonly});
        list.push_back(
            {temperature.c_str(), mib::T79[0].name, ovtype::integer, ovaccess::readonly});
        list.push_back({});
        return list;
    }();
    return rows.data();
}

} // namespace

OvTrendSampler::OvTrendSampler(QObject* parent)
    : QObject(parent), clock_([] { return QDateTime::currentMSecsSinceEpoch(); }) {
    connect(&timer_, &QTimer::timeout, this, &OvTrendSampler::sampleNow);
    timer_.setInterval(intervalSeconds_ * msPerSecond_);
}

OvTrendSampler::~OvTrendSampler() = default;

void OvTrendSampler::start() {
    if (timer_.isActive())
        return;
    timer_.start();
    sampleNow();
}

void OvTrendSampler::setIntervalSeconds(int seconds) {
    intervalSeconds_ = seconds > 0 ? seconds : kDefaultIntervalSeconds;
    timer_.setInterval(intervalSeconds_ * msPerSecond_);
}

void OvTrendSampler::setTiming(int millisecondsPerSecond, std::function<qint64()> clock) {
    msPerSecond_ = millisecondsPerSecond > 0 ? millisecondsPerSecond : 1000;
    clock_ = std::move(clock);
    setIntervalSeconds(intervalSeconds_);
}

void OvTrendSampler::noteClients(int band, int count) {
    if (band == 0 || band == 1)
        clients_[band] = count;
}

void OvTrendSampler::sampleNow() {
    if (outstanding_) {
        ++skipped_;
        return;
    }
    // A request per read takes the session as it is now (the main window may
    // have been given other credentials).
    request_ = std::make_unique<OvSNMPRequest>();
    request_->varList = OvSNMPVarList(trendRows(), MVT_SV, 0);
    outstanding_ = true;
    request_->ReadAsync([this](void*, const OvSNMPError& result,
                               OvSNMPVarList& values) { answered(result, values); },
                        nullptr, true);
}

void OvTrendSampler::answered(const OvSNMPError& result, OvSNMPVarList& values) {
    outstanding_ = false;
    if (result.code != 0) {
        previous_.reset(); // a gap: the next rates start afresh
        addSample(std::nullopt, std::nullopt);
        return;
    }
    std::optional<float> celsius;
    std::int32_t degrees = 0;
    if (ov::parseInt32(values.Item(kTemperatureRow).value, degrees))
        celsius = static_cast<float>(degrees);
    addSample(readingsOf(values), celsius);
}

std::optional<OvTrendSampler::Readings>
OvTrendSampler::readingsOf(const OvSNMPVarList& values) const {
    // The uptime, then each band's counters, in the rows' order.
    std::array<std::uint32_t, 1 + 2 * kCountersPerBand> raw{};
    for (std::size_t i = 0; i < raw.size(); ++i)
        if (!parseTrendCount(values.Item(static_cast<int>(i)).value, raw[i]))
            return std::nullopt;
    Readings readings;
    readings.uptime = raw[0];
    for (int band = 0; band < 2; ++band) {
        const std::uint32_t* c = &raw[1 + band * kCountersPerBand];
        std::uint32_t* out = &readings.counters[band * 4];
        out[0] = c[0];        // transmitted
        out[1] = c[1];        // received
        out[2] = c[2] + c[3]; // errors both ways; wraps as the two counters do
        out[3] = c[4];        // retries
    }
    return readings;
}

void OvTrendSampler::addSample(const std::optional<Readings>& now, std::optional<float> celsius) {
    ovtrends::Sample sample;
    sample.msecsSinceEpoch = clock_();
    if (now && previous_) {
        for (int band = 0; band < 2; ++band)
            for (int k = 0; k < 4; ++k) {
                const int at = band * 4 + k;
                const auto rate = ovtrends::counterRate(
                    {previous_->counters[at], previous_->uptime}, {now->counters[at], now->uptime});
                if (rate)
                    sample.values[ovtrends::bandSeries(band, k)] = static_cast<float>(*rate);
            }
    }
    for (int band = 0; band < 2; ++band)
        if (clients_[band])
            sample.values[ovtrends::bandSeries(band, 4)] = static_cast<float>(*clients_[band]);
    clients_ = {};
    if (celsius)
        sample.values[ovtrends::Temperature] = *celsius;
    if (now)
        previous_ = now;
    history_.append(sample);
    emit sampled();
}

#include "moc_OvTrendSampler.cpp"
