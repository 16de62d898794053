#include "support/RadicaleServer.h"

#include "support/ChildProcess.h"

#include <curl/curl.h>

#include <arpa/inet.h>
#include <strings.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <random>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace testsupport {

namespace {

constexpr char kRadicale[] = "/usr/bin/radicale";

int freePort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool accepts(int port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

int run(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

size_t collect(char* data, size_t size, size_t count, void* out)
{
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

size_t collectEtag(char* data, size_t size, size_t count, void* out)
{
    std::string line(data, size * count);
    if (line.size() > 5 && strncasecmp(line.c_str(), "etag:", 5) == 0) {
        std::string value = line.substr(5);
        while (!value.empty() && (value.front() == ' '))
            value.erase(value.begin());
        while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' '))
            value.pop_back();
        *static_cast<std::string*>(out) = value;
    }
    return size * count;
}

} // namespace

std::string RadicaleServer::unavailableReason()
{
    if (::access(kRadicale, X_OK) != 0)
        return "radicale is not installed (bash scripts/setup installs it)";
    return {};
}

RadicaleServer::RadicaleServer(Transport transport)
    : m_transport(transport)
{
    std::random_device random;
    m_folder = std::filesystem::temp_directory_path() / ("tessaro-radicale-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(m_folder / "storage");
    std::ofstream(m_folder / "users").close();
    m_startError = unavailableReason();
    if (!m_startError.empty())
        return;
    if (transport == Transport::Tls) {
        // A certificate of the test's own for 127.0.0.1; the client is told to trust it.
        int made = run({ "/usr/bin/openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                         "-nodes", "-keyout", (m_folder / "key.pem").string(), "-out", (m_folder / "cert.pem").string(),
                         "-days", "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1" });
        if (made != 0) {
            m_startError = "openssl could not make a test certificate";
            return;
        }
    }
    m_port = freePort();
    std::ofstream config(m_folder / "config");
    config << "[server]\nhosts = 127.0.0.1:" << m_port << "\n";
    if (transport == Transport::Tls)
        config << "ssl = True\ncertificate = " << (m_folder / "cert.pem").string() << "\nkey = " << (m_folder / "key.pem").string() << "\n";
    config << "[auth]\ntype = htpasswd\nhtpasswd_filename = " << (m_folder / "users").string()
           << "\nhtpasswd_encryption = plain\ndelay = 0\n"
           << "[storage]\nfilesystem_folder = " << (m_folder / "storage").string() << "\n"
           << "[web]\ntype = none\n[logging]\nlevel = error\n";
    config.close();
    m_origin = std::string(transport == Transport::Tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(m_port);
    start();
}

RadicaleServer::~RadicaleServer()
{
    stop();
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

bool RadicaleServer::start()
{
    if (m_pid > 0)
        return true;
    if (m_port == 0)
        return false;
    std::string configFile = (m_folder / "config").string();
    std::string logFile = (m_folder / "radicale.log").string();
    char* argv[] = { const_cast<char*>(kRadicale), const_cast<char*>("-C"), configFile.data(), nullptr };
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    pid_t pid = -1;
    int spawned = posix_spawn(&pid, kRadicale, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        m_startError = "radicale could not be started";
        return false;
    }
    m_pid = pid;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (accepts(m_port))
            return true;
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_startError = "radicale stopped at once (see " + logFile + ")";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    stop();
    m_startError = "radicale did not start listening";
    return false;
}

void RadicaleServer::stop()
{
    stopChildProcess(m_pid);
}

std::string RadicaleServer::addUserWithAddressBook(const std::string& user, const std::string& password, const std::string& displayName)
{
    {
        std::ofstream users(m_folder / "users", std::ios::app);
        users << user << ":" << password << "\n";
    }
    std::string url = m_origin + "/" + user + "/contacts/";
    std::string body = "<?xml version=\"1.0\"?><d:mkcol xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:set><d:prop>"
                       "<d:resourcetype><d:collection/><c:addressbook/></d:resourcetype><d:displayname>"
        + displayName + "</d:displayname></d:prop></d:set></d:mkcol>";
    request("MKCOL", url, user, password, body, "application/xml");
    return url;
}

RadicaleServer::Answer RadicaleServer::request(const std::string& method, const std::string& url, const std::string& user,
                                               const std::string& password, const std::string& body, const std::string& contentType)
{
    Answer answer;
    CURL* curl = curl_easy_init();
    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, ("Content-Type: " + contentType).c_str());
    headers = curl_slist_append(headers, "Depth: 1");
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_USERNAME, user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
    if (!body.empty()) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    }
    if (m_transport == Transport::Tls)
        curl_easy_setopt(curl, CURLOPT_CAINFO, certificateFile().c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer.body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, collectEtag);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &answer.etag);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 120L);
    if (curl_easy_perform(curl) == CURLE_OK)
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &answer.status);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return answer;
}

} // namespace testsupport
