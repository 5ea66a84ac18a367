#ifndef BASEOBJECT_H
#define BASEOBJECT_H

#include "unitcore_global.h"

#include <QObject>

/** The QObject root of the device objects. */
class UNITCORE_EXPORT BaseObject : public QObject
{
    Q_OBJECT
public:
    explicit BaseObject(QObject *parent = nullptr);
    ~BaseObject() override;
};

#endif // BASEOBJECT_H
