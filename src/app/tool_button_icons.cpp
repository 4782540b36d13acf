#include "app/tool_button_icons.h"

#include <QString>
#include <initializer_list>

namespace tabulo::app {

namespace {

struct ButtonIcons {
    std::string_view button;
    // Standard names first; later names cover themes that lack them.
    std::initializer_list<const char*> names;
};

const ButtonIcons kIcons[] = {
    {"_New1", {"document-new"}},
    {"_Open1", {"document-open"}},
    {"_SaveAs", {"document-save-as"}},
    {"_Print1", {"document-print"}},
    {"_Find1", {"edit-find-replace", "edit-find"}},
    {"_Undo", {"edit-undo"}},
    {"_Redo", {"edit-redo"}},
    {"_Wrap1", {"text-wrap", "format-justify-left"}},
    {"_Bullets1", {"format-indent-more"}},
    {"SpeedButton6", {"preferences-desktop-font"}},
    {"_SelectAll1", {"edit-select-all"}},
    {"ToCrip", {"edit-copy"}},
    {"Clip2Text", {"edit-paste"}},
    {"_AddReturn", {"format-justify-fill"}},
    {"_DelNullLine", {"edit-table-delete-row", "list-remove"}},
    {"_DelLine", {"format-remove-node", "edit-delete"}},
    {"_DelSpaceRL", {"zoom-fit-width", "edit-clear"}},
    {"_AddString", {"insert-text"}},
    {"_mAwk", {"application-x-awk", "text-x-script"}},
    {"_mRuby", {"application-x-ruby", "text-x-script"}},
    {"_mSed", {"application-x-shellscript", "text-x-script"}},
    {"_mXtr", {"text-x-script"}},
    {"_Sort", {"view-sort-ascending"}},
    {"_SortR", {"view-sort-descending"}},
    {"_Grep", {"system-search", "edit-find"}},
    {"_Namazu", {"find-location", "system-search"}},
    {"_TagJump", {"go-jump"}},
    {"_fn0", {"office-chart-line", "applications-science"}},
    {"_SetFile", {"configure", "preferences-system"}},
};

}  // namespace

QIcon toolButtonIcon(std::string_view buttonName) {
    for (const ButtonIcons& entry : kIcons) {
        if (entry.button != buttonName) continue;
        for (const char* name : entry.names) {
            const QString themeName = QString::fromLatin1(name);
            if (QIcon::hasThemeIcon(themeName)) return QIcon::fromTheme(themeName);
        }
    }
    return {};
}

}  // namespace tabulo::app
