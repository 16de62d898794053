#include "support/LoopbackAdServer.h"

#include "support/ChildProcess.h"

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace testsupport {

namespace {

size_t collect(char* data, size_t size, size_t count, void* out)
{
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

// One request to the server with a 10-second limit; a body makes it a POST.
std::string fetch(const std::string& url, const std::string* body)
{
    std::string answer;
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    if (body) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body->c_str());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body->size()));
    }
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 10L);
    curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    return answer;
}

} // namespace

LoopbackAdServer::LoopbackAdServer()
{
    std::string script = std::string(TESSARO_RESOURCES_DIR) + "/../tools/adserver/adserver.py";
    int output[2];
    if (::pipe(output) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    const char* python = "/usr/bin/python3";
    char* argv[] = { const_cast<char*>(python), script.data(), const_cast<char*>("--port"), const_cast<char*>("0"), nullptr };
    pid_t pid = -1;
    int spawned = posix_spawn(&pid, python, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    if (spawned != 0) {
        ::close(output[0]);
        return;
    }
    m_pid = pid;
    std::string line;
    char c = 0;
    while (::read(output[0], &c, 1) == 1 && c != '\n')
        line += c;
    ::close(output[0]);
    auto at = line.find("http://");
    if (at == std::string::npos) {
        stop();
        return;
    }
    m_origin = line.substr(at);
}

LoopbackAdServer::~LoopbackAdServer()
{
    stop();
}

void LoopbackAdServer::stop()
{
    stopChildProcess(m_pid);
}

std::string LoopbackAdServer::post(const std::string& path, const std::string& body)
{
    return fetch(m_origin + path, &body);
}

std::string LoopbackAdServer::get(const std::string& path)
{
    return fetch(m_origin + path, nullptr);
}

void LoopbackAdServer::script(const std::string& route, const std::string& answersJSON)
{
    std::string answer = post("/script/" + route, answersJSON);
    // A script the server did not take is a fault of the test itself.
    if (answer.find("\"ok\": true") == std::string::npos)
        ADD_FAILURE() << "the ad server refused the script for " << route << ": " << answer;
}

void LoopbackAdServer::reset()
{
    post("/reset", "");
}

std::vector<std::string> LoopbackAdServer::requests()
{
    std::vector<std::string> paths;
    auto list = nlohmann::json::parse(get("/requests"), nullptr, false);
    if (!list.is_array())
        return paths;
    for (const auto& request : list) {
        std::string path = request.value("path", "");
        std::string query = request.value("query", "");
        paths.push_back(query.empty() ? path : path + "?" + query);
    }
    return paths;
}

int LoopbackAdServer::countRequests(const std::string& path)
{
    int count = 0;
    for (const auto& request : requests()) {
        if (request == path || request.rfind(path + "?", 0) == 0)
            ++count;
    }
    return count;
}

bool LoopbackAdServer::waitUntil(ManualTime& time, const std::function<bool()>& condition, double seconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        time.advance(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace testsupport
