#pragma once

class QCoreApplication;

// Qt's own texts (context menus, the file and print dialogs) in Czech like the rest of the
// program, whatever the system's language: Qt's Czech translations as the system installed them.
// Shared by the timing program and the results viewer.
void loadQtTranslations(QCoreApplication& app);
