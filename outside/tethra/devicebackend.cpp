#include "devicebackend.h"

DeviceBackend::DeviceBackend(QObject *parent)
    : QObject(parent)
{ }

DeviceBackend::~DeviceBackend() = default;

void DeviceBackend::pullImage(const QUrlInfo *, DeviceManager::Mode) { }

void DeviceBackend::setFiles(const QList<QUrlInfo *> &, DeviceManager::Mode) { }
