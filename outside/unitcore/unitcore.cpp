#include "unitcore.h"

Unitcore::Unitcore(QObject *parent)
    : BaseObject(parent)
{
}

Unitcore::~Unitcore() = default;

bool Unitcore::open()
{
    return false;
}

void Unitcore::close()
{
}
