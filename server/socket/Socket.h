#pragma once
// TCP over POSIX sockets for the HTTP gateway: a listening socket whose accept can be woken from another
// thread, and one accepted connection with bounded waits. Plain C++, no Qt.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

namespace Net {

// A failing socket call, with the system's text for its error number.
class SocketError : public std::runtime_error {
public:
    SocketError(const std::string& call, int errorNumber);
    int errorNumber() const { return errorNumber_; }

private:
    int errorNumber_;
};

// One accepted connection. Reads, waits and writes belong to one thread; abort() may come from any
// other and ends that thread's waits at once.
class Connection {
public:
    Connection(int fd, std::string remoteAddress);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    enum class Wait { Ready, Timeout };

    const std::string& remoteAddress() const { return remoteAddress_; }
    // Ready when a read will not block: data, the peer's end of stream or an abort.
    Wait waitReadable(int timeoutMs);
    // Up to size bytes; 0 at the end of the stream or after an abort.
    std::size_t read(void* buffer, std::size_t size);
    // As read, without waiting: none when nothing has come yet.
    std::optional<std::size_t> readNow(void* buffer, std::size_t size);
    // Writes until all is sent, the peer stops taking data for timeoutMs, or the connection is gone;
    // returns the bytes written. A broken connection throws.
    std::size_t write(const void* data, std::size_t size, int timeoutMs);
    // Neither aborted nor closed here, nor closed or reset by the peer. A peer that has only ended its
    // sending side still takes an answer; one that has closed altogether looks the same until a write
    // to it fails.
    bool connected();
    // Input has come that has not been read; callable from any thread.
    bool inputPending();
    // Ends the connection in both directions without closing the descriptor.
    void abort();
    // Closes the descriptor; later calls see a closed connection.
    void close();
    // Sends the end of the stream and closes. Unread input would make the close reset the connection
    // before the peer has read the answer, so what has come is dropped first; while more may come
    // (the caller expects it, or some came), the peer's end of stream is awaited for at most lingerMs.
    // A peer that has ended its side, or sent nothing more, is not waited for; one that keeps sending
    // is not waited for beyond lingerMs either.
    void closeGracefully(int lingerMs, bool expectMore);

private:
    std::mutex mutex_; // the descriptor's lifetime against abort() from another thread
    int fd_;
    std::atomic<bool> aborted_ = false;
    std::string remoteAddress_;
};

// Lets the process open at least `count` descriptors, as far as its hard limit allows.
void allowDescriptors(std::size_t count);

// What Listener::accept took: a connection, or, when the process had no descriptor to spare, only the
// address of a connection it closed at once; neither when woken.
struct Accepted {
    std::unique_ptr<Connection> connection;
    std::string refusedAddress;
};

// A listening socket on every IPv4 address of the machine, or on the loopback address alone. It keeps one
// descriptor in reserve: when the process has none left, the reserve makes room to take the next connection
// and close it at once, so that its client learns at once rather than waiting unanswered until some other
// descriptor comes free.
class Listener {
public:
    // Port 0 lets the system choose; port() tells which. Throws SocketError.
    explicit Listener(std::uint16_t port, bool loopbackOnly = false);
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    std::uint16_t port() const { return port_; }
    // Waits for the next connection; an empty result when wake() came first.
    Accepted accept();
    // Makes a waiting (or the next) accept() return an empty result; callable from any thread.
    void wake();

private:
    void closeDescriptors();
    // Takes the waiting connection with the reserve descriptor and closes it; false when there is no
    // reserve (it could not be opened again after the last time).
    bool refuseWithReserve(Accepted& accepted);
    void openReserve();

    int fd_ = -1;
    int wakeFd_ = -1;
    int reserveFd_ = -1;
    std::uint16_t port_ = 0;
};

} // namespace Net
