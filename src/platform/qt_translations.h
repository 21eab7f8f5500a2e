#pragma once

// Qt's own texts (standard buttons, the browser panes' menu) in the interface's language.
// Called once the application object exists.
void LoadQtTranslations();
