#pragma once

// Installs Qt's own Hungarian texts (menus of text boxes, standard buttons, the command-line
// parser) for the running application, whatever the user's locale. Returns false when Qt's
// translation is missing, and the texts stay English.
bool installQtTranslations();
