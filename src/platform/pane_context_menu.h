#pragma once

class QMenu;
class QWebEnginePage;

// Leaves in a pane's standard context menu what a player has use for: moving about the
// catalogue, copying, and editing a search field. Saving, the page's source and the developer
// tools belong to a browser, not to a games client.
void KeepPlayerActions(QMenu& menu, QWebEnginePage& page);
