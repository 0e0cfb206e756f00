// Samples the device for the trends: every interval one asynchronous read of
// its uptime, both bands' traffic counters and its temperature, turned into
// rates against the read before. Only reads: the client counts come from the
// client window's own reads (noteClients). A sample due while the last read is
// still out is skipped and counted, never sent beside it.
#pragma once

#include "OvTrendHistory.h"
#include "OvTrendRates.h"

#include <QObject>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class OvSNMPRequest;
struct OvSNMPError;
class OvSNMPVarList;

class OvTrendSampler : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultIntervalSeconds = 10;

    explicit OvTrendSampler(QObject* parent = nullptr);
    ~OvTrendSampler() override;

    // Starts sampling (one read at once, then every interval); idempotent.
    void start();
    bool isRunning() const { return timer_.isActive(); }
    // No further reads; the history stays.
    void stop() { timer_.stop(); }
    void setIntervalSeconds(int seconds);
    int intervalSeconds() const { return intervalSeconds_; }
    // How long an interval second lasts in real milliseconds (1000; less on a
    // shortened time scale), and the clock that stamps samples.
    void setTiming(int millisecondsPerSecond, std::function<qint64()> clock);

    const ovtrends::History& history() const { return history_; }
    int skipped() const { return skipped_; }

    // The clients associated with a band (0: 802.11a, 1: 802.11g), as the
    // client window just read them; kept for the next sample only.
    void noteClients(int band, int count);

    // One read now, unless one is out (then it counts as skipped).
    void sampleNow();

signals:
    void sampled();

private:
    struct Readings {
        std::uint32_t uptime = 0;
        std::array<std::uint32_t, 8>
            counters{}; // tx, rx, tx errors + FCS errors, retries; per band
    };
    void answered(const OvSNMPError& result, OvSNMPVarList& values);
    std::optional<Readings> readingsOf(const OvSNMPVarList& values) const;
    void addSample(const std::optional<Readings>& now, std::optional<float> celsius);

    std::unique_ptr<OvSNMPRequest> request_;
    QTimer timer_;
    ovtrends::History history_;
    std::optional<Readings> previous_;
    std::array<std::optional<int>, 2> clients_;
    std::function<qint64()> clock_;
    int intervalSeconds_ = kDefaultIntervalSeconds;
    int msPerSecond_ = 1000;
    int skipped_ = 0;
    bool outstanding_ = false;
};
