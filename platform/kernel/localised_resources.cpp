// The program's resources in the language of the catalogues in use: a copy of the registered
// table whose strings, menus and dialog templates carry the catalogues' texts, made again when
// other catalogues are taken into use. Icons, bitmaps, accelerators and menu-bar definitions hold
// no text and stay the registered ones. Without catalogues the registered table itself is used.
#include "platform/kernel/catalogue_internals.h"
#include "platform/kernel/resource_internals.h"

#include <map>
#include <memory>
#include <vector>

namespace {

// The inner vectors keep their elements where they are when an outer vector grows (a vector moves
// its buffer), so the table may point into them; each outer array is pointed at once it is whole.
struct LocalisedTable {
    unsigned generation;
    std::vector<StringResource> strings;
    std::vector<std::vector<MenuItemTemplate>> menuItems;
    std::vector<std::vector<MenuTemplate>> menuPopups;
    std::vector<MenuResource> menus;
    std::vector<std::vector<DialogItemTemplate>> dialogItems;
    std::vector<DialogTemplate> dialogTemplates;
    std::vector<DialogResource> dialogs;
    ResourceTable table;
};

std::map<const ResourceTable*, std::unique_ptr<LocalisedTable>> localised;

void CopyStrings(const ResourceTable& from, LocalisedTable& to)
{
    for (int i = 0; from.strings && i < from.stringCount; ++i)
        to.strings.push_back({from.strings[i].id, LocalisedResourceText(from.strings[i].text)});
    to.table.strings = to.strings.data();
}

void CopyMenus(const ResourceTable& from, LocalisedTable& to)
{
    for (int m = 0; from.menus && m < from.menuCount; ++m) {
        const MenuResource& menu = from.menus[m];
        std::vector<MenuTemplate>& popups = to.menuPopups.emplace_back();
        for (int p = 0; menu.popups && p < menu.popupCount; ++p) {
            const MenuTemplate& popup = menu.popups[p];
            std::vector<MenuItemTemplate>& items = to.menuItems.emplace_back();
            for (int i = 0; popup.items && i < popup.itemCount; ++i)
                items.push_back({LocalisedResourceText(popup.items[i].text), popup.items[i].command});
            popups.push_back({LocalisedResourceText(popup.popupText), popup.items ? items.data() : nullptr, popup.itemCount});
        }
        to.menus.push_back({menu.id, menu.popups ? popups.data() : nullptr, menu.popupCount});
    }
    to.table.menus = to.menus.data();
}

void CopyDialogs(const ResourceTable& from, LocalisedTable& to)
{
    for (int d = 0; from.dialogs && d < from.dialogCount; ++d) {
        const DialogResource& dialog = from.dialogs[d];
        if (!dialog.dialog) {
            to.dialogs.push_back(dialog);
            continue;
        }
        DialogTemplate copy = *dialog.dialog;
        std::vector<DialogItemTemplate>& items = to.dialogItems.emplace_back();
        for (int i = 0; copy.items && i < copy.itemCount; ++i) {
            items.push_back(copy.items[i]);
            items.back().text = LocalisedResourceText(copy.items[i].text);
        }
        copy.caption = LocalisedResourceText(copy.caption);
        if (copy.items) copy.items = items.data();
        to.dialogTemplates.push_back(copy);
        to.dialogs.push_back({dialog.id, nullptr});
    }
    for (size_t d = 0, t = 0; d < to.dialogs.size(); ++d)
        if (from.dialogs[d].dialog) to.dialogs[d].dialog = &to.dialogTemplates[t++];
    to.table.dialogs = to.dialogs.data();
}

std::unique_ptr<LocalisedTable> Localise(const ResourceTable& from)
{
    auto to = std::make_unique<LocalisedTable>();
    to->generation = CatalogueGeneration();
    to->table = from;
    CopyStrings(from, *to);
    CopyMenus(from, *to);
    CopyDialogs(from, *to);
    return to;
}

}  // namespace

const ResourceTable* LocalisedResources(const ResourceTable* table)
{
    if (!table || !CataloguesInUse()) return table;
    std::unique_ptr<LocalisedTable>& copy = localised[table];
    if (!copy || copy->generation != CatalogueGeneration()) copy = Localise(*table);
    return &copy->table;
}
