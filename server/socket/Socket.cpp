#include "server/socket/Socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace Net {

namespace {

std::string errorText(const std::string& call, int errorNumber) {
    return call + ": " + std::strerror(errorNumber);
}

// poll() on one descriptor, retried after signals; the revents, 0 on timeout.
short pollOne(int fd, short events, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd entry{fd, events, 0};
        const int result = ::poll(&entry, 1, timeoutMs);
        if (result >= 0)
            return result == 0 ? 0 : entry.revents;
        if (errno != EINTR)
            throw SocketError("poll", errno);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        timeoutMs = left.count() > 0 ? static_cast<int>(left.count()) : 0;
    }
}

std::string addressText(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return text;
}

} // namespace

void allowDescriptors(std::size_t count) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= count)
        return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? count : std::min<rlim_t>(count, limit.rlim_max);
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

SocketError::SocketError(const std::string& call, int errorNumber)
    : std::runtime_error(errorText(call, errorNumber))
    , errorNumber_(errorNumber) {}

Connection::Connection(int fd, std::string remoteAddress)
    : fd_(fd)
    , remoteAddress_(std::move(remoteAddress)) {
    // No TCP_NODELAY: an answer goes out with one write, and the end of the stream that follows it
    // sends its last piece at once.
}

Connection::~Connection() {
    close();
}

Connection::Wait Connection::waitReadable(int timeoutMs) {
    if (fd_ < 0 || aborted_)
        return Wait::Ready;
    const short revents = pollOne(fd_, POLLIN, timeoutMs < 0 ? 0 : timeoutMs);
    return revents == 0 ? Wait::Timeout : Wait::Ready;
}

std::size_t Connection::read(void* buffer, std::size_t size) {
    if (fd_ < 0 || size == 0)
        return 0;
    for (;;) {
        const ssize_t n = ::recv(fd_, buffer, size, 0);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno == EINTR)
            continue;
        if (aborted_ || errno == ECONNRESET)
            return 0;
        throw SocketError("recv", errno);
    }
}

std::optional<std::size_t> Connection::readNow(void* buffer, std::size_t size) {
    if (fd_ < 0 || size == 0 || aborted_)
        return 0;
    for (;;) {
        const ssize_t n = ::recv(fd_, buffer, size, MSG_DONTWAIT);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return std::nullopt;
        if (aborted_ || errno == ECONNRESET)
            return 0;
        throw SocketError("recv", errno);
    }
}

std::size_t Connection::write(const void* data, std::size_t size, int timeoutMs) {
    const auto* bytes = static_cast<const char*>(data);
    std::size_t written = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (written < size && fd_ >= 0 && !aborted_) {
        const ssize_t n = ::send(fd_, bytes + written, size - written, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            if (aborted_)
                break;
            throw SocketError("send", errno);
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || pollOne(fd_, POLLOUT, static_cast<int>(left.count())) == 0)
            break; // the peer has stopped reading
    }
    return written;
}

bool Connection::connected() {
    if (fd_ < 0 || aborted_)
        return false;
    // POLLHUP comes once both directions have ended, POLLERR with a reset; POLLRDHUP alone is the
    // peer's half-close, after which the answer is still wanted.
    const short revents = pollOne(fd_, 0, 0);
    return (revents & (POLLHUP | POLLERR)) == 0;
}

bool Connection::inputPending() {
    std::lock_guard lock(mutex_);
    return fd_ >= 0 && !aborted_ && (pollOne(fd_, POLLIN, 0) & POLLIN) != 0;
}

void Connection::abort() {
    std::lock_guard lock(mutex_);
    aborted_ = true;
    if (fd_ >= 0)
        ::shutdown(fd_, SHUT_RDWR);
}

void Connection::close() {
    std::lock_guard lock(mutex_);
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void Connection::closeGracefully(int lingerMs, bool expectMore) {
    if (fd_ >= 0 && !aborted_ && ::shutdown(fd_, SHUT_WR) == 0) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(lingerMs);
        char sink[4096];
        for (;;) {
            const ssize_t n = ::recv(fd_, sink, sizeof sink, MSG_DONTWAIT);
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (n > 0) {
                expectMore = true;
                if (left.count() <= 0)
                    break; // a peer that never stops sending is not drained for ever
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) || !expectMore)
                break; // ended, failed, or nothing more to wait for
            if (left.count() <= 0 || pollOne(fd_, POLLIN, static_cast<int>(left.count())) == 0)
                break;
        }
    }
    close();
}

Listener::Listener(std::uint16_t port, bool loopbackOnly) {
    // Not blocking, so that accepting never waits for a connection that poll() saw and that is gone.
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0)
        throw SocketError("socket", errno);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    const int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on); // a restart must not wait for TIME_WAIT
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(loopbackOnly ? INADDR_LOOPBACK : INADDR_ANY);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    if (wakeFd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd_, SOMAXCONN) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        const int errorNumber = errno;
        const char* call = wakeFd_ < 0 ? "eventfd" : "bind";
        closeDescriptors();
        throw SocketError(call, errorNumber);
    }
    port_ = ntohs(address.sin_port);
    openReserve();
}

Listener::~Listener() {
    closeDescriptors();
}

void Listener::closeDescriptors() {
    if (fd_ >= 0)
        ::close(fd_);
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
    if (reserveFd_ >= 0)
        ::close(reserveFd_);
    fd_ = wakeFd_ = reserveFd_ = -1;
}

void Listener::openReserve() {
    if (reserveFd_ < 0)
        reserveFd_ = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
}

bool Listener::refuseWithReserve(Accepted& accepted) {
    if (reserveFd_ < 0)
        return false;
    ::close(reserveFd_);
    reserveFd_ = -1;
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    const int fd = ::accept4(fd_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
    if (fd >= 0) {
        accepted.refusedAddress = addressText(peer);
        ::close(fd);
    }
    openReserve();
    return fd >= 0;
}

Accepted Listener::accept() {
    Accepted accepted;
    for (;;) {
        openReserve(); // again, should it have been lost
        pollfd entries[2] = {{wakeFd_, POLLIN, 0}, {fd_, POLLIN, 0}};
        if (::poll(entries, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            throw SocketError("poll", errno);
        }
        if (entries[0].revents != 0) {
            eventfd_t count = 0;
            ::eventfd_read(wakeFd_, &count);
            return accepted;
        }
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        const int fd = ::accept4(fd_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
        if (fd < 0) {
            const int error = errno;
            // The peer gave up before it was taken.
            if (error == EINTR || error == ECONNABORTED || error == EAGAIN || error == EPROTO)
                continue;
            // No descriptor left: the connection is taken with the reserve and closed.
            if ((error == EMFILE || error == ENFILE) && refuseWithReserve(accepted))
                return accepted;
            // Memory ran out for a moment (or the reserve is gone): the connection waits in the backlog.
            if (error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            throw SocketError("accept", error);
        }
        accepted.connection = std::make_unique<Connection>(fd, addressText(peer));
        return accepted;
    }
}

void Listener::wake() {
    ::eventfd_write(wakeFd_, 1);
}

} // namespace Net
