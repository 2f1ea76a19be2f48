#pragma once

// Installs Qt's own Hungarian texts (menus of text boxes, standard buttons, the command-line
// parser) for the running application, whatever the user's locale, and the two help texts of
// the command-line parser that Qt's translation leaves English. Returns false when Qt's
// translation is missing, and its texts stay English.
bool installQtTranslations();
