#include "TransferTest.h"

#include <QFile>
#include <QUdpSocket>

#include <cstdlib>

namespace transfertest {

std::uint32_t crc32Of(const QByteArray& octets) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : octets) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

bool writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

TransferTest::TransferTest() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    tftpPort = probe.localPort();
    probe.close();
    setenv("OV_TFTP_PORT", std::to_string(tftpPort).c_str(), 1);
}

TransferTest::~TransferTest() {
    unsetenv("OV_TFTP_PORT");
}

std::vector<std::string> TransferTest::agentOptions() const {
    std::vector<std::string> options{"--tftp-port", std::to_string(tftpPort), "--restart-seconds",
                                     "0.3"};
    for (const std::string& option : extraOptions())
        options.push_back(option);
    return options;
}

void TransferTest::restartWith(const std::vector<std::string>& options) {
    std::vector<std::string> all = agentOptions();
    all.insert(all.end(), options.begin(), options.end());
    restartAgent(all);
}

QString TransferTest::lastMessage() const {
    const auto messages = dialogs.messages();
    if (messages.empty())
        return QStringLiteral("(none)");
    return messages.back().title + QLatin1Char('|') + messages.back().text;
}

bool TransferTest::waitForMessage(const QString& text, int milliseconds) {
    return ovtest::waitFor(
        [&] {
            for (const OvShownDialog& shown : dialogs.messages())
                if (shown.text == text)
                    return true;
            return false;
        },
        milliseconds);
}

} // namespace transfertest
