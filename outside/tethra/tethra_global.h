#ifndef TETHRA_GLOBAL_H
#define TETHRA_GLOBAL_H

#include <QtGlobal>

#if defined(TETHRA_LIBRARY)
#define TETHRA_EXPORT Q_DECL_EXPORT
#else
#define TETHRA_EXPORT Q_DECL_IMPORT
#endif

#endif // TETHRA_GLOBAL_H
