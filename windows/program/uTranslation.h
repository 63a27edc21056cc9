#pragma once
// The texts the toolkit draws itself (the edit boxes' and spin boxes' context
// menus, the folder list's column headers, the buttons of a message box) in
// Russian, as the rest of the program, whatever the user's locale.

// Loads the toolkit's Russian translations into the application, once.
// False when they are not installed: the toolkit's texts stay English.
bool InstallQtTranslations();
