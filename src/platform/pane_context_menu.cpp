#include "platform/pane_context_menu.h"

#include <QMenu>
#include <QWebEnginePage>

namespace {

constexpr QWebEnginePage::WebAction kPlayerActions[] = {
    QWebEnginePage::Back,
    QWebEnginePage::Forward,
    QWebEnginePage::Reload,
    QWebEnginePage::Cut,
    QWebEnginePage::Copy,
    QWebEnginePage::Paste,
    QWebEnginePage::Undo,
    QWebEnginePage::Redo,
    QWebEnginePage::SelectAll,
    QWebEnginePage::CopyLinkToClipboard,
    QWebEnginePage::CopyImageToClipboard,
};

} // namespace

void KeepPlayerActions(QMenu& menu, QWebEnginePage& page) {
    QList<QAction*> wanted;
    for (QWebEnginePage::WebAction action : kPlayerActions)
        wanted.append(page.action(action));
    // The kept actions in their order; a null where a group of them ends.
    QList<QAction*> kept;
    for (QAction* action : menu.actions()) {
        if (action->isSeparator() && !kept.isEmpty() && kept.back() != nullptr)
            kept.append(nullptr);
        else if (wanted.contains(action))
            kept.append(action);
    }
    if (!kept.isEmpty() && kept.back() == nullptr)
        kept.removeLast();
    // The menu's own separators go with it; the page's actions stay the page's.
    menu.clear();
    for (QAction* action : kept) {
        if (action != nullptr)
            menu.addAction(action);
        else
            menu.addSeparator();
    }
}
