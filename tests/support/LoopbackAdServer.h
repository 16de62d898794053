#pragma once
// The project's own ad server (tools/adserver) run on 127.0.0.1 at a free port for the
// life of the object, so the banner clients are tested over real HTTP. Tests script the
// next answers of a route ("ad.php", "admob", "iad") and read back what was asked.
//
// waitUntil() turns the main run loop (on its manual clock, without moving time) until a
// condition holds: the network answers on its own thread, and its answers reach the
// banners only through the loop.

#include "support/ManualTime.h"

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testsupport {

class LoopbackAdServer {
public:
    LoopbackAdServer();
    ~LoopbackAdServer();
    LoopbackAdServer(const LoopbackAdServer&) = delete;
    LoopbackAdServer& operator=(const LoopbackAdServer&) = delete;

    bool isRunning() const { return m_pid > 0; }
    // "http://127.0.0.1:PORT"
    const std::string& origin() const { return m_origin; }
    // Queues answers (a JSON list of {"status", "json"} or {"status", "body"}) for a route.
    void script(const std::string& route, const std::string& answersJSON);
    // The paths asked so far, in order, each with its query ("/ad.php?apikey=...").
    std::vector<std::string> requests();
    int countRequests(const std::string& path);
    void reset();
    // Stops the server: later requests fail to connect.
    void stop();

    // Turns the run loop until the condition holds; false after `seconds` of real time.
    static bool waitUntil(ManualTime& time, const std::function<bool()>& condition, double seconds = 20);

private:
    std::string post(const std::string& path, const std::string& body);
    std::string get(const std::string& path);

    pid_t m_pid { -1 };
    std::string m_origin;
};

} // namespace testsupport
