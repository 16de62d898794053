#pragma once
// Downloads for the banner clients: plain GETs on libcurl, run by one worker thread on
// curl's multi interface, each answer handed back to the main run loop with post(). The
// worker runs only while downloads are under way and ends when the last one is done, so an
// idle application has no network thread.
//
// Every download has a time-out and a size limit: a body larger than the limit is not read
// further and comes back as `tooLarge`, so a hostile server cannot fill the memory. Nothing
// is cached. A cancelled download's completion never runs, even when its answer is already
// on its way to the run loop; that is what lets a banner go at any moment.
//
// Ownership: the client is one process-wide object; completions are owned by the client
// until they run or are cancelled. get() and cancel() belong to the main thread.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace ads {

struct HttpResponse {
    // The transfer failed (no connection, time-out, a broken answer): `errorDescription` says
    // why, and status and body mean nothing.
    bool failed { false };
    std::string errorDescription;
    // The body went past the request's limit; `body` is empty then.
    bool tooLarge { false };
    long statusCode { 0 };
    std::string body;
};

class HttpClient {
public:
    using RequestId = std::uint64_t;
    using Completion = std::function<void(HttpResponse response)>;

    static HttpClient& shared();

    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // Starts a GET of an http or https address (redirects followed, within http and https).
    // The completion runs once on the main run loop, unless cancel() comes first.
    RequestId get(const std::string& url, double timeoutSeconds, std::size_t maximumBytes, Completion completion);
    // Stops the download and forgets its completion. Unknown or finished ids are ignored.
    void cancel(RequestId id);

    // Downloads started whose completion has neither run nor been cancelled.
    std::size_t pendingCount() const { return m_completions.size(); }
    // Whether the worker thread exists now (tests check that none is left behind).
    bool isWorkerRunning() const;
    // Waits until the worker thread has ended, after cancelling nothing: for tests and exit.
    void waitUntilWorkerEnds();

    // One download as the worker thread sees it.
    struct Transfer;

private:
    struct Job {
        RequestId id { 0 };
        std::string url;
        long timeoutMilliseconds { 0 };
        std::size_t maximumBytes { 0 };
    };

    void startWorkerLocked();
    void work();
    void finish(RequestId id, HttpResponse response);

    // Main thread only.
    std::unordered_map<RequestId, Completion> m_completions;
    RequestId m_nextId { 1 };

    // Shared with the worker, under m_mutex.
    mutable std::mutex m_mutex;
    std::condition_variable m_workerEnded;
    std::vector<Job> m_queued;
    std::vector<RequestId> m_cancelled;
    bool m_workerRunning { false };
    bool m_stopping { false };
    std::thread m_worker;
    void* m_multi { nullptr };
    std::shared_ptr<int> m_lifetime { std::make_shared<int>(0) };
};

} // namespace ads
