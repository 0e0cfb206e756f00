#include "Transfers.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>

#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace apsim {

namespace {

struct Upload {
    const std::string* content;
    std::size_t offset = 0;
    long abortAfter = -1;
};

struct Download {
    std::string* content;
    long abortAfter = -1;
};

std::size_t receive(char* data, std::size_t size, std::size_t count, void* target) {
    auto* download = static_cast<Download*>(target);
    std::size_t length = size * count;
    if (download->abortAfter >= 0) {
        const auto left =
            static_cast<std::size_t>(download->abortAfter) -
            std::min(download->content->size(), static_cast<std::size_t>(download->abortAfter));
        length = std::min(length, left);
    }
    download->content->append(data, length);
    return length; // less than offered: curl gives the transfer up
}

std::size_t supply(char* buffer, std::size_t size, std::size_t count, void* source) {
    auto* upload = static_cast<Upload*>(source);
    if (upload->abortAfter >= 0 && upload->offset >= static_cast<std::size_t>(upload->abortAfter))
        return CURL_READFUNC_ABORT;
    std::size_t length = std::min(size * count, upload->content->size() - upload->offset);
    if (upload->abortAfter >= 0)
        length = std::min(length, static_cast<std::size_t>(upload->abortAfter) - upload->offset);
    upload->content->copy(buffer, length, upload->offset);
    upload->offset += length;
    return length;
}

} // namespace

std::uint32_t crc32Of(const std::string& octets) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const unsigned char c : octets) {
        crc ^= c;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

Transfers::Transfers(int port, long abortPutAfter, long abortGetAfter)
    : port_(port), abortPutAfter_(abortPutAfter), abortGetAfter_(abortGetAfter) {
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        throw std::runtime_error("libcurl did not start");
    if (pipe(pipe_) != 0)
        throw std::runtime_error("cannot make the transfer pipe");
    fcntl(pipe_[0], F_SETFL, O_NONBLOCK);
}

Transfers::~Transfers() {
    if (worker_.joinable())
        worker_.join();
    close(pipe_[0]);
    close(pipe_[1]);
    curl_global_cleanup();
}

std::string Transfers::url(const std::string& server, const std::string& name) const {
    CURL* curl = curl_easy_init();
    char* escaped =
        curl ? curl_easy_escape(curl, name.data(), static_cast<int>(name.size())) : nullptr;
    std::string text =
        "tftp://" + server + ":" + std::to_string(port_) + "/" + (escaped ? escaped : "");
    curl_free(escaped);
    curl_easy_cleanup(curl);
    return text;
}

void Transfers::fetch(int command, const std::string& server, const std::string& name) {
    if (worker_.joinable())
        worker_.join();
    running_ = true;
    worker_ = std::thread(&Transfers::run, this, TransferResult{command, name, false, {}, {}, 0},
                          server, std::string());
}

void Transfers::send(const std::string& server, const std::string& name, std::string content) {
    if (worker_.joinable())
        worker_.join();
    running_ = true;
    worker_ = std::thread(&Transfers::run, this, TransferResult{3, name, false, {}, {}, 0}, server,
                          std::move(content));
}

void Transfers::run(TransferResult result, const std::string& server, std::string upload) {
    CURL* curl = curl_easy_init();
    Upload source{&upload, 0, abortPutAfter_};
    Download sink{&result.content, abortGetAfter_};
    CURLcode code = CURLE_FAILED_INIT;
    if (curl != nullptr) {
        const std::string address = url(server, result.name);
        curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_TFTP_NO_OPTIONS, 1L);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, 120L);
        if (result.command == 3) {
            curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
            curl_easy_setopt(curl, CURLOPT_READFUNCTION, &supply);
            curl_easy_setopt(curl, CURLOPT_READDATA, &source);
            curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE,
                             static_cast<curl_off_t>(upload.size()));
        } else {
            curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &receive);
            curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
        }
        const auto started = std::chrono::steady_clock::now();
        code = curl_easy_perform(curl);
        result.microseconds = std::chrono::duration_cast<std::chrono::microseconds>(
                                  std::chrono::steady_clock::now() - started)
                                  .count();
        curl_easy_cleanup(curl);
    }
    result.ok = code == CURLE_OK;
    result.error = curl_easy_strerror(code);
    result.bytes = result.command == 3 ? source.offset : result.content.size();
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        done_ = std::move(result);
    }
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(pipe_[1], &byte, 1);
}

std::optional<TransferResult> Transfers::finished() {
    char drain[16];
    while (read(pipe_[0], drain, sizeof drain) > 0) {
    }
    std::optional<TransferResult> result;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        result.swap(done_);
    }
    if (result) {
        if (worker_.joinable())
            worker_.join();
        running_ = false;
    }
    return result;
}

} // namespace apsim
