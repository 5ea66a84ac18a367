#ifndef UNITCORE_H
#define UNITCORE_H

#include "baseobject.h"

/** Base class of a device object: something that can be opened and closed as a whole. */
class UNITCORE_EXPORT Unitcore : public BaseObject
{
    Q_OBJECT
public:
    explicit Unitcore(QObject *parent = nullptr);
    ~Unitcore() override;

    /** Opens the device; true when it is usable afterwards. */
    virtual bool open();
    /** Closes the device; harmless when it is not open. */
    virtual void close();
};

#endif // UNITCORE_H
