#pragma once
// Answers the control's pop-up menus from a script: records what each menu
// offered (texts, status tips, sub-menus) and takes the item named next.
#include <QAction>
#include <QMenu>
#include <QString>

#include <deque>
#include <vector>

#include "control/ControlMenus.h"

namespace controltest {

struct OfferedItem {
    QString text; // empty for a separator
    QString status;
    std::vector<OfferedItem> submenu;
};

inline std::vector<OfferedItem> offered(const QMenu& menu)
{
    std::vector<OfferedItem> out;
    for (QAction* a : menu.actions()) {
        OfferedItem item{a->isSeparator() ? QString() : a->text(), a->statusTip(), {}};
        if (a->menu())
            item.submenu = offered(*a->menu());
        out.push_back(std::move(item));
    }
    return out;
}

inline QAction* findAction(const QMenu& menu, const QString& text)
{
    for (QAction* a : menu.actions()) {
        if (a->menu()) {
            if (QAction* inner = findAction(*a->menu(), text))
                return inner;
        } else if (!a->isSeparator() && a->text() == text) {
            return a;
        }
    }
    return nullptr;
}

inline QStringList texts(const std::vector<OfferedItem>& items)
{
    QStringList out;
    for (const auto& i : items)
        out << i.text;
    return out;
}

// Installed for the scope; every menu shown takes the next pick (an empty
// pick, or none left, dismisses it).
class MenuScript {
public:
    MenuScript()
    {
        lumigra::setMenuChooser([this](QMenu& menu) -> QAction* {
            shown.push_back(offered(menu));
            if (picks.empty())
                return nullptr;
            const QString pick = picks.front();
            picks.pop_front();
            return pick.isEmpty() ? nullptr : findAction(menu, pick);
        });
    }
    ~MenuScript() { lumigra::setMenuChooser(nullptr); }
    MenuScript(const MenuScript&) = delete;
    MenuScript& operator=(const MenuScript&) = delete;

    std::deque<QString> picks;
    std::vector<std::vector<OfferedItem>> shown;
};

} // namespace controltest
