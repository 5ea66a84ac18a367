#ifndef PANELET_GLOBAL_H
#define PANELET_GLOBAL_H

#include <QtGlobal>

#if defined(PANELET_LIBRARY)
#define PANELET_EXPORT Q_DECL_EXPORT
#else
#define PANELET_EXPORT Q_DECL_IMPORT
#endif

#endif // PANELET_GLOBAL_H
