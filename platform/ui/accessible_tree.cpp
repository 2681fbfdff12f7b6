// The accessible tree of the emulated screen (accessible_tree.h), read from the window manager,
// the menu bars and the controls as they are now.
#include "platform/accessible_tree.h"

#include "platform/dialogs.h"
#include "platform/ui/controls.h"
#include "platform/ui/menus.h"
#include "platform/user/screen_internals.h"
#include "platform/user/window_internals.h"
#include "platform/windows.h"

#include <string>

namespace {

constexpr DWORD StaticTypeMask = 0x1F;

RECT Moved(RECT r, POINT by)
{
    return RECT{r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y};
}

RECT ScreenRect(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

std::string HandleKey(HWND window)
{
    return std::to_string(reinterpret_cast<uintptr_t>(window));
}

struct TreeBuilder {
    std::vector<AccessibleNode> nodes;

    int Add(int parent, std::string key, AccessibleRole role, std::u16string name, RECT rect)
    {
        AccessibleNode node;
        node.key = parent < 0 ? key : nodes[size_t(parent)].key + "/" + key;
        node.role = role;
        node.name = std::move(name);
        node.rect = rect;
        node.parent = parent;
        nodes.push_back(std::move(node));
        return int(nodes.size()) - 1;
    }

    void AddFace(int frame, HWND window, const AccessibleFace& face)
    {
        POINT origin = WindowClientOrigin(window);
        bool input = WindowInputEnabled(window);
        for (int i = 0; i < face.itemCount(); ++i) {
            AccessibleItem item{};
            face.describeItem(i, &item);
            AccessibleRole role = item.role == AccessibleRadioButton ? AccessibleRole::RadioButton
                                  : item.role == AccessiblePushButton ? AccessibleRole::PushButton
                                                                      : AccessibleRole::Label;
            int node = Add(frame, "face" + std::to_string(i), role, item.name, Moved(item.rect, origin));
            AccessibleNode& n = nodes[size_t(node)];
            n.description = item.description;
            n.hasAction = role != AccessibleRole::Label;
            n.enabled = role == AccessibleRole::Label || (item.enabled && input);
            n.checked = role == AccessibleRole::RadioButton && item.checked;
            n.target = window;
            n.item = WPARAM(i);
        }
    }

    void AddMenuBar(int frame, HWND bar)
    {
        POINT origin = WindowClientOrigin(bar);
        bool input = WindowInputEnabled(WindowOwner(bar));
        int barNode = Add(frame, "menubar", AccessibleRole::MenuBar, u"", ScreenRect(bar));
        int index = 0;
        for (const MenuBarButtonView& button : MenuBarButtons(bar)) {
            bool sendsCommand = button.items.empty();
            int node = Add(barNode, std::to_string(index++), sendsCommand ? AccessibleRole::MenuItem : AccessibleRole::Menu,
                           button.label, Moved(button.rect, origin));
            nodes[size_t(node)].enabled = button.enabled && input;
            if (sendsCommand) SetAction(node, bar, button.command);
            for (const PopupItem& entry : button.items) {
                if (entry.separator) continue;
                // The pop-up is not open, so its items have no place on the screen.
                AccessibleRole role = entry.checkable ? AccessibleRole::CheckMenuItem : AccessibleRole::MenuItem;
                int item = Add(node, std::to_string(entry.command), role, entry.text, RECT{});
                nodes[size_t(item)].checked = entry.checked;
                nodes[size_t(item)].enabled = button.enabled && input;
                SetAction(item, bar, entry.command);
            }
        }
    }

    void SetAction(int node, HWND target, WPARAM item)
    {
        nodes[size_t(node)].hasAction = true;
        nodes[size_t(node)].target = target;
        nodes[size_t(node)].item = item;
    }

    void AddListEntries(int list, HWND window)
    {
        int selected = -1;
        std::vector<std::u16string> entries = ListBoxEntries(window, &selected);
        for (size_t i = 0; i < entries.size(); ++i) {
            int node = Add(list, std::to_string(i), AccessibleRole::ListItem, entries[i], RECT{});
            nodes[size_t(node)].selected = int(i) == selected;
            SetAction(node, window, WPARAM(i));
        }
    }

    // The title bar's OK button, shown while the dialog is the active window.
    void AddTitleBarOk(int dialog, HWND window)
    {
        int node = Add(dialog, "ok", AccessibleRole::PushButton, u"OK", TitleBarOkButtonRect());
        nodes[size_t(node)].enabled = WindowInputEnabled(window) && ActiveWindow() == window;
        SetAction(node, window, IDOK);
    }

    void AddControls(int dialog, HWND window)
    {
        bool input = WindowInputEnabled(window);
        int index = 0;
        for (HWND child : ChildWindows(window)) {
            if (!WindowShown(child)) continue;
            std::u16string className = WindowClassName(child);
            std::string key = std::to_string(index++);
            if (className == u"BUTTON") {
                int node = Add(dialog, key, AccessibleRole::PushButton, WindowTitle(child), ScreenRect(child));
                nodes[size_t(node)].enabled = input;
                SetAction(node, child, 0);
            } else if (className == u"LISTBOX") {
                int node = Add(dialog, key, AccessibleRole::List, u"", ScreenRect(child));
                AddListEntries(node, child);
            } else if (className == u"STATIC") {
                DWORD type = WindowStyle(child) & StaticTypeMask;
                if (type == SS_ICON || type == SS_BITMAP) continue;   // pictures say nothing
                Add(dialog, key, AccessibleRole::Label, StaticShownText(child), ScreenRect(child));
            }
        }
    }
};

}  // namespace

std::vector<AccessibleNode> DescribeScreen(const std::u16string& applicationName)
{
    TreeBuilder tree;
    tree.Add(-1, "app", AccessibleRole::Application, applicationName, RECT{});
    HWND main = MainTopLevelWindow();
    for (HWND window : TopLevelWindows()) {
        if (!WindowShown(window)) continue;
        if (window == main) {
            int frame = tree.Add(0, "main", AccessibleRole::Frame, WindowTitle(window), ScreenRect(window));
            tree.nodes[size_t(frame)].active = window == ActiveWindow();
            if (const AccessibleFace* face = WindowAccessibleFace(window)) tree.AddFace(frame, window, *face);
            if (HWND bar = MenuBarOf(window)) tree.AddMenuBar(frame, bar);
        } else if (WindowClassName(window) == u"#32770") {
            AccessibleRole role = WindowIsAlert(window) ? AccessibleRole::Alert : AccessibleRole::Dialog;
            int dialog = tree.Add(0, "window" + HandleKey(window), role, WindowTitle(window), ScreenRect(window));
            tree.nodes[size_t(dialog)].active = window == ActiveWindow();
            tree.AddControls(dialog, window);
            if (TitleBarOkButton(window)) tree.AddTitleBarOk(dialog, window);
        }
    }
    return tree.nodes;
}
