// Watching the session's accessibility status: a private connection to the session bus (libdbus,
// loaded on the watching thread), the status read from the accessibility bus's org.a11y.Status
// and followed through its PropertiesChanged signal. A bus that is not running yet is not started
// for this: its arrival on the session bus (NameOwnerChanged) makes the watcher read the status.
// The thread sleeps in poll on the bus's socket and a pipe that stops it.
#include "platform/hosts/sdl/accessibility.h"

#include "platform/hosts/desktop/library_loading.h"

#include <dbus/dbus.h>

#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

#define DBUS_FUNCTIONS(X)                                                                                   \
    X(dbus_error_init) X(dbus_error_free) X(dbus_connection_open_private) X(dbus_bus_register)              \
    X(dbus_connection_close) X(dbus_connection_unref) X(dbus_connection_set_exit_on_disconnect)              \
    X(dbus_connection_get_unix_fd) X(dbus_connection_read_write) X(dbus_connection_pop_message)              \
    X(dbus_connection_send_with_reply_and_block) X(dbus_bus_add_match) X(dbus_message_new_method_call)       \
    X(dbus_message_set_auto_start) X(dbus_message_append_args) X(dbus_message_unref)                         \
    X(dbus_message_is_signal) X(dbus_message_iter_init) X(dbus_message_iter_next)                            \
    X(dbus_message_iter_recurse) X(dbus_message_iter_get_arg_type) X(dbus_message_iter_get_basic)

struct DbusFunctions {
    DBUS_FUNCTIONS(LOADED_FUNCTION_MEMBER)
};
DbusFunctions table;

constexpr const char* BusName = "org.a11y.Bus";
constexpr const char* BusPath = "/org/a11y/bus";
constexpr const char* StatusInterface = "org.a11y.Status";

std::thread watcher;
int stopPipe[2] = {-1, -1};

// The session bus's address, without starting a bus: the environment's, else the user's bus
// socket when there is one.
std::string SessionBusAddress()
{
    if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return address;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info;
    if (!runtime || !*runtime || stat((std::string(runtime) + "/bus").c_str(), &info) != 0) return std::string();
    return std::string("unix:path=") + runtime + "/bus";
}

struct Status {
    bool enabled = false, screenReader = false;
    bool Wanted() const { return enabled || screenReader; }
};

// Reads IsEnabled and ScreenReaderEnabled out of an a{sv} at `dict`.
void ReadStatusDict(DBusMessageIter* dict, Status* status)
{
    DBusMessageIter entry;
    table.dbus_message_iter_recurse(dict, &entry);
    for (; table.dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_DICT_ENTRY; table.dbus_message_iter_next(&entry)) {
        DBusMessageIter field, variant;
        table.dbus_message_iter_recurse(&entry, &field);
        if (table.dbus_message_iter_get_arg_type(&field) != DBUS_TYPE_STRING) continue;
        const char* name = nullptr;
        table.dbus_message_iter_get_basic(&field, &name);
        table.dbus_message_iter_next(&field);
        if (table.dbus_message_iter_get_arg_type(&field) != DBUS_TYPE_VARIANT) continue;
        table.dbus_message_iter_recurse(&field, &variant);
        if (table.dbus_message_iter_get_arg_type(&variant) != DBUS_TYPE_BOOLEAN) continue;
        dbus_bool_t value = FALSE;
        table.dbus_message_iter_get_basic(&variant, &value);
        if (std::strcmp(name, "IsEnabled") == 0) status->enabled = value;
        if (std::strcmp(name, "ScreenReaderEnabled") == 0) status->screenReader = value;
    }
}

// The status as the accessibility bus tells it now; all off when it is not running.
Status AskStatus(DBusConnection* connection)
{
    Status status;
    DBusMessage* call = table.dbus_message_new_method_call(BusName, BusPath, "org.freedesktop.DBus.Properties", "GetAll");
    if (!call) return status;
    table.dbus_message_set_auto_start(call, FALSE);
    const char* interface = StatusInterface;
    table.dbus_message_append_args(call, DBUS_TYPE_STRING, &interface, DBUS_TYPE_INVALID);
    DBusError error;
    table.dbus_error_init(&error);
    DBusMessage* reply = table.dbus_connection_send_with_reply_and_block(connection, call, 2000, &error);
    table.dbus_message_unref(call);
    table.dbus_error_free(&error);
    if (!reply) return status;
    DBusMessageIter args;
    if (table.dbus_message_iter_init(reply, &args) && table.dbus_message_iter_get_arg_type(&args) == DBUS_TYPE_ARRAY)
        ReadStatusDict(&args, &status);
    table.dbus_message_unref(reply);
    return status;
}

// A signal about the status: its PropertiesChanged (interface name, a{sv}), or the accessibility
// bus's arrival or departure. False for anything else.
bool FollowSignal(DBusConnection* connection, DBusMessage* message, Status* status)
{
    DBusMessageIter args;
    if (table.dbus_message_is_signal(message, "org.freedesktop.DBus", "NameOwnerChanged")) {
        *status = AskStatus(connection);
        return true;
    }
    if (!table.dbus_message_is_signal(message, "org.freedesktop.DBus.Properties", "PropertiesChanged") ||
        !table.dbus_message_iter_init(message, &args) || !table.dbus_message_iter_next(&args) ||
        table.dbus_message_iter_get_arg_type(&args) != DBUS_TYPE_ARRAY)
        return false;
    ReadStatusDict(&args, status);
    return true;
}

void AddMatch(DBusConnection* connection, const char* rule)
{
    DBusError error;
    table.dbus_error_init(&error);
    table.dbus_bus_add_match(connection, rule, &error);
    table.dbus_error_free(&error);
}

void Watch(std::string address, int stopFd)
{
    if (!LoadLibraryFunctions(NUMBRIX_DBUS_LIBRARY, {DBUS_FUNCTIONS(LOADED_FUNCTION_SLOT)})) return;
    DBusError error;
    table.dbus_error_init(&error);
    DBusConnection* connection = table.dbus_connection_open_private(address.c_str(), &error);
    if (connection && !table.dbus_bus_register(connection, &error)) {
        table.dbus_connection_close(connection);
        table.dbus_connection_unref(connection);
        connection = nullptr;
    }
    table.dbus_error_free(&error);
    if (!connection) return;
    table.dbus_connection_set_exit_on_disconnect(connection, FALSE);
    AddMatch(connection, "type='signal',interface='org.freedesktop.DBus.Properties',member='PropertiesChanged',"
                         "path='/org/a11y/bus',arg0='org.a11y.Status'");
    AddMatch(connection, "type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
                         "member='NameOwnerChanged',arg0='org.a11y.Bus'");
    Status status = AskStatus(connection);
    bool wanted = false;
    int busFd = -1;
    table.dbus_connection_get_unix_fd(connection, &busFd);
    for (;;) {
        // Signals that came in with an answer are queued already: they are taken before the wait.
        while (DBusMessage* message = table.dbus_connection_pop_message(connection)) {
            FollowSignal(connection, message, &status);
            table.dbus_message_unref(message);
        }
        if (status.Wanted() != wanted) {
            wanted = status.Wanted();
            SetAccessibilityWanted(wanted);
        }
        pollfd fds[2] = {{busFd, POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents) break;
        if (!table.dbus_connection_read_write(connection, 0)) break;   // the bus went away
    }
    if (wanted) SetAccessibilityWanted(false);
    table.dbus_connection_close(connection);
    table.dbus_connection_unref(connection);
}

}  // namespace

bool BridgeForbidden(const char* noAtBridge)
{
    return noAtBridge && *noAtBridge && std::atoi(noAtBridge) != 0;
}

void StartStatusWatch()
{
    if (watcher.joinable() || BridgeForbidden(std::getenv("NO_AT_BRIDGE"))) return;
    std::string address = SessionBusAddress();
    if (address.empty() || pipe(stopPipe) != 0) return;
    watcher = std::thread(Watch, address, stopPipe[0]);
}

void StopStatusWatch()
{
    if (!watcher.joinable()) return;
    (void)!write(stopPipe[1], "x", 1);
    watcher.join();
    close(stopPipe[0]);
    close(stopPipe[1]);
    stopPipe[0] = stopPipe[1] = -1;
}
