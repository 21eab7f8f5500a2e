#pragma once

class QWebEngineProfile;

// The one persistent browser profile of the client. It belongs to the application object so
// that every page, owned by the main window, is gone before the profile is deleted.
QWebEngineProfile* SharedWebProfile();
