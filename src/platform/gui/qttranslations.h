// Qt's own texts (standard buttons, context menus, file dialog) in Italian.
#pragma once

class QCoreApplication;

// Installs Qt's Italian translations in `app`, so its standard buttons read as on an Italian
// system whatever the session's language. False, with a diagnostic line, when they are not
// installed: Qt's English texts stay.
bool loadQtTranslations(QCoreApplication& app);
