#pragma once
// A Radicale CardDAV server of the test's own on 127.0.0.1 at a free port, with a throwaway
// storage folder and a password file, for as long as the object lives; with TLS when asked,
// on a certificate the test makes for 127.0.0.1. It also plays "another client" of the same
// server: making address books and putting, reading and deleting cards over plain curl.
//
// When radicale is not installed, available() is false with the reason: tests then skip
// (scripts/setup installs it, so on a set-up machine and in CI they run).

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace testsupport {

class RadicaleServer {
public:
    enum class Transport {
        PlainHttp,
        Tls,
    };

    explicit RadicaleServer(Transport transport = Transport::PlainHttp);
    ~RadicaleServer();
    RadicaleServer(const RadicaleServer&) = delete;
    RadicaleServer& operator=(const RadicaleServer&) = delete;

    // Empty when the server runs; else why it could not be started.
    static std::string unavailableReason();
    bool isRunning() const { return m_pid > 0; }
    const std::string& startError() const { return m_startError; }

    // "http://127.0.0.1:PORT" (or https://)
    const std::string& origin() const { return m_origin; }
    // The certificate to trust for the TLS server (PEM).
    std::filesystem::path certificateFile() const { return m_folder / "cert.pem"; }
    const std::filesystem::path& folder() const { return m_folder; }

    // A new user with a password of its own, and an empty address book "contacts" of theirs;
    // the book's address comes back.
    std::string addUserWithAddressBook(const std::string& user, const std::string& password,
                                       const std::string& displayName = "Contacts");

    // The other client. Each answers the HTTP status (0 when no answer).
    struct Answer {
        long status { 0 };
        std::string body;
        std::string etag;
    };
    Answer request(const std::string& method, const std::string& url, const std::string& user,
                   const std::string& password, const std::string& body = {},
                   const std::string& contentType = "text/vcard; charset=utf-8");

    // Stops and starts the same server (same port, same storage), as a server going away
    // and coming back.
    void stop();
    bool start();

private:
    std::filesystem::path m_folder;
    Transport m_transport { Transport::PlainHttp };
    int m_port { 0 };
    pid_t m_pid { -1 };
    std::string m_origin;
    std::string m_startError;
};

} // namespace testsupport
