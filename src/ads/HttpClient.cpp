#include "ads/HttpClient.h"

#include "platform/foundation/RunLoop.h"

#include <curl/curl.h>

#include <algorithm>
#include <cmath>

namespace ads {

struct HttpClient::Transfer {
    RequestId id { 0 };
    CURL* easy { nullptr };
    std::size_t maximumBytes { 0 };
    bool tooLarge { false };
    std::string body;
    char errorBuffer[CURL_ERROR_SIZE] {};
};

namespace {

size_t appendBody(char* data, size_t size, size_t count, void* context)
{
    auto* transfer = static_cast<HttpClient::Transfer*>(context);
    std::size_t bytes = size * count;
    if (transfer->body.size() + bytes > transfer->maximumBytes) {
        transfer->tooLarge = true;
        transfer->body.clear();
        transfer->body.shrink_to_fit();
        return 0; // curl stops the transfer with a write error
    }
    transfer->body.append(data, bytes);
    return bytes;
}

} // namespace

HttpClient& HttpClient::shared()
{
    // The run loop is made first, so it outlives the client whose answers it carries.
    foundation::RunLoop::main();
    static HttpClient client;
    return client;
}

HttpClient::HttpClient()
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    m_multi = curl_multi_init();
}

HttpClient::~HttpClient()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_queued.clear();
    }
    if (m_multi)
        curl_multi_wakeup(static_cast<CURLM*>(m_multi));
    if (m_worker.joinable())
        m_worker.join();
    if (m_multi)
        curl_multi_cleanup(static_cast<CURLM*>(m_multi));
}

HttpClient::RequestId HttpClient::get(const std::string& url, double timeoutSeconds, std::size_t maximumBytes,
                                      Completion completion)
{
    RequestId id = m_nextId++;
    m_completions.emplace(id, std::move(completion));
    long timeout = timeoutSeconds > 0 ? static_cast<long>(std::ceil(timeoutSeconds * 1000)) : 0;
    std::lock_guard lock(m_mutex);
    m_queued.push_back({ id, url, timeout, maximumBytes });
    if (!m_workerRunning)
        startWorkerLocked();
    else
        curl_multi_wakeup(static_cast<CURLM*>(m_multi));
    return id;
}

void HttpClient::cancel(RequestId id)
{
    if (m_completions.erase(id) == 0)
        return;
    std::lock_guard lock(m_mutex);
    m_cancelled.push_back(id);
    if (m_workerRunning)
        curl_multi_wakeup(static_cast<CURLM*>(m_multi));
}

bool HttpClient::isWorkerRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_workerRunning;
}

void HttpClient::waitUntilWorkerEnds()
{
    std::unique_lock lock(m_mutex);
    m_workerEnded.wait(lock, [this] { return !m_workerRunning; });
    if (m_worker.joinable())
        m_worker.join();
}

void HttpClient::startWorkerLocked()
{
    // The previous worker has said it is done; it only has to return.
    if (m_worker.joinable())
        m_worker.join();
    m_workerRunning = true;
    m_worker = std::thread([this] { work(); });
}

void HttpClient::work()
{
    auto* multi = static_cast<CURLM*>(m_multi);
    std::unordered_map<RequestId, std::unique_ptr<Transfer>> running;

    auto drop = [&](RequestId id) {
        auto found = running.find(id);
        if (found == running.end())
            return;
        curl_multi_remove_handle(multi, found->second->easy);
        curl_easy_cleanup(found->second->easy);
        running.erase(found);
    };

    for (;;) {
        std::vector<Job> jobs;
        std::vector<RequestId> cancelled;
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping) {
                for (auto& [id, transfer] : running) {
                    curl_multi_remove_handle(multi, transfer->easy);
                    curl_easy_cleanup(transfer->easy);
                }
                running.clear();
            }
            jobs.swap(m_queued);
            cancelled.swap(m_cancelled);
            if (running.empty() && jobs.empty()) {
                m_workerRunning = false;
                m_workerEnded.notify_all();
                return;
            }
        }
        for (RequestId id : cancelled)
            drop(id);
        for (Job& job : jobs) {
            if (std::find(cancelled.begin(), cancelled.end(), job.id) != cancelled.end())
                continue;
            auto transfer = std::make_unique<Transfer>();
            transfer->id = job.id;
            transfer->maximumBytes = job.maximumBytes;
            CURL* easy = curl_easy_init();
            transfer->easy = easy;
            curl_easy_setopt(easy, CURLOPT_URL, job.url.c_str());
            curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
            curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
            curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
            curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
            curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
            curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, job.timeoutMilliseconds);
            curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, appendBody);
            curl_easy_setopt(easy, CURLOPT_WRITEDATA, transfer.get());
            curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer->errorBuffer);
            curl_easy_setopt(easy, CURLOPT_PRIVATE, transfer.get());
            curl_easy_setopt(easy, CURLOPT_USERAGENT, "Tessaro");
            if (job.maximumBytes > 0)
                curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(job.maximumBytes));
            curl_multi_add_handle(multi, easy);
            running.emplace(job.id, std::move(transfer));
        }

        int stillRunning = 0;
        curl_multi_perform(multi, &stillRunning);
        int queuedMessages = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &queuedMessages)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            Transfer* transfer = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, reinterpret_cast<char**>(&transfer));
            HttpResponse response;
            CURLcode result = message->data.result;
            if (transfer->tooLarge || result == CURLE_FILESIZE_EXCEEDED) {
                response.tooLarge = true;
            } else if (result != CURLE_OK) {
                response.failed = true;
                response.errorDescription = transfer->errorBuffer[0] ? transfer->errorBuffer : curl_easy_strerror(result);
            } else {
                curl_easy_getinfo(message->easy_handle, CURLINFO_RESPONSE_CODE, &response.statusCode);
                response.body = std::move(transfer->body);
            }
            finish(transfer->id, std::move(response));
            drop(transfer->id);
        }
        if (!running.empty())
            curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
    }
}

void HttpClient::finish(RequestId id, HttpResponse response)
{
    std::weak_ptr<int> alive = m_lifetime;
    foundation::RunLoop::main().post([this, alive, id, response = std::move(response)]() mutable {
        if (alive.expired())
            return;
        auto found = m_completions.find(id);
        if (found == m_completions.end())
            return; // cancelled while the answer was on its way
        Completion completion = std::move(found->second);
        m_completions.erase(found);
        completion(std::move(response));
    });
}

} // namespace ads
