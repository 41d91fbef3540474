// Single-instance guard on the abstract socket "zu-<uid>-<name>".
#include "platform/os/instance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/backend.h"
#include "platform/environment.h"

namespace platform {
namespace {

int listener = -1;

socklen_t guardAddress(const char* name, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    // sun_path[0] stays 0: an abstract name, never a file.
    const char* scope = environmentSetting("INSTANCE");
    int n = std::snprintf(address.sun_path + 1, sizeof address.sun_path - 1, "zu-%u-%s%s%s",
                          unsigned(getuid()), name, scope ? "-" : "", scope ? scope : "");
    size_t length = std::min(size_t(n), sizeof address.sun_path - 2) + 1;
    return socklen_t(offsetof(sockaddr_un, sun_path) + length);
}

// Tells the copy holding the guard to come to the front; false when nobody answers.
bool askFront(const sockaddr_un& address, socklen_t length) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool sent = connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 &&
                send(fd, "front", 5, MSG_NOSIGNAL) == 5;
    close(fd);
    return sent;
}

void answer(int client) {
    pollfd p = {client, POLLIN, 0};
    char request[16] = {};
    if (poll(&p, 1, 200) > 0) {
        ssize_t n = recv(client, request, sizeof request - 1, 0);
        if (n == 5 && std::memcmp(request, "front", 5) == 0) backend().raiseWindow();
    }
    close(client);
}

}  // namespace

bool acquireInstance(const char* name) {
    sockaddr_un address;
    socklen_t length = guardAddress(name, address);
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) return true;
        if (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 && listen(fd, 4) == 0) {
            releaseInstance();
            listener = fd;
            return true;
        }
        close(fd);
        if (askFront(address, length)) return false;
        usleep(20000);  // the holder may be between bind and listen, or just gone
    }
    return false;
}

void serviceInstance() {
    if (listener < 0) return;
    for (;;) {
        int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) return;
        answer(client);
    }
}

void releaseInstance() {
    if (listener >= 0) close(listener);
    listener = -1;
}

}  // namespace platform
