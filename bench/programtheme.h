#ifndef PROGRAMTHEME_H
#define PROGRAMTHEME_H

/**
 * Applies the program's theme to the whole application, as its main window does before any
 * sub-window exists: every widget of a window, each table label too, is styled through it.
 * Needs the program's resources linked in; without them nothing changes.
 */
void applyProgramTheme();

#endif // PROGRAMTHEME_H
