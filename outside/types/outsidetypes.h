#ifndef OUTSIDETYPES_H
#define OUTSIDETYPES_H

#include "outsidetypes_global.h"

/**
 * Registers the shared types that travel through queued connections (modes, options, video
 * parameters, picture records and lists). Safe to call any number of times.
 */
OUTSIDETYPES_EXPORT void registerOutsideMetaTypes();

#endif // OUTSIDETYPES_H
