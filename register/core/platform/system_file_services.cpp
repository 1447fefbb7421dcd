// The program's file services: the system's, over the system's platform.
#include "core/platform/file_services.h"
#include "core/platform/platform.h"

namespace ombriel {

FileServices& SystemFileServices() {
    static const std::unique_ptr<FileServices> services = MakeFileServices(SystemPlatform());
    return *services;
}

FileServices& CopyingFileServices() {
    static const std::unique_ptr<FileServices> services = MakeFileServices(SystemPlatform(), true);
    return *services;
}

} // namespace ombriel
