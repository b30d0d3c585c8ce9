// bench_window_start_time NAME PROGRAM [ARGS...]
// Starts PROGRAM and prints the milliseconds from the start until a top-level
// window titled NAME is mapped on the X display, then ends the program. Watches the
// root window's map events, so the time is exact to the event, not to a polling
// interval. Exits 1 when no such window appears within 60 seconds.
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

template <typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::optional<std::string> TextProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
{
    XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 8 || reply->type == XCB_ATOM_NONE)
        return std::nullopt;
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

pid_t Start(char** argv)
{
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[0], argv);
        std::perror(argv[0]);
        _exit(127);
    }
    return child;
}

void Stop(pid_t child)
{
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s NAME PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const std::string name = argv[1];
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot connect to the X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t netWmName = Atom(connection, "_NET_WM_NAME");
    xcb_flush(connection);

    const Clock::time_point start = Clock::now();
    const pid_t child = Start(argv + 2);
    const Clock::time_point deadline = start + std::chrono::seconds(60);
    pollfd watch{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (Clock::now() < deadline) {
        xcb_generic_event_t* event = xcb_poll_for_event(connection);
        if (event == nullptr) {
            if (xcb_connection_has_error(connection))
                break;
            poll(&watch, 1, 100);
            continue;
        }
        const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
        const xcb_window_t window = mapped ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
        std::free(event);
        if (!mapped)
            continue;
        const Clock::time_point shown = Clock::now();
        auto title = TextProperty(connection, window, netWmName);
        if (!title)
            title = TextProperty(connection, window, XCB_ATOM_WM_NAME);
        if (title == name) {
            std::printf("%.1f\n", std::chrono::duration<double, std::milli>(shown - start).count());
            Stop(child);
            xcb_disconnect(connection);
            return 0;
        }
    }
    std::fprintf(stderr, "no window \"%s\" within 60 s\n", name.c_str());
    Stop(child);
    xcb_disconnect(connection);
    return 1;
}
