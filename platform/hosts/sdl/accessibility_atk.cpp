// The ATK side of the SDL host's accessibility (accessibility.h): one GObject type of accessible
// object, derived from AtkObject with the Component and Action interfaces, whose instances mirror
// the nodes of the tree that the loop's thread last published; the toolkit's AtkUtil (the root
// and the global event listeners the bridge asks for); and the thread that runs GLib's main loop
// for the bridge. Everything here but PublishAccessibleTree, AccessibilityOn, StartAccessibility,
// StopAccessibility and SetAccessibilityWanted runs on that thread. GLib, GObject, ATK and the
// bridge are loaded the first time the status asks for them, and stay loaded.
#include "platform/hosts/sdl/accessibility.h"

#include "platform/host.h"
#include "platform/hosts/desktop/library_loading.h"
#include "platform/hosts/desktop/worker_messages.h"
#include "platform/unicode.h"

#include <atk-bridge.h>
#include <atk/atk.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace {

#define GLIB_FUNCTIONS(X) X(g_main_loop_new) X(g_main_loop_run) X(g_main_loop_quit) X(g_main_loop_unref) X(g_idle_add)
#define GOBJECT_FUNCTIONS(X)                                                                                \
    X(g_type_register_static_simple) X(g_type_add_interface_static) X(g_type_class_ref) X(g_type_from_name) \
    X(g_object_new) X(g_object_ref) X(g_object_unref) X(g_signal_lookup) X(g_signal_add_emission_hook)       \
    X(g_signal_remove_emission_hook) X(g_signal_emit_by_name)
#define ATK_FUNCTIONS(X)                                                                                   \
    X(atk_object_get_type) X(atk_component_get_type) X(atk_action_get_type) X(atk_window_get_type)         \
    X(atk_util_get_type)             \
    X(atk_object_set_name) X(atk_object_set_description) X(atk_object_set_role) X(atk_object_set_parent)     \
    X(atk_object_notify_state_change) X(atk_state_set_new) X(atk_state_set_add_state)
#define BRIDGE_FUNCTIONS(X) X(atk_bridge_adaptor_init) X(atk_bridge_adaptor_cleanup)

struct Functions {
    GLIB_FUNCTIONS(LOADED_FUNCTION_MEMBER)
    GOBJECT_FUNCTIONS(LOADED_FUNCTION_MEMBER)
    ATK_FUNCTIONS(LOADED_FUNCTION_MEMBER)
    BRIDGE_FUNCTIONS(LOADED_FUNCTION_MEMBER)
};
Functions table;

bool LoadLibraries()
{
    static int loaded = -1;
    if (loaded < 0)
        loaded = LoadLibraryFunctions(NUMBRIX_GLIB_LIBRARY, {GLIB_FUNCTIONS(LOADED_FUNCTION_SLOT)}) &&
                 LoadLibraryFunctions(NUMBRIX_GOBJECT_LIBRARY, {GOBJECT_FUNCTIONS(LOADED_FUNCTION_SLOT)}) &&
                 LoadLibraryFunctions(NUMBRIX_ATK_LIBRARY, {ATK_FUNCTIONS(LOADED_FUNCTION_SLOT)}) &&
                 LoadLibraryFunctions(NUMBRIX_ATK_BRIDGE_LIBRARY, {BRIDGE_FUNCTIONS(LOADED_FUNCTION_SLOT)});
    return loaded == 1;
}

// ---- Shared between the loop's thread, the watcher and the ATK thread ----

std::mutex sharedLock;
std::condition_variable published;
std::vector<AccessibleNode> sharedNodes;
HostPlacement sharedPlacement;
uint64_t sharedActionsDone = 0;
uint64_t sharedGeneration = 0;   // counts the trees published
bool updateQueued = false;       // an idle call on the ATK thread will take the tree
std::atomic<bool> serving{false};
std::thread atkThread;
GMainLoop* mainLoop = nullptr;   // set and cleared by the ATK thread, under the lock
bool stopAsked = false;          // the ATK thread is to end, or not to start serving
bool wantedNow = false;          // the watcher's last word; the watcher's thread only

// How long an action waits for the loop to have handled it, and the first tree to arrive.
constexpr auto ActionWait = std::chrono::milliseconds(1000);
constexpr auto FirstTreeWait = std::chrono::milliseconds(2000);

// ---- The mirror, on the ATK thread ----

struct Entry {
    AccessibleNode node;
    AtkObject* object = nullptr;
    Entry* parent = nullptr;
    int indexInParent = 0;
    std::vector<Entry*> children;
};

struct Accessible {
    AtkObject parent;
    Entry* entry;
};

std::map<std::string, std::unique_ptr<Entry>> entries;
Entry* root = nullptr;
HostPlacement placement;
uint64_t appliedGeneration = 0;
uint64_t actionsDone = 0;
uint64_t nextTicket = 0;
GType accessibleType = 0;

Entry* EntryOf(gpointer object)
{
    return object ? static_cast<Accessible*>(object)->entry : nullptr;
}

AtkRole AtkRoleOf(AccessibleRole role)
{
    switch (role) {
    case AccessibleRole::Application: return ATK_ROLE_APPLICATION;
    case AccessibleRole::Frame: return ATK_ROLE_FRAME;
    case AccessibleRole::Dialog: return ATK_ROLE_DIALOG;
    case AccessibleRole::Alert: return ATK_ROLE_ALERT;
    case AccessibleRole::Label: return ATK_ROLE_LABEL;
    case AccessibleRole::PushButton: return ATK_ROLE_PUSH_BUTTON;
    case AccessibleRole::RadioButton: return ATK_ROLE_RADIO_BUTTON;
    case AccessibleRole::MenuBar: return ATK_ROLE_MENU_BAR;
    case AccessibleRole::Menu: return ATK_ROLE_MENU;
    case AccessibleRole::MenuItem: return ATK_ROLE_MENU_ITEM;
    case AccessibleRole::CheckMenuItem: return ATK_ROLE_CHECK_MENU_ITEM;
    case AccessibleRole::List: return ATK_ROLE_LIST;
    case AccessibleRole::ListItem: return ATK_ROLE_LIST_ITEM;
    }
    return ATK_ROLE_UNKNOWN;
}

bool Checkable(AccessibleRole role)
{
    return role == AccessibleRole::RadioButton || role == AccessibleRole::CheckMenuItem;
}

// ---- AtkObject ----

gint GetChildCount(AtkObject* object)
{
    Entry* entry = EntryOf(object);
    return entry ? gint(entry->children.size()) : 0;
}

AtkObject* RefChild(AtkObject* object, gint index)
{
    Entry* entry = EntryOf(object);
    if (!entry || index < 0 || size_t(index) >= entry->children.size()) return nullptr;
    AtkObject* child = entry->children[size_t(index)]->object;
    (table.g_object_ref)(child);   // the function: GLib's macro of the name adds a cast
    return child;
}

gint GetIndexInParent(AtkObject* object)
{
    Entry* entry = EntryOf(object);
    return entry && entry->parent ? entry->indexInParent : -1;
}

AtkStateSet* RefStateSet(AtkObject* object)
{
    AtkStateSet* states = table.atk_state_set_new();
    Entry* entry = EntryOf(object);
    if (!entry) {
        table.atk_state_set_add_state(states, ATK_STATE_DEFUNCT);
        return states;
    }
    const AccessibleNode& node = entry->node;
    table.atk_state_set_add_state(states, ATK_STATE_VISIBLE);
    // A menu's items show only while its pop-up is open, which a screen reader never sees open.
    if (!entry->parent || entry->parent->node.role != AccessibleRole::Menu)
        table.atk_state_set_add_state(states, ATK_STATE_SHOWING);
    if (node.enabled) {
        table.atk_state_set_add_state(states, ATK_STATE_ENABLED);
        table.atk_state_set_add_state(states, ATK_STATE_SENSITIVE);
    }
    if (Checkable(node.role)) table.atk_state_set_add_state(states, ATK_STATE_CHECKABLE);
    if (node.checked) table.atk_state_set_add_state(states, ATK_STATE_CHECKED);
    if (node.role == AccessibleRole::ListItem) table.atk_state_set_add_state(states, ATK_STATE_SELECTABLE);
    if (node.selected) table.atk_state_set_add_state(states, ATK_STATE_SELECTED);
    if (node.active) table.atk_state_set_add_state(states, ATK_STATE_ACTIVE);
    return states;
}

// ---- Component: the node's rectangle at the host window's scale ----

void WindowExtents(const Entry& entry, gint* x, gint* y, gint* width, gint* height)
{
    const RECT& r = entry.node.rect;
    *x = placement.viewX + int(r.left) * placement.scale;
    *y = placement.viewY + int(r.top) * placement.scale;
    *width = int(r.right - r.left) * placement.scale;
    *height = int(r.bottom - r.top) * placement.scale;
}

void GetExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height, AtkCoordType coordinates)
{
    gint ignored;
    x = x ? x : &ignored, y = y ? y : &ignored, width = width ? width : &ignored, height = height ? height : &ignored;
    *x = *y = *width = *height = 0;
    Entry* entry = EntryOf(component);
    if (!entry || entry->node.role == AccessibleRole::Application) return;
    WindowExtents(*entry, x, y, width, height);
    if (coordinates == ATK_XY_SCREEN) {
        *x += placement.windowX;
        *y += placement.windowY;
    } else if (coordinates == ATK_XY_PARENT && entry->parent && entry->parent != root) {
        gint px, py, pw, ph;
        WindowExtents(*entry->parent, &px, &py, &pw, &ph);
        *x -= px;
        *y -= py;
    }
}

// ---- Action: one action, which goes to the loop as a tap would ----

void ApplyPublishedTree();

gint GetActionCount(AtkAction* action)
{
    Entry* entry = EntryOf(action);
    return entry && entry->node.hasAction ? 1 : 0;
}

const gchar* GetActionName(AtkAction* action, gint index)
{
    Entry* entry = EntryOf(action);
    if (!entry || !entry->node.hasAction || index != 0) return nullptr;
    switch (entry->node.role) {
    case AccessibleRole::MenuItem:
    case AccessibleRole::CheckMenuItem:
    case AccessibleRole::ListItem: return "click";
    default: return "press";
    }
}

// Posts the action and waits until the loop has handled it and published the tree after it, which
// is then taken at once: the caller reads the state the action made.
gboolean DoAction(AtkAction* action, gint index)
{
    Entry* entry = EntryOf(action);
    if (!entry || !entry->node.hasAction || index != 0 || !entry->node.enabled) return FALSE;
    uint64_t ticket = ++nextTicket;
    PostMessagesFromWorker({MSG{entry->node.target, WM_ACCESSIBLEACTION, entry->node.item, LPARAM(ticket), 0, {}}});
    {
        std::unique_lock<std::mutex> hold(sharedLock);
        published.wait_for(hold, ActionWait, [ticket] { return sharedActionsDone >= ticket; });
    }
    ApplyPublishedTree();
    return TRUE;
}

// ---- The type ----

void ClassInit(gpointer klass, gpointer)
{
    auto* objectClass = static_cast<AtkObjectClass*>(klass);
    objectClass->get_n_children = GetChildCount;
    objectClass->ref_child = RefChild;
    objectClass->get_index_in_parent = GetIndexInParent;
    objectClass->ref_state_set = RefStateSet;
}

void ComponentInit(gpointer iface, gpointer)
{
    static_cast<AtkComponentIface*>(iface)->get_extents = GetExtents;
}

void ActionInit(gpointer iface, gpointer)
{
    auto* actionIface = static_cast<AtkActionIface*>(iface);
    actionIface->do_action = DoAction;
    actionIface->get_n_actions = GetActionCount;
    actionIface->get_name = GetActionName;
    actionIface->get_localized_name = GetActionName;
}

// ---- The toolkit's AtkUtil: the root, and the signals the bridge listens to ----

AtkObject* GetRoot()
{
    return root ? root->object : nullptr;
}

const gchar* ToolkitName()
{
    return "Numbrix";
}

const gchar* ToolkitVersion()
{
    return "1";
}

struct EventListener {
    guint signal;
    gulong hook;
};
std::map<guint, EventListener> listeners;
guint nextListener = 0;

// "Gtk:AtkObject:property-change": an emission hook on the signal of the type (or interface) named
// in the middle part. Window events ("window:activate") have no signal here.
guint AddGlobalEventListener(GSignalEmissionHook listener, const gchar* eventType)
{
    std::string event = eventType ? eventType : "";
    size_t first = event.find(':');
    size_t second = first == std::string::npos ? first : event.find(':', first + 1);
    if (second == std::string::npos) return 0;
    GType type = table.g_type_from_name(event.substr(first + 1, second - first - 1).c_str());
    guint signal = type ? table.g_signal_lookup(event.substr(second + 1).c_str(), type) : 0;
    if (!signal) return 0;
    gulong hook = table.g_signal_add_emission_hook(signal, 0, listener, nullptr, nullptr);
    listeners[++nextListener] = EventListener{signal, hook};
    return nextListener;
}

void RemoveGlobalEventListener(guint id)
{
    auto it = listeners.find(id);
    if (it == listeners.end()) return;
    table.g_signal_remove_emission_hook(it->second.signal, it->second.hook);
    listeners.erase(it);
}

void RegisterTypes()
{
    if (accessibleType) return;
    accessibleType = table.g_type_register_static_simple(table.atk_object_get_type(), "NumbrixAccessible",
                                                         sizeof(AtkObjectClass), ClassInit, sizeof(Accessible),
                                                         nullptr, GTypeFlags(0));
    const GInterfaceInfo component{ComponentInit, nullptr, nullptr};
    const GInterfaceInfo actions{ActionInit, nullptr, nullptr};
    table.g_type_add_interface_static(accessibleType, table.atk_component_get_type(), &component);
    table.g_type_add_interface_static(accessibleType, table.atk_action_get_type(), &actions);
    // Window has only signals: frames, dialogs and alerts send its activate and deactivate.
    const GInterfaceInfo window{nullptr, nullptr, nullptr};
    table.g_type_add_interface_static(accessibleType, table.atk_window_get_type(), &window);
    auto* util = static_cast<AtkUtilClass*>(table.g_type_class_ref(table.atk_util_get_type()));
    util->get_root = GetRoot;
    util->get_toolkit_name = ToolkitName;
    util->get_toolkit_version = ToolkitVersion;
    util->add_global_event_listener = AddGlobalEventListener;
    util->remove_global_event_listener = RemoveGlobalEventListener;
}

// ---- Taking a new tree: reuse the objects of the same keys, tell the bridge what changed ----

void SetText(AtkObject* object, void (*set)(AtkObject*, const gchar*), const std::u16string& text)
{
    set(object, Utf8FromUtf16(text).c_str());
}

void NotifyState(AtkObject* object, AtkStateType state, bool before, bool now)
{
    if (before != now) table.atk_object_notify_state_change(object, state, now);
}

void ApplyTree(const std::vector<AccessibleNode>& nodes)
{
    std::map<std::string, std::unique_ptr<Entry>> next;
    std::map<Entry*, AccessibleNode> before;                  // what the kept entries were
    std::map<Entry*, std::vector<Entry*>> childrenBefore;
    std::vector<Entry*> order;
    for (const AccessibleNode& node : nodes) {
        auto old = entries.find(node.key);
        std::unique_ptr<Entry> entry;
        if (old != entries.end()) {
            entry = std::move(old->second);
            entries.erase(old);
            before[entry.get()] = entry->node;
            childrenBefore[entry.get()] = entry->children;
        } else {
            entry = std::make_unique<Entry>();
            entry->object = static_cast<AtkObject*>(table.g_object_new(accessibleType, nullptr));
            static_cast<Accessible*>(static_cast<void*>(entry->object))->entry = entry.get();
        }
        entry->node = node;
        entry->children.clear();
        order.push_back(entry.get());
        next[node.key] = std::move(entry);
    }
    for (Entry* entry : order) {
        int parent = entry->node.parent;
        entry->parent = parent >= 0 ? order[size_t(parent)] : nullptr;
        if (entry->parent) {
            entry->indexInParent = int(entry->parent->children.size());
            entry->parent->children.push_back(entry);
        }
    }
    // What is gone first: its object is defunct and leaves its parent.
    for (auto& [key, gone] : entries) {
        Accessible* object = static_cast<Accessible*>(static_cast<void*>(gone->object));
        object->entry = nullptr;
        table.atk_object_notify_state_change(gone->object, ATK_STATE_DEFUNCT, TRUE);
    }
    root = order.empty() ? nullptr : order[0];
    std::vector<AtkObject*> activated, deactivated;   // told once the tree around them is told
    for (Entry* entry : order) {
        AtkObject* object = entry->object;
        auto was = before.find(entry);
        if (was == before.end()) {
            table.atk_object_set_role(object, AtkRoleOf(entry->node.role));
            SetText(object, table.atk_object_set_name, entry->node.name);
            SetText(object, table.atk_object_set_description, entry->node.description);
            if (entry->parent) table.atk_object_set_parent(object, entry->parent->object);
            if (entry->node.active) activated.push_back(object);
            continue;
        }
        const AccessibleNode& old = was->second;
        if (old.name != entry->node.name) SetText(object, table.atk_object_set_name, entry->node.name);
        if (old.description != entry->node.description)
            SetText(object, table.atk_object_set_description, entry->node.description);
        NotifyState(object, ATK_STATE_ENABLED, old.enabled, entry->node.enabled);
        NotifyState(object, ATK_STATE_SENSITIVE, old.enabled, entry->node.enabled);
        NotifyState(object, ATK_STATE_CHECKED, old.checked, entry->node.checked);
        NotifyState(object, ATK_STATE_SELECTED, old.selected, entry->node.selected);
        NotifyState(object, ATK_STATE_ACTIVE, old.active, entry->node.active);
        if (old.active != entry->node.active) (entry->node.active ? activated : deactivated).push_back(object);
    }
    // Children that came or went, for every parent that was there before.
    for (auto& [parent, children] : childrenBefore) {
        if (children == parent->children) continue;
        for (size_t i = 0; i < children.size(); ++i) {
            bool kept = false;
            for (Entry* child : parent->children) kept = kept || child == children[i];
            if (!kept) {
                AtkObject* object = nullptr;
                for (auto& [key, gone] : entries)
                    if (gone.get() == children[i]) object = gone->object;
                if (object) table.g_signal_emit_by_name(parent->object, "children-changed::remove", guint(i), object);
            }
        }
        for (Entry* child : parent->children) {
            bool known = false;
            for (Entry* old : children) known = known || old == child;
            if (!known)
                table.g_signal_emit_by_name(parent->object, "children-changed::add", guint(child->indexInParent),
                                            child->object);
        }
    }
    for (AtkObject* object : deactivated) table.g_signal_emit_by_name(object, "deactivate");
    for (AtkObject* object : activated) table.g_signal_emit_by_name(object, "activate");
    for (auto& [key, gone] : entries) table.g_object_unref(gone->object);
    entries = std::move(next);
}

// Takes the tree last published, when it is newer than the one taken.
void ApplyPublishedTree()
{
    std::vector<AccessibleNode> nodes;
    {
        std::lock_guard<std::mutex> hold(sharedLock);
        updateQueued = false;
        if (sharedGeneration == appliedGeneration) return;
        appliedGeneration = sharedGeneration;
        nodes = sharedNodes;
        placement = sharedPlacement;
        actionsDone = sharedActionsDone;
    }
    ApplyTree(nodes);
}

gboolean ApplyPublishedTreeWhenIdle(gpointer)
{
    ApplyPublishedTree();
    return FALSE;
}

gboolean QuitWhenIdle(gpointer)
{
    table.g_main_loop_quit(mainLoop);
    return FALSE;
}

void ForgetTree()
{
    for (auto& [key, entry] : entries) {
        static_cast<Accessible*>(static_cast<void*>(entry->object))->entry = nullptr;
        table.g_object_unref(entry->object);
    }
    entries.clear();
    root = nullptr;
    appliedGeneration = 0;
}

// The ATK thread: asks the loop's thread for its tree, mirrors it, starts the bridge, and serves
// it until it is asked to quit.
void ServeTree()
{
    RegisterTypes();
    GMainLoop* loop = table.g_main_loop_new(nullptr, FALSE);
    {
        std::unique_lock<std::mutex> hold(sharedLock);
        if (stopAsked) {
            table.g_main_loop_unref(loop);
            return;
        }
        mainLoop = loop;
        sharedGeneration = 0;
        serving = true;
        HostWake();
        published.wait_for(hold, FirstTreeWait, [] { return sharedGeneration > 0 || stopAsked; });
    }
    ApplyPublishedTree();
    table.atk_bridge_adaptor_init(nullptr, nullptr);
    table.g_main_loop_run(loop);
    table.atk_bridge_adaptor_cleanup();
    {
        std::lock_guard<std::mutex> hold(sharedLock);
        serving = false;
        mainLoop = nullptr;
        updateQueued = false;
    }
    ForgetTree();
    table.g_main_loop_unref(loop);
}

// The loop quits at its first idle moment (also when it has not started running yet); a thread
// that has not made its loop yet does not start serving.
void StopServing()
{
    {
        std::lock_guard<std::mutex> hold(sharedLock);
        stopAsked = true;
        if (mainLoop) table.g_idle_add(QuitWhenIdle, nullptr);
        published.notify_all();
    }
    if (atkThread.joinable()) atkThread.join();
    std::lock_guard<std::mutex> hold(sharedLock);
    stopAsked = false;
}

}  // namespace

void SetAccessibilityWanted(bool wanted)
{
    if (wanted == wantedNow) return;
    wantedNow = wanted;
    if (!wanted) {
        StopServing();
        return;
    }
    if (atkThread.joinable()) atkThread.join();
    if (!LoadLibraries()) return;
    atkThread = std::thread(ServeTree);
}

bool AccessibilityOn()
{
    return serving;
}

void PublishAccessibleTree(std::vector<AccessibleNode> nodes, const HostPlacement& where, uint64_t done)
{
    std::lock_guard<std::mutex> hold(sharedLock);
    if (!serving) return;
    if (sharedGeneration > 0 && nodes == sharedNodes && where == sharedPlacement && done == sharedActionsDone) return;
    sharedNodes = std::move(nodes);
    sharedPlacement = where;
    sharedActionsDone = done;
    ++sharedGeneration;
    published.notify_all();
    if (!updateQueued && mainLoop) {
        updateQueued = true;
        table.g_idle_add(ApplyPublishedTreeWhenIdle, nullptr);
    }
}

void StartAccessibility()
{
    StartStatusWatch();
}

void StopAccessibility()
{
    StopStatusWatch();   // switches the tree off on its way out
    StopServing();
    wantedNow = false;
}
